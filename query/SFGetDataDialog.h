#pragma once

#include "query/ProgressDialog.h"
#include "query/SeriesStore.h"

// The progress dialog of One Frequency Time Window requests: one time series
// at the request's frequency per ticked statistic.
class SFGetDataDialog : public ProgressDialog {
  Q_OBJECT
public:
  explicit SFGetDataDialog(QWidget* parent = nullptr);

  const SeriesStore& result() const { return m_result; }

protected:
  void prepareFetch() override;
  int fetch() override;
  QString progressText(int step, int steps) const override;

private:
  SeriesStore m_result;
};
