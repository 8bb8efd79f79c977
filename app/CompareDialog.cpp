#include "app/CompareDialog.h"

#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "query/CompareWindow.h"
#include "resources/Strings.h"

#include <QButtonGroup>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QString text(int id) {
  return Strings::LoadString(id);
}
}  // namespace

CompareDialog::CompareDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("compareDialog"));
  setWindowTitle(text(Strings::IDS_UI_COMPARE_TITLE));
  auto* root = new QVBoxLayout(this);
  m_choices = new QButtonGroup(this);
  const int labels[] = {Strings::IDS_UI_COMPARE_PREVIOUS, Strings::IDS_UI_COMPARE_ONE_DAY,
                        Strings::IDS_UI_COMPARE_SEVEN_DAYS, Strings::IDS_UI_COMPARE_CHOSEN};
  m_start = new QDateTimeEdit(this);
  m_start->setObjectName(QStringLiteral("compareStart"));
  m_start->setCalendarPopup(true);
  for (int i = 0; i < CompareWindow::kShiftCount; ++i) {
    auto* choice = new QRadioButton(text(labels[i]), this);
    choice->setObjectName(QStringLiteral("compareShift%1").arg(i));
    m_choices->addButton(choice, i);
    if (i == CompareWindow::kChosenStart) {
      auto* row = new QHBoxLayout;
      row->addWidget(choice);
      row->addWidget(m_start, 1);
      root->addLayout(row);
      m_start->setAccessibleName(choice->text().remove(QLatin1Char('&')));
    } else {
      root->addWidget(choice);
    }
  }
  connect(m_choices, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (id == CompareWindow::kChosenStart) m_start->setEnabled(on);
  });
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(text(Strings::IDS_UI_OK), QDialogButtonBox::AcceptRole);
  buttons->addButton(text(Strings::IDS_UI_CANCEL), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &CompareDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CompareDialog::reject);
  root->addWidget(buttons);
}

void CompareDialog::prepare(int shift, const CNBDateTime& chosenStart, bool dateOnly) {
  if (shift < 0 || shift >= CompareWindow::kShiftCount) shift = CompareWindow::kPreviousPeriod;
  m_start->setDisplayFormat(dateOnly ? QStringLiteral("d MMM yyyy") : QStringLiteral("d MMM yyyy HH:mm"));
  m_start->setDateTime(chosenStart.toLocal());
  m_choices->button(shift)->setChecked(true);
  m_start->setEnabled(shift == CompareWindow::kChosenStart);
}

int CompareDialog::shift() const {
  return std::max(0, m_choices->checkedId());
}

CNBDateTime CompareDialog::chosenStart() const {
  const QDateTime t = m_start->dateTime();
  return CNBDateTime::FromLocal(t.date(), QTime(t.time().hour(), t.time().minute()));
}

void CompareDialog::accept() {
  if (m_check) {
    const QString refused = m_check(shift(), chosenStart());
    if (!refused.isEmpty()) {
      Prompts::current().message(this, refused);
      return;
    }
  }
  QDialog::accept();
}

namespace CompareChoice {

int load() {
  SettingsStore store;
  const auto v =
      store.sectionKey(text(Strings::IDS_COMPARE_SECTION)).readDword(text(Strings::IDS_COMPARE_SHIFT_KEY));
  return v && *v >= 0 && *v < CompareWindow::kShiftCount ? *v : CompareWindow::kPreviousPeriod;
}

void save(int shift) {
  SettingsStore store;
  RegistryKey key = store.sectionKey(text(Strings::IDS_COMPARE_SECTION));
  key.writeDword(text(Strings::IDS_COMPARE_SHIFT_KEY), shift);
  store.sync();
}

}  // namespace CompareChoice
