#include "views/CPropsDlg3D.h"

#include "core/Prompts.h"
#include "core/StartupSettings.h"
#include "query/GraphType.h"
#include "resources/Strings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>

#include <functional>

namespace {

// The spins step through the result's frequency list and the range band,
// not by a fixed amount, so stepping is handed to the dialog's rules.
class ListSpin : public QDoubleSpinBox {
public:
  using QDoubleSpinBox::QDoubleSpinBox;
  std::function<void(int)> onStep;
  void stepBy(int steps) override {
    if (onStep) onStep(steps);
  }

protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

class RangeSpin : public QSpinBox {
public:
  using QSpinBox::QSpinBox;
  std::function<void(int)> onStep;
  void stepBy(int steps) override {
    if (onStep) onStep(steps);
  }

protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

QString str(int id) {
  return Strings::LoadString(id);
}

QString plain(QString label) {
  return label.remove(QLatin1Char('&')).trimmed();
}

QComboBox* levelCombo(QWidget* parent, const char* name) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QLatin1String(name));
  for (int id : {Strings::IDS_UI_STEP_10, Strings::IDS_UI_STEP_5, Strings::IDS_UI_STEP_2})
    combo->addItem(str(id));
  return combo;
}

}  // namespace

CPropsDlg3D::CPropsDlg3D(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("propsDlg"));
  auto* frequencies = new QGroupBox(str(Strings::IDS_UI_FREQUENCIES_GROUP), this);
  m_amplitude = new QGroupBox(str(Strings::IDS_UI_AMPLITUDE_GROUP), this);
  m_amplitude->setObjectName(QStringLiteral("group1380"));

  auto makeEdit = [this](QWidget* owner, const char* name, int& index) {
    auto* edit = new ListSpin(owner);
    edit->setObjectName(QLatin1String(name));
    edit->setDecimals(3);
    edit->setRange(0.0, 100000.0);
    edit->setKeyboardTracking(false);
    edit->onStep = [this, edit, &index](int steps) { spinFrequency(edit, index, steps); };
    connect(edit, &QAbstractSpinBox::editingFinished, this, [this, edit, &index] { snap(edit, index); });
    return edit;
  };
  m_start = makeEdit(frequencies, "edit1001", m_startIndex);
  m_stop = makeEdit(frequencies, "edit1002", m_stopIndex);
  m_startLabel = new QLabel(frequencies);
  m_stopLabel = new QLabel(frequencies);
  m_startLabel->setBuddy(m_start);
  m_stopLabel->setBuddy(m_stop);
  auto* fl = new QGridLayout(frequencies);
  fl->addWidget(m_startLabel, 0, 0);
  fl->addWidget(m_start, 0, 1);
  fl->addWidget(m_stopLabel, 1, 0);
  fl->addWidget(m_stop, 1, 1);

  auto* range = new RangeSpin(m_amplitude);
  range->setObjectName(QStringLiteral("edit1007"));
  range->setRange(0, 999);
  range->onStep = [this, range](int steps) {
    // An up arrow is a negative notification, which widens the range.
    range->setValue(GraphPropsRules::spinRange(range->value(), -steps, m_source.minimumRange));
  };
  m_range = range;
  m_scale = levelCombo(m_amplitude, "combo1373");
  m_step = levelCombo(m_amplitude, "combo1014");
  m_rangeLabel = new QLabel(m_amplitude);
  m_stepLabel = new QLabel(m_amplitude);
  m_stepLabel->setBuddy(m_step);
  auto* al = new QGridLayout(m_amplitude);
  // The range (3D) and the scale (2D) share a cell, so the one shown lines
  // up with the step combo below it.
  al->addWidget(m_rangeLabel, 0, 0);
  al->addWidget(m_range, 0, 1);
  al->addWidget(m_scale, 0, 1);
  al->addWidget(m_stepLabel, 1, 0);
  al->addWidget(m_step, 1, 1);

  auto* buttons =
      new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CPropsDlg3D::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, &CPropsDlg3D::helpRequested);
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  connect(f1, &QShortcut::activated, this, &CPropsDlg3D::helpRequested);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));

  auto* top = new QGridLayout(this);
  top->addWidget(frequencies, 0, 0);
  top->addWidget(m_amplitude, 0, 1);
  top->addWidget(buttons, 1, 0, 1, 2);
}

void CPropsDlg3D::prepare(int graphType, bool percent, bool levelTraceDrawn, const ViewSettingsSource& source,
                          int referenceStep) {
  m_graphType = graphType;
  m_source = source;
  m_layout = GraphPropsRules::layoutFor(graphType, percent, levelTraceDrawn);
  setWindowTitle(m_layout.title);
  m_amplitude->setTitle(m_layout.amplitudeGroup);
  m_startLabel->setText(m_layout.startLabel);
  m_stopLabel->setText(m_layout.stopLabel);
  m_rangeLabel->setText(m_layout.rangeLabel);
  m_stepLabel->setText(m_layout.stepLabel);
  m_rangeLabel->setBuddy(m_layout.rangeShown ? static_cast<QWidget*>(m_range) : m_scale);

  // A screen reader names each control by its label, which changes with the report.
  m_start->setAccessibleName(plain(m_layout.startLabel));
  m_stop->setAccessibleName(plain(m_layout.stopLabel));
  m_range->setAccessibleName(plain(m_layout.rangeLabel));
  m_scale->setAccessibleName(plain(m_layout.rangeLabel));
  m_step->setAccessibleName(plain(m_layout.stepLabel));

  m_start->setEnabled(m_layout.startEnabled);
  m_stop->setVisible(m_layout.stopShown);
  m_start->setButtonSymbols(m_layout.spinsShown ? QAbstractSpinBox::UpDownArrows
                                                : QAbstractSpinBox::NoButtons);
  m_stop->setButtonSymbols(m_layout.spinsShown ? QAbstractSpinBox::UpDownArrows
                                               : QAbstractSpinBox::NoButtons);
  m_range->setVisible(m_layout.rangeShown);
  m_range->setEnabled(m_layout.rangeShown);
  m_scale->setVisible(m_layout.scaleShown);
  m_scale->setEnabled(m_layout.scaleShown && m_layout.levelsEnabled);
  m_step->setEnabled(m_layout.levelsEnabled);
  m_step->setCurrentIndex(ReferenceStep::toIndex(referenceStep));
  m_scale->setCurrentIndex(m_scaleItem);
  m_result = {};

  const int decimals = GraphPropsRules::decimalsFor(
      m_layout.checkFrequencies ? source.frequencies : QVector<double>{source.singleFrequency});
  m_start->setDecimals(decimals);
  m_stop->setDecimals(decimals);
  if (m_layout.checkFrequencies) {
    m_startIndex = GraphPropsRules::nearestIndex(source.frequencies, source.startFrequency);
    m_stopIndex = GraphPropsRules::nearestIndex(source.frequencies, source.stopFrequency);
    m_start->setValue(source.frequencies.value(m_startIndex, source.startFrequency));
    m_stop->setValue(source.frequencies.value(m_stopIndex, source.stopFrequency));
  } else {
    m_start->setValue(source.singleFrequency);
  }
  m_range->setValue(source.range);
  // The window remembers the control a cancelled opening left focused.
  for (QWidget* control : std::initializer_list<QWidget*>{m_start, m_stop, m_range, m_scale, m_step})
    if (!control->isHidden() && control->isEnabled()) {
      control->setFocus();
      break;
    }
}

int CPropsDlg3D::stepItem() const {
  return m_step->currentIndex();
}

void CPropsDlg3D::snap(QDoubleSpinBox* edit, int& index) {
  if (!m_layout.checkFrequencies || m_source.frequencies.isEmpty()) return;
  index = GraphPropsRules::nearestIndex(m_source.frequencies, edit->value());
  const QSignalBlocker quiet(edit);
  edit->setValue(m_source.frequencies[index]);
}

void CPropsDlg3D::spinFrequency(QDoubleSpinBox* edit, int& index, int steps) {
  if (!m_layout.spinsShown || m_source.frequencies.isEmpty()) return;
  if (edit == m_start) snap(edit, index);
  index = GraphPropsRules::spinIndex(index, -steps, static_cast<int>(m_source.frequencies.size()));
  const QSignalBlocker quiet(edit);
  edit->setValue(m_source.frequencies[index]);
}

void CPropsDlg3D::refuse(GraphPropsRules::Refusal refusal) {
  QDoubleSpinBox* edit = refusal == GraphPropsRules::Refusal::StartOutOfRange ? m_start : m_stop;
  Prompts::current().message(this, GraphPropsRules::refusalText(refusal));
  edit->setFocus();
  edit->selectAll();
}

void CPropsDlg3D::accept() {
  if (auto* ok = findChild<QPushButton*>(QStringLiteral("okButton"))) ok->setFocus();
  // Focus may not move (an inactive window), so the edits snap here as they
  // would on losing it.
  snap(m_start, m_startIndex);
  snap(m_stop, m_stopIndex);
  m_range->interpretText();

  ViewSettings s;
  // The edits show the list frequencies rounded; the report gets them whole.
  const bool listed = m_layout.checkFrequencies && !m_source.frequencies.isEmpty();
  s.startFrequency = listed ? m_source.frequencies[m_startIndex] : m_start->value();
  s.stopFrequency = listed ? m_source.frequencies[m_stopIndex] : m_stop->value();
  if (m_layout.checkFrequencies) {
    const double lowest = m_source.frequencies.isEmpty() ? s.startFrequency : m_source.frequencies.front();
    const double highest = m_source.frequencies.isEmpty() ? s.stopFrequency : m_source.frequencies.back();
    const auto refusal =
        GraphPropsRules::checkFrequencies(s.startFrequency, s.stopFrequency, lowest, highest);
    if (refusal != GraphPropsRules::Refusal::None) return refuse(refusal);
  }
  s.range = GraphPropsRules::clampRange(m_range->value());
  // Both combos list 10, 5, 2, the order of the stored step index.
  s.referenceStep = ReferenceStep::fromIndex(m_step->currentIndex());
  s.scale = ReferenceStep::fromIndex(m_scale->currentIndex());
  m_scaleItem = m_scale->currentIndex();
  m_result = s;
  QDialog::accept();
}
