#pragma once

#include "views/ThresholdLines.h"

#include <algorithm>
#include <array>

// The "T&hresholds" submenu's state: lines on or off, and each threshold's
// own shown flag (index 4 the interval threshold).
struct ThresholdDisplay {
  bool display = false;
  std::array<bool, ThresholdLines::kThresholds> shown{true, true, true, true, true};

  bool anyHidden() const {
    return std::any_of(shown.begin(), shown.end(), [](bool s) { return !s; });
  }
  // 1 shown, 3 switched off: the display state of threshold k's pair.
  int pairState(int k) const { return display && shown[static_cast<size_t>(k)] ? 1 : 3; }
};
