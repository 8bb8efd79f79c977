#pragma once

#include "query/RibbonSet.h"
#include "query/SeriesStore.h"

#include <functional>
#include <vector>

// How two results of the same request over different periods are set side
// by side: rows (ribbons, days, points in time) by their position in the
// window, frequencies by the nearest-frequency rule when the plans differ,
// and the difference current minus earlier, a hole where either side has
// no sample. Values are as fetched: a level offset cancels in a difference.
namespace ComparisonMatch {

// For each of `count` ascending targets, the index of `f` (ascending, n
// values) nearest it: the index changes at the midpoints between
// neighbouring frequencies. The heat map picks its cells' columns the same
// way.
std::vector<int> nearestColumns(const double* f, int n, const double* targets, int count);

// For each current frequency, the earlier column nearest it; -1 where the
// current frequency lies outside the earlier plan's span (by more than the
// 0.0001 MHz snapping tolerance), which has nothing to set against it.
std::vector<int> matchFrequencies(const double* current, int n, const double* earlier, int m);

// Current minus earlier; NO_DATA when either has no sample.
double difference(double current, double earlier);

// A ribbon result against an earlier one: R x N values of the current
// result's shape (its first ribbon's frequencies), row-major.
struct RibbonDifference {
  int rows = 0;
  int columns = 0;
  bool percent = false;
  std::vector<double> earlier;     // the matched earlier value, NO_DATA where none
  std::vector<double> difference;  // current minus earlier
};
RibbonDifference ribbons(const RibbonSet& current, const RibbonSet& earlier);

// The same over any two row-major layouts: `rows` rows of `columns` values
// on the plan `frequencies`, row r's values from `row(r)`, against the
// earlier layout. Both sides must carry the same level offset (or none).
struct Layout {
  int rows = 0;
  int columns = 0;
  const double* frequencies = nullptr;
  std::function<const double*(int)> row;
};
RibbonDifference rows(const Layout& current, const Layout& earlier);

// The end of a difference map's symmetric scale: the largest difference
// rounded up to a whole unit, at least 1.
double scaleLimit(const std::vector<double>& difference);

// The earlier values set against each point of a current series: by
// frequency (Time Window Summary) or by position (One Frequency).
std::vector<double> series(const SeriesStore::Series& current, const SeriesStore::Series& earlier,
                           bool byFrequency);

// The earlier store's series of a statistic; null when it has none with data.
const SeriesStore::Series* statistic(const SeriesStore& store, int statistic);

}  // namespace ComparisonMatch
