#pragma once

#include "server/Blocks.h"

#include <QVector>
#include <array>

// The threshold lines of the Time Window Summary: per threshold (1 to 4 and
// the interval threshold) a pair of series over the table's frequencies.
// Whether a level goes to the pair's first or second series is the server's
// kind-mask rule: first when the entry's mask shares a bit with the limit.
struct ThresholdLines {
  static constexpr int kThresholds = 5;

  struct Pair {
    QVector<double> x;
    QVector<double> first;   // chart series 2k + 5
    QVector<double> second;  // chart series 2k + 6
  };
  std::array<Pair, kThresholds> pairs{};

  // `entries` is the table's entry count the server stated; 0 gives no lines.
  static ThresholdLines build(const ThresholdTable& table, int entries, double levelOffset);
};

// The "T&hresholds" submenu's state: lines on or off, and each threshold's
// own shown flag (index 4 the interval threshold).
struct ThresholdDisplay {
  bool display = false;
  std::array<bool, ThresholdLines::kThresholds> shown{true, true, true, true, true};

  bool anyHidden() const;
  // 1 shown, 3 switched off: the display state of threshold k's pair.
  int pairState(int k) const { return display && shown[static_cast<size_t>(k)] ? 1 : 3; }
};
