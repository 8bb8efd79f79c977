#include "views/ReportView.h"

#include "core/SettingsStore.h"

StartupSettings ReportView::activationSettings() const {
  if (m_session) return *m_session;
  SettingsStore store;
  return StartupSettings::Load(store);
}
