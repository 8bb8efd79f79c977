#include "query/CTWSGetDataDialog.h"

#include "resources/Strings.h"

CTWSGetDataDialog::CTWSGetDataDialog(QWidget* parent) : ProgressDialog(Strings::IDS_UI_PROGRESS_STATISTIC, parent) {
  setObjectName(QStringLiteral("summaryProgress"));
}
