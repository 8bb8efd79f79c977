#include "query/CGetDataDialog.h"

#include "resources/Strings.h"

CGetDataDialog::CGetDataDialog(int graphType, QWidget* parent)
    : ProgressDialog(Strings::IDS_UI_PROGRESS_BLOCK, parent) {
  setObjectName(QStringLiteral("ribbonProgress%1").arg(graphType));
}
