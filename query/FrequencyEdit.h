#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// The single-frequency field (MHz) with its spin: each notch moves the value
// by 0.005 MHz within the frequency range the launcher gave. The text stays
// free so the user may type any value; the dialog checks it on OK.
class FrequencyEdit : public QWidget {
  Q_OBJECT
public:
  explicit FrequencyEdit(QWidget* parent = nullptr);

  void setRange(double lower, double upper);
  // The typed frequency; NaN when the text is not a number.
  double value() const;
  void setValue(double mhz);
  // One spin notch in the spin position's sense: -1 raises the frequency.
  void stepBy(int delta);

  QLineEdit* lineEdit() const { return m_edit; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QLineEdit* m_edit;
  QToolButton* m_up;
  QToolButton* m_down;
  double m_lower = 0.0;
  double m_upper = 0.0;
};
