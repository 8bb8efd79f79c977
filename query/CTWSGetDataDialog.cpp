#include "query/CTWSGetDataDialog.h"

#include "query/SeriesFetch.h"
#include "query/ThresholdFetch.h"
#include "resources/Strings.h"
#include "server/INembraDataServer.h"

CTWSGetDataDialog::CTWSGetDataDialog(QWidget* parent) : ProgressDialog(parent) {
  setObjectName(QStringLiteral("summaryProgress"));
}

void CTWSGetDataDialog::prepareFetch() {
  m_result.clear();
  m_tableOk = false;
  m_entries = 0;
  m_query.graphType = TimeWindowSummary;
}

int CTWSGetDataDialog::fetch() {
  const std::shared_ptr<INembraDataServer> data = takeDataServer();
  const int ok = data ? SeriesFetch{}.run(*data, m_query, m_flags, *this, m_pacing, m_result) : 0;
  // The threshold lines are the port's, not the request's: they are read
  // whatever became of the series.
  if (m_target.objects) {
    const HRESULT r = ThresholdFetch{}.run(*m_target.objects, m_target.dataClass, m_target.node, m_target.token,
                                          m_table, &m_entries);
    m_tableOk = r == hr::S_OK;
    if (!m_tableOk) reportServerError(r, Strings::IDS_CTX_REQUEST_FAILED);
  }
  return ok;
}

QString CTWSGetDataDialog::progressText(int step, int steps) const {
  return Strings::LoadString(Strings::IDS_UI_PROGRESS_STATISTIC).arg(step).arg(steps);
}
