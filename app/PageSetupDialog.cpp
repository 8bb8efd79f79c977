#include "app/PageSetupDialog.h"

#include "resources/Strings.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}
QString withoutMnemonic(QString s) {
  return s.remove(QLatin1Char('&'));
}

// Refuses an edit that would make the text longer than the settings keep.
class Utf8LengthValidator : public QValidator {
public:
  Utf8LengthValidator(int maxBytes, QObject* parent) : QValidator(parent), m_maxBytes(maxBytes) {}
  State validate(QString& input, int&) const override {
    return input.toUtf8().size() <= m_maxBytes ? Acceptable : Invalid;
  }

private:
  int m_maxBytes;
};

}  // namespace

PageSetupDialog::PageSetupDialog(const QString& reportText, QWidget* parent) : QDialog(parent) {
  setWindowTitle(text(Strings::IDS_UI_PAGE_SETUP_TITLE));
  setAccessibleName(windowTitle());

  auto* label = new QLabel(text(Strings::IDS_UI_REPORT_TEXT_LABEL), this);
  m_text = new QLineEdit(this);
  m_text->setMaxLength(kMaxBytes);
  m_text->setText(reportText);
  m_text->setValidator(new Utf8LengthValidator(kMaxBytes, m_text));
  m_text->setMinimumWidth(m_text->fontMetrics().averageCharWidth() * 48);
  m_text->setAccessibleName(withoutMnemonic(label->text()));
  label->setBuddy(m_text);

  auto* hint = new QLabel(text(Strings::IDS_UI_REPORT_TEXT_HINT), this);
  hint->setWordWrap(true);
  hint->setForegroundRole(QPalette::PlaceholderText);  // the muted look of a note
  hint->setAccessibleName(hint->text());

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(text(Strings::IDS_UI_OK));
  buttons->button(QDialogButtonBox::Cancel)->setText(text(Strings::IDS_UI_CANCEL));
  for (QAbstractButton* b : buttons->buttons()) b->setAccessibleName(b->text());
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(m_text);
  layout->addWidget(hint);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString PageSetupDialog::reportText() const {
  return m_text->text();
}

std::optional<QString> PageSetupDialog::edit(QWidget* parent, const QString& reportText) {
  PageSetupDialog dialog(reportText, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.reportText();
}
