#pragma once

#include <QDoubleSpinBox>

// The single-frequency field (MHz) with its spin. It keeps the value it is
// given to the last digit. Each notch moves the value by 0.005 MHz within
// the frequency range the launcher gave; typing is not limited to that
// range, so the dialog's check can name the range on OK.
class FrequencyEdit : public QDoubleSpinBox {
  Q_OBJECT
public:
  explicit FrequencyEdit(QWidget* parent = nullptr);

  // The range the spin keeps to (both 0.0 until a launcher sets one).
  void setSpinRange(double lower, double upper);
  void stepBy(int steps) override;
  // As many decimals as the value needs to read back unchanged, at least 3.
  QString textFromValue(double value) const override;

protected:
  StepEnabled stepEnabled() const override;

private:
  double m_lower = 0.0;
  double m_upper = 0.0;
};
