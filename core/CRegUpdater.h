#pragma once

#include "core/RegistryKey.h"

#include <QString>
#include <memory>

class SettingsStore;

// Carries the settings of an earlier release into the current version key,
// once: on the first run after an upgrade the older release's whole tree is
// copied, and from then on the current key exists and nothing is copied.
class CRegUpdater {
public:
  // `profileName` is "<application>\<version key>"; `vendorKey` the vendor.
  CRegUpdater(const QString& profileName, const QString& vendorKey);
  virtual ~CRegUpdater();
  CRegUpdater(const CRegUpdater&) = delete;
  CRegUpdater& operator=(const CRegUpdater&) = delete;

  // Whether `name` is a version key of a release this updater knows.
  virtual bool IsKnownOldVersion(const QString& name) const;
  // Copies the found source into the current version key if needed; true when
  // nothing had to be copied or the copy succeeded.
  virtual bool Update();

  bool isReady() const { return m_ready; }
  const QString& sourceVersion() const { return m_sourceVersion; }

protected:
  bool m_ready = false;
  std::unique_ptr<SettingsStore> m_store;  // the open application key
  RegistryKey m_appKey;
  QString m_currentVersion;
  QString m_sourceVersion;  // empty when there is nothing to copy from
};
