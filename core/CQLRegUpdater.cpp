#include "core/CQLRegUpdater.h"

CQLRegUpdater::CQLRegUpdater(const QString& profileName, const QString& vendorKey)
    : CRegUpdater(profileName, vendorKey),
      m_oldVersions{QStringLiteral("v1"), QStringLiteral("v1.1")} {}

bool CQLRegUpdater::IsKnownOldVersion(const QString& name) const {
  return m_oldVersions.contains(name, Qt::CaseInsensitive);
}
