#include "core/CRegUpdater.h"

#include "core/SettingsStore.h"
#include "resources/Strings.h"

#include <QSettings>

CRegUpdater::CRegUpdater(const QString& profileName, const QString& vendorKey) {
  const qsizetype slash = profileName.indexOf(QLatin1Char('\\'));
  if (slash <= 0 || slash + 1 >= profileName.size() || vendorKey.isEmpty()) return;
  const QString application = profileName.left(slash);
  m_currentVersion = profileName.mid(slash + 1);

  m_store = std::make_unique<SettingsStore>(vendorKey, application);
  m_appKey = m_store->applicationKey();
  m_ready = m_appKey.isOpen();
  if (!m_ready) return;

  const QString v23 = Strings::LoadString(Strings::IDS_VERSION_KEY_2_3);
  const QString v24 = Strings::LoadString(Strings::IDS_VERSION_KEY_2_4);
  for (const QString& name : m_appKey.subKeyNames()) {
    if (name.compare(m_currentVersion, Qt::CaseInsensitive) == 0) {
      m_sourceVersion = name;  // current settings present: nothing to carry over
      break;
    }
    if (name.compare(v23, Qt::CaseInsensitive) == 0 || name.compare(v24, Qt::CaseInsensitive) == 0)
      m_sourceVersion = name;
  }
}

CRegUpdater::~CRegUpdater() {
  if (m_store) m_store->sync();
}

bool CRegUpdater::IsKnownOldVersion(const QString&) const { return false; }

bool CRegUpdater::Update() {
  if (!m_ready || m_sourceVersion.isEmpty() ||
      m_sourceVersion.compare(m_currentVersion, Qt::CaseInsensitive) == 0)
    return true;
  RegistryKey target = m_appKey.subKey(m_currentVersion);
  m_appKey.subKey(m_sourceVersion).copyTreeTo(target);
  m_store->sync();
  return m_store->userSettings().status() == QSettings::NoError;
}
