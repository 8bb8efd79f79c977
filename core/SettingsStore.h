#pragma once

#include "core/RegistryKey.h"

#include <QSettings>
#include <QString>
#include <memory>

// The program's one settings store: the per-user profile (in registry terms
// the key "Orlane Quillon\All Versions" of the vendor; an INI file in the
// user's config folder) and the machine-wide keys that the monitoring system's
// installation writes (read only). Writes go through QSettings, which replaces
// the file atomically on sync, so an interrupted write leaves the old or the
// new file, never a torn one.
class SettingsStore {
public:
  // The application's settings of the default vendor and application.
  SettingsStore();
  // Another vendor/application pair (the carry-over opens the application key
  // from the names it is given).
  SettingsStore(const QString& vendor, const QString& application);
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // Names of the profile, from the string table.
  static QString vendorName();       // "Veltrix"
  static QString applicationName();  // "Orlane Quillon"
  static QString versionKeyName();   // "All Versions"
  // "Orlane Quillon\All Versions": the application name and the version key.
  static QString profileName();

  // The application key: its sub-keys are the version keys.
  RegistryKey applicationKey();
  // The current version key.
  RegistryKey profileKey();
  // A section of the profile, e.g. "Settings".
  RegistryKey sectionKey(const QString& section);

  // A machine-wide text such as ("SOFTWARE\Veltrix\PM\Client",
  // "NembraClientDir"). Key and value names are matched case-insensitively;
  // a missing key or value reads as empty text. At most 255 bytes.
  static QString machineText(const QString& keyPath, const QString& valueName);
  // The file those keys are read from (an INI file in the first system
  // configuration folder, `XDG_CONFIG_DIRS` or /etc/xdg).
  static QString machineFile();

  // Writes pending changes now (QSettings also does this on destruction).
  void sync();
  QSettings& userSettings() { return *m_user; }

private:
  std::unique_ptr<QSettings> m_user;
};
