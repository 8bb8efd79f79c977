#include "views/ChartAppearanceDialog.h"

#include "core/ColorRef.h"
#include "resources/Strings.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

void showSwatch(QPushButton* button, int ref) {
  const QColor colour = colorFromRef(static_cast<uint32_t>(ref));
  QPixmap swatch(32, 14);
  swatch.fill(colour);
  button->setIcon(QIcon(swatch));
  button->setText(colour.name(QColor::HexRgb));
}

}  // namespace

ChartAppearanceDialog::ChartAppearanceDialog(const AppearanceFields& fields, std::function<void()> preview,
                                             QWidget* parent)
    : QDialog(parent), m_preview(std::move(preview)) {
  setObjectName(QStringLiteral("chartAppearance"));
  setWindowTitle(Strings::LoadString(Strings::IDS_UI_APPEARANCE_TITLE));
  auto* tabs = new QTabWidget(this);
  QHash<QString, QFormLayout*> forms;
  for (const AppearanceField& field : fields) {
    QFormLayout* form = forms.value(field.page);
    if (!form) {
      auto* page = new QWidget(tabs);
      form = new QFormLayout(page);
      forms.insert(field.page, form);
      tabs->addTab(page, field.page);
      m_pages << field.page;
    }
    form->addRow(field.label, controlFor(field, form->parentWidget()));
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
  // The tab widget's own hint leaves the tab bar to scroll; opened wide enough
  // for every page's name, the pages need no scroll arrows.
  const QMargins around = layout->contentsMargins();
  const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tabs);
  const int allTabs = tabs->tabBar()->sizeHint().width() + frame + around.left() + around.right();
  const QSize hint = sizeHint();
  resize(std::max(hint.width(), allTabs), hint.height());
}

QStringList ChartAppearanceDialog::pages() const {
  return m_pages;
}

void ChartAppearanceDialog::changed() {
  if (m_preview) m_preview();
}

QWidget* ChartAppearanceDialog::controlFor(const AppearanceField& field, QWidget* page) {
  int* value = field.value;
  switch (field.kind) {
    case AppearanceField::Kind::Colour: {
      auto* button = new QPushButton(page);
      if (value) showSwatch(button, *value);
      connect(button, &QPushButton::clicked, this, [this, button, value, title = field.label] {
        if (!value) return;
        const QColor chosen =
            QColorDialog::getColor(colorFromRef(static_cast<uint32_t>(*value)), this, title);
        if (!chosen.isValid()) return;
        *value = static_cast<int>(refFromColor(chosen));
        showSwatch(button, *value);
        changed();
      });
      return button;
    }
    case AppearanceField::Kind::Number: {
      auto* spin = new QSpinBox(page);
      spin->setRange(field.minimum, field.maximum);
      if (value) spin->setValue(*value);
      connect(spin, &QSpinBox::valueChanged, this, [this, value](int v) {
        if (value) *value = v;
        changed();
      });
      return spin;
    }
    case AppearanceField::Kind::Choice: {
      auto* combo = new QComboBox(page);
      combo->addItems(field.choices);
      if (value) combo->setCurrentIndex(*value);
      connect(combo, &QComboBox::currentIndexChanged, this, [this, value](int i) {
        if (value && i >= 0) *value = i;
        changed();
      });
      return combo;
    }
    case AppearanceField::Kind::Flag: {
      auto* box = new QCheckBox(page);
      if (value) box->setChecked(*value != 0);
      connect(box, &QCheckBox::toggled, this, [this, value](bool on) {
        if (value) *value = on ? 1 : 0;
        changed();
      });
      return box;
    }
    case AppearanceField::Kind::Text: {
      auto* edit = new QLineEdit(page);
      QString* text = field.text;
      if (text) edit->setText(*text);
      connect(edit, &QLineEdit::textEdited, this, [this, text](const QString& t) {
        if (text) *text = t;
        changed();
      });
      return edit;
    }
  }
  return new QWidget(page);
}
