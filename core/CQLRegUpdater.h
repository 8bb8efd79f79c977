#pragma once

#include "core/CRegUpdater.h"

#include <QStringList>

// The updater of this program: it also knows the version keys of the oldest
// releases ("v1", "v1.1"), whose layout is too different to be carried over.
class CQLRegUpdater : public CRegUpdater {
public:
  CQLRegUpdater(const QString& profileName, const QString& vendorKey);

  bool IsKnownOldVersion(const QString& name) const override;

private:
  QStringList m_oldVersions;
};
