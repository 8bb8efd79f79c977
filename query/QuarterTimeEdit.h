#pragma once

#include <QTimeEdit>

// A time field whose minute spins in quarter hours (:00, :15, :30, :45)
// without carrying into the hour. A spin steps from the minute the field
// remembers (the one shown when the dialog opened, then each spin's result),
// so a typed minute only gives the direction. Typed minutes are left as
// typed; the dialog rounds them when the field loses focus.
class QuarterTimeEdit : public QTimeEdit {
  Q_OBJECT
public:
  explicit QuarterTimeEdit(QWidget* parent = nullptr);

  void stepBy(int steps) override;
  // The shown minute becomes the one the next spin steps from.
  void rememberShownMinute() { m_previousMinute = time().minute(); }

protected:
  StepEnabled stepEnabled() const override;

private:
  int m_previousMinute = 0;
};
