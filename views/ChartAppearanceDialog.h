#pragma once

#include "chart/AppearanceField.h"

#include <QDialog>

#include <functional>

// The chart's own property pages: one tab per page of the fields, one
// control per field. Every change is written into the field's record at
// once and `preview` runs, so the chart shows it live; the caller restores
// the record it copied when the user cancels.
class ChartAppearanceDialog : public QDialog {
  Q_OBJECT
public:
  ChartAppearanceDialog(const AppearanceFields& fields, std::function<void()> preview, QWidget* parent = nullptr);

  // The pages in the order of their first field.
  QStringList pages() const;

private:
  QWidget* controlFor(const AppearanceField& field, QWidget* page);
  void changed();

  std::function<void()> m_preview;
  QStringList m_pages;
};

// Runs the dialog over a record: `apply` shows a record on the chart.
// OK keeps the edited record; Cancel puts the record and the chart back as
// they were. True when the user pressed OK.
template <class Record>
bool editAppearance(QWidget* parent, Record& record, const std::function<void(const Record&)>& apply) {
  const Record original = record;
  ChartAppearanceDialog dialog(record.fields(), [&] { apply(record); }, parent);
  if (dialog.exec() == QDialog::Accepted) return true;
  record = original;
  apply(record);
  return false;
}
