#include "core/SettingsStore.h"

#include "resources/Strings.h"

namespace {

// Machine-wide registry paths start with this prefix; the rest of the path is
// the group path inside the vendor's "PM" settings file.
constexpr auto kMachinePrefix = "SOFTWARE\\Veltrix\\PM";
constexpr int kMachineTextBytes = 256;  // a 255-byte text and its terminator

}  // namespace

SettingsStore::SettingsStore() : SettingsStore(vendorName(), applicationName()) {}

SettingsStore::SettingsStore(const QString& vendor, const QString& application)
    : m_user(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, vendor,
                                         application)) {
  m_user->setAtomicSyncRequired(true);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::vendorName() { return Strings::LoadString(Strings::IDS_VENDOR_KEY); }

QString SettingsStore::applicationName() { return Strings::LoadString(Strings::IDS_APP_TITLE); }

QString SettingsStore::versionKeyName() {
  return Strings::LoadString(Strings::IDS_PROFILE_VERSION_KEY);
}

QString SettingsStore::profileName() {
  return applicationName() + QLatin1Char('\\') + versionKeyName();
}

RegistryKey SettingsStore::applicationKey() { return RegistryKey(m_user.get(), QString()); }

RegistryKey SettingsStore::profileKey() { return applicationKey().subKey(versionKeyName()); }

RegistryKey SettingsStore::sectionKey(const QString& section) {
  return profileKey().subKey(section);
}

QString SettingsStore::machineText(const QString& keyPath, const QString& valueName) {
  const QString prefix = QString::fromLatin1(kMachinePrefix);
  if (!keyPath.startsWith(prefix, Qt::CaseInsensitive)) return {};
  QSettings machine(QSettings::IniFormat, QSettings::SystemScope, vendorName(),
                    QStringLiteral("PM"));
  RegistryKey key(&machine, QString());
  const QStringList parts = keyPath.mid(prefix.size()).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  for (const QString& part : parts) key = key.subKey(part);
  return key.readText(valueName, kMachineTextBytes).value_or(QString());
}

void SettingsStore::sync() { m_user->sync(); }
