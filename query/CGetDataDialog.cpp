#include "query/CGetDataDialog.h"

#include "query/RibbonFetch.h"
#include "server/INembraDataServer.h"

CGetDataDialog::CGetDataDialog(int graphType, QWidget* parent) : ProgressDialog(parent), m_graphType(graphType) {
  setObjectName(QStringLiteral("ribbonProgress%1").arg(graphType));
}

void CGetDataDialog::prepareFetch() {
  // The previous answer's buffers go before the next fetch starts.
  m_result.clear();
  m_query.graphType = m_graphType;
}

int CGetDataDialog::fetch() {
  const std::shared_ptr<INembraDataServer> data = takeDataServer();
  if (!data) return 0;
  return RibbonFetch{}.run(*data, m_query, m_flags, *this, m_pacing, m_result);
}
