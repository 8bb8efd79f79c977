#include "core/StartupSettings.h"

#include "core/SettingsStore.h"
#include "resources/Strings.h"

#include <algorithm>
#include <iterator>

namespace {

const QString kReportKey = QStringLiteral("Report");
const QString kChartKey = QStringLiteral("Chart");
const QString kChartValue = QStringLiteral("Chart Properties");
const QString kStepKey = QStringLiteral("Step Size");
constexpr int kReportTextBytes = 256;
constexpr int kChartTextBytes = 20;

RegistryKey settingsSection(SettingsStore& store) {
  return store.sectionKey(Strings::LoadString(Strings::IDS_SETTINGS_SECTION));
}

// The report text is kept under a value named like the window title's prefix.
QString reportValueName() { return QStringLiteral("Quillon - "); }

}  // namespace

int ReferenceStep::fromIndex(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kSteps))) return kDefault;
  return kSteps[index];
}

int ReferenceStep::toIndex(int step) {
  const auto* it = std::find(std::begin(kSteps), std::end(kSteps), step);
  if (it == std::end(kSteps)) it = std::find(std::begin(kSteps), std::end(kSteps), kDefault);
  return static_cast<int>(it - std::begin(kSteps));
}

StartupSettings StartupSettings::Load(SettingsStore& store) {
  StartupSettings s;
  const RegistryKey section = settingsSection(store);
  if (auto text = section.subKey(kReportKey).readText(reportValueName(), kReportTextBytes))
    s.reportText = *text;
  if (auto chart = section.subKey(kChartKey).readText(kChartValue, kChartTextBytes))
    s.chartProperties = chart->startsWith(QLatin1Char('1'));
  if (auto index = section.subKey(kStepKey).readDword(RegistryKey::defaultValueName()))
    s.referenceStep = ReferenceStep::fromIndex(*index);
  return s;
}

void StartupSettings::Save(SettingsStore& store) const {
  RegistryKey section = settingsSection(store);
  section.subKey(kReportKey).writeText(reportValueName(), reportText);
  SaveStep(store);
}

void StartupSettings::SaveStep(SettingsStore& store) const {
  settingsSection(store).subKey(kStepKey).writeDword(RegistryKey::defaultValueName(),
                                                     ReferenceStep::toIndex(referenceStep));
  store.sync();
}
