#pragma once

#include "query/ProgressDialog.h"
#include "query/SeriesStore.h"
#include "server/Blocks.h"

// The progress dialog of Time Window Summary requests: one frequency profile
// per ticked statistic, then the port's threshold table.
class CTWSGetDataDialog : public ProgressDialog {
  Q_OBJECT
public:
  explicit CTWSGetDataDialog(QWidget* parent = nullptr);

  const SeriesStore& result() const { return m_result; }
  // The table read after the series, whatever their result; valid only when
  // hasThresholdTable().
  bool hasThresholdTable() const { return m_tableOk; }
  const ThresholdTable& thresholdTable() const { return m_table; }
  int thresholdEntries() const { return m_entries; }

protected:
  void prepareFetch() override;
  int fetch() override;
  QString progressText(int step, int steps) const override;

private:
  SeriesStore m_result;
  ThresholdTable m_table{};
  int m_entries = 0;
  bool m_tableOk = false;
};
