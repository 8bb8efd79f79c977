#include "app/LiveFollowSettings.h"

#include "core/SettingsStore.h"
#include "resources/Strings.h"

#include <algorithm>

namespace LiveFollowSettings {

namespace {
QString text(int id) {
  return Strings::LoadString(id);
}
}  // namespace

int intervalMinutes() {
  SettingsStore store;
  const auto v =
      store.sectionKey(text(Strings::IDS_FOLLOW_SECTION)).readDword(text(Strings::IDS_FOLLOW_INTERVAL_KEY));
  if (!v) return kDefaultMinutes;
  return std::clamp(static_cast<int>(*v), kMinimumMinutes, kMaximumMinutes);
}

bool chosen(int graphType) {
  SettingsStore store;
  const auto v = store.sectionKey(text(Strings::IDS_FOLLOW_SECTION))
                     .readDword(text(Strings::IDS_FOLLOW_ON_KEY).arg(graphType));
  return v && *v != 0;
}

void setChosen(int graphType, bool on) {
  SettingsStore store;
  RegistryKey key = store.sectionKey(text(Strings::IDS_FOLLOW_SECTION));
  key.writeDword(text(Strings::IDS_FOLLOW_ON_KEY).arg(graphType), on ? 1 : 0);
  store.sync();
}

}  // namespace LiveFollowSettings
