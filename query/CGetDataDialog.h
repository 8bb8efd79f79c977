#pragma once

#include "query/ProgressDialog.h"
#include "query/RibbonSet.h"

// The progress dialog of Time Window Detail, 24 Hour, Multi-Day and Multi-Day
// Time Window requests: fetches one ribbon per time step or per day.
class CGetDataDialog : public ProgressDialog {
  Q_OBJECT
public:
  explicit CGetDataDialog(int graphType, QWidget* parent = nullptr);

  int graphType() const { return m_graphType; }
  // The worker's answer; complete only after a successful fetch.
  const RibbonSet& result() const { return m_result; }
  RibbonSet takeResult() { return std::move(m_result); }

protected:
  void prepareFetch() override;
  int fetch() override;

private:
  int m_graphType;
  RibbonSet m_result;
};
