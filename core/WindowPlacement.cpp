#include "core/WindowPlacement.h"

#include "core/SettingsStore.h"
#include "resources/Strings.h"

#include <QString>

namespace {

const QString kFrameKey = QStringLiteral("Frame");
constexpr int kPositionTextBytes = 32;

RegistryKey frameKey(SettingsStore& store) {
  return store.sectionKey(Strings::LoadString(Strings::IDS_SETTINGS_SECTION)).subKey(kFrameKey);
}

int32_t readPosition(const RegistryKey& key, const QString& name) {
  bool ok = false;
  const int value = key.readText(name, kPositionTextBytes).value_or(QString()).trimmed().toInt(&ok);
  return ok ? value : -1;
}

}  // namespace

std::optional<WindowPlacement> WindowPlacement::Load(SettingsStore& store) {
  const RegistryKey key = frameKey(store);
  WindowPlacement p;
  const struct {
    const char* name;
    int32_t* field;
  } numbers[] = {{"Flags", &p.flags}, {"ShowCmd", &p.showCmd}, {"Left", &p.left},
                 {"Top", &p.top},     {"Right", &p.right},     {"Bottom", &p.bottom}};
  for (const auto& n : numbers) {
    const auto v = key.readDword(QString::fromLatin1(n.name));
    if (!v) return std::nullopt;
    *n.field = *v;
  }
  if (p.right <= p.left || p.bottom <= p.top) return std::nullopt;
  p.minPositionX = readPosition(key, QStringLiteral("MinPositionX"));
  p.minPositionY = readPosition(key, QStringLiteral("MinPositionY"));
  p.maxPositionX = readPosition(key, QStringLiteral("MaxPositionX"));
  p.maxPositionY = readPosition(key, QStringLiteral("MaxPositionY"));
  return p;
}

void WindowPlacement::Save(SettingsStore& store) const {
  RegistryKey key = frameKey(store);
  key.writeDword(QStringLiteral("Flags"), flags);
  key.writeDword(QStringLiteral("ShowCmd"), showCmd);
  key.writeDword(QStringLiteral("Left"), left);
  key.writeDword(QStringLiteral("Top"), top);
  key.writeDword(QStringLiteral("Right"), right);
  key.writeDword(QStringLiteral("Bottom"), bottom);
  key.writeText(QStringLiteral("MinPositionX"), QString::number(minPositionX));
  key.writeText(QStringLiteral("MinPositionY"), QString::number(minPositionY));
  key.writeText(QStringLiteral("MaxPositionX"), QString::number(maxPositionX));
  key.writeText(QStringLiteral("MaxPositionY"), QString::number(maxPositionY));
  store.sync();
}
