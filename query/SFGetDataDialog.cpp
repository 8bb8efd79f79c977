#include "query/SFGetDataDialog.h"

#include "query/SeriesFetch.h"
#include "resources/Strings.h"
#include "server/INembraDataServer.h"

SFGetDataDialog::SFGetDataDialog(QWidget* parent) : ProgressDialog(parent) {
  setObjectName(QStringLiteral("frequencyProgress"));
}

void SFGetDataDialog::prepareFetch() {
  m_result.clear();
  m_query.graphType = OneFreqTimeWindow;
}

int SFGetDataDialog::fetch() {
  const std::shared_ptr<INembraDataServer> data = takeDataServer();
  if (!data) return 0;
  return SeriesFetch{}.run(*data, m_query, m_flags, *this, m_pacing, m_result);
}

QString SFGetDataDialog::progressText(int step, int steps) const {
  return Strings::LoadString(Strings::IDS_UI_PROGRESS_STATISTIC).arg(step).arg(steps);
}
