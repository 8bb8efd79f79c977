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
