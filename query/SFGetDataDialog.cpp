#include "query/SFGetDataDialog.h"

#include "resources/Strings.h"

SFGetDataDialog::SFGetDataDialog(QWidget* parent) : ProgressDialog(Strings::IDS_UI_PROGRESS_STATISTIC, parent) {
  setObjectName(QStringLiteral("frequencyProgress"));
}
