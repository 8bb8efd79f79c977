#include "query/QuarterTimeEdit.h"

#include "query/NewGraphRules.h"

QuarterTimeEdit::QuarterTimeEdit(QWidget* parent) : QTimeEdit(parent) {
  setWrapping(true);
  setCurrentSection(QDateTimeEdit::MinuteSection);
}

void QuarterTimeEdit::stepBy(int steps) {
  if (currentSection() != QDateTimeEdit::MinuteSection || steps == 0) {
    QTimeEdit::stepBy(steps);
    return;
  }
  const QTime t = time();
  int shown = t.minute();
  // Each notch is one quarter; a spin by several notches repeats the step.
  for (int i = 0; i < std::abs(steps); ++i) {
    const int spun = ((shown + (steps > 0 ? 1 : -1)) % 60 + 60) % 60;
    m_previousMinute = NewGraphRules::quarterStep(m_previousMinute, spun);
    shown = m_previousMinute;
  }
  setTime(QTime(t.hour(), shown));
}

QAbstractSpinBox::StepEnabled QuarterTimeEdit::stepEnabled() const {
  if (!isEnabled() || isReadOnly()) return StepNone;
  return StepUpEnabled | StepDownEnabled;
}
