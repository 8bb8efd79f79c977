#pragma once

#include <cstdint>
#include <optional>

class SettingsStore;

// The main window's placement as kept in "Settings\Frame": flags, show state
// and the normal position rectangle as numbers, the minimised and maximised
// positions as decimal text.
struct WindowPlacement {
  // Show states, numbered as the stored values are.
  static constexpr int32_t kShowNormal = 1;
  static constexpr int32_t kShowMinimized = 2;
  static constexpr int32_t kShowMaximized = 3;

  int32_t flags = 0;
  int32_t showCmd = kShowNormal;
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t minPositionX = -1;
  int32_t minPositionY = -1;
  int32_t maxPositionX = -1;
  int32_t maxPositionY = -1;

  // The stored placement, or nothing when any of the six numbers is missing
  // or the rectangle is empty (the window then keeps its default placement).
  static std::optional<WindowPlacement> Load(SettingsStore& store);
  void Save(SettingsStore& store) const;

  bool operator==(const WindowPlacement&) const = default;
};
