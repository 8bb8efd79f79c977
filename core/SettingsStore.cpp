#include "core/SettingsStore.h"

#include "core/IniVariantScreen.h"
#include "resources/Strings.h"

#include <QTemporaryFile>

namespace {

// Machine-wide registry paths start with this prefix; the rest of the path is
// the group path inside the vendor's "PM" settings file.
constexpr auto kMachinePrefix = "SOFTWARE\\Veltrix\\PM";
constexpr int kMachineTextBytes = 256;  // a 255-byte text and its terminator

QString iniPath(QSettings::Scope scope, const QString& vendor, const QString& application) {
  return QSettings(QSettings::IniFormat, scope, vendor, application).fileName();
}

// The profile is opened by its path: like a registry key it stands alone, with
// none of QSettings' vendor-wide or system-wide fall-backs mixed into it.
std::unique_ptr<QSettings> openProfile(const QString& vendor, const QString& application) {
  const QString path = iniPath(QSettings::UserScope, vendor, application);
  const int screened = IniVariantScreen::screenFile(path);
  if (screened > 0)
    qWarning("%s: %d value(s) could not be decoded safely and are kept as text.", qPrintable(path), screened);
  else if (screened < 0)
    qWarning("%s: holds values that could not be decoded safely and cannot be rewritten.", qPrintable(path));
  return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

}  // namespace

SettingsStore::SettingsStore() : SettingsStore(vendorName(), applicationName()) {}

SettingsStore::SettingsStore(const QString& vendor, const QString& application)
    : m_user(openProfile(vendor, application)) {
  m_user->setAtomicSyncRequired(true);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::vendorName() {
  return Strings::LoadString(Strings::IDS_VENDOR_KEY);
}

QString SettingsStore::applicationName() {
  return Strings::LoadString(Strings::IDS_APP_TITLE);
}

QString SettingsStore::versionKeyName() {
  return Strings::LoadString(Strings::IDS_PROFILE_VERSION_KEY);
}

QString SettingsStore::profileName() {
  return applicationName() + QLatin1Char('\\') + versionKeyName();
}

RegistryKey SettingsStore::applicationKey() {
  return RegistryKey(m_user.get(), QString());
}

RegistryKey SettingsStore::profileKey() {
  return applicationKey().subKey(versionKeyName());
}

RegistryKey SettingsStore::sectionKey(const QString& section) {
  return profileKey().subKey(section);
}

QString SettingsStore::machineText(const QString& keyPath, const QString& valueName) {
  const QString prefix = QString::fromLatin1(kMachinePrefix);
  if (!keyPath.startsWith(prefix, Qt::CaseInsensitive)) return {};
  // The machine file is not ours to rewrite: a screened copy is read instead.
  QString path = machineFile();
  QTemporaryFile screenedCopy;
  const IniVariantScreen::Result screened = IniVariantScreen::screenFileText(path);
  if (screened.screenedValues > 0) {
    if (!screenedCopy.open() || screenedCopy.write(screened.text) != screened.text.size()) return {};
    screenedCopy.close();
    path = screenedCopy.fileName();
  }
  QSettings machine(path, QSettings::IniFormat);
  RegistryKey key(&machine, QString());
  const QStringList parts = keyPath.mid(prefix.size()).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  for (const QString& part : parts) key = key.subKey(part);
  return key.readText(valueName, kMachineTextBytes).value_or(QString());
}

QString SettingsStore::machineFile() {
  return iniPath(QSettings::SystemScope, vendorName(), QStringLiteral("PM"));
}

void SettingsStore::sync() {
  m_user->sync();
}
