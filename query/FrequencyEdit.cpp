#include "query/FrequencyEdit.h"

#include "query/NewGraphRules.h"

#include <limits>

namespace {
// Wide enough for any frequency someone might type; the dialog's check, not
// the editor, tells the user the valid range.
constexpr double kTypingLimit = 1.0e6;
}  // namespace

FrequencyEdit::FrequencyEdit(QWidget* parent) : QDoubleSpinBox(parent) {
  // The spin box rounds every value to its decimals; given all of them, a
  // launcher's 55.0625 MHz reaches the server and the range check unchanged.
  setDecimals(std::numeric_limits<double>::max_exponent10 + std::numeric_limits<double>::digits10);
  setRange(-kTypingLimit, kTypingLimit);
  setSingleStep(NewGraphRules::kFrequencyStep);
  setKeyboardTracking(false);
  setLocale(QLocale::c());  // the same decimal point as the range message
}

void FrequencyEdit::setSpinRange(double lower, double upper) {
  m_lower = lower;
  m_upper = upper;
}

void FrequencyEdit::stepBy(int steps) {
  interpretText();
  // The rule counts in spin positions, which fall as the arrow goes up.
  setValue(NewGraphRules::stepFrequency(value(), -steps, m_lower, m_upper));
}

QString FrequencyEdit::textFromValue(double value) const {
  return NewGraphRules::frequencyText(value);
}

QAbstractSpinBox::StepEnabled FrequencyEdit::stepEnabled() const {
  if (!isEnabled() || isReadOnly()) return StepNone;
  return StepUpEnabled | StepDownEnabled;
}
