#pragma once

#include <QTimeEdit>

// A time field whose minute spins in quarter hours (:00, :15, :30, :45)
// without carrying into the hour. Typed minutes are left as typed; the dialog
// rounds them when the field loses focus.
class QuarterTimeEdit : public QTimeEdit {
  Q_OBJECT
public:
  explicit QuarterTimeEdit(QWidget* parent = nullptr);

  void stepBy(int steps) override;

protected:
  StepEnabled stepEnabled() const override;
};
