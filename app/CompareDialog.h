#pragma once

#include "core/CNBDateTime.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QDateTimeEdit;

// Graph > Compare With...: which earlier period to set the report against.
// OK runs the caller's check, which answers a message for a choice it
// refuses; the dialog then stays open with the choice as it was.
class CompareDialog : public QDialog {
  Q_OBJECT
public:
  using Check = std::function<QString(int shift, const CNBDateTime& chosenStart)>;

  explicit CompareDialog(QWidget* parent = nullptr);

  // Opens on this choice; `dateOnly` for the day types, whose start moves
  // by whole days.
  void prepare(int shift, const CNBDateTime& chosenStart, bool dateOnly);
  void setCheck(Check check) { m_check = std::move(check); }
  int shift() const;
  CNBDateTime chosenStart() const;

  void accept() override;

private:
  QButtonGroup* m_choices = nullptr;
  QDateTimeEdit* m_start = nullptr;
  Check m_check;
};

// The shift chosen last, kept in a settings group of its own.
namespace CompareChoice {
int load();
void save(int shift);
}  // namespace CompareChoice
