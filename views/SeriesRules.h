#pragma once

#include <QVector>
#include <cstdint>

// How the 2D reports turn a result's points into what the chart draws.
namespace SeriesRules {

// The indices that carry an x label on a frequency axis, counted over the
// points shown (from start to stop, both included, ascending): every shown
// point below 15 of them, else every (shown / 15)th from the first shown.
QVector<int> frequencyLabelIndices(const QVector<double>& frequencies, double start, double stop);

// Which points of a time axis carry a time label: the first and the last
// always; any other point lying more than 1.2 % of the window after the last
// labelled point and more than that before the last point.
QVector<bool> timeLabelled(const QVector<uint32_t>& times);

// The points of `raw` (the hole value where there is no sample) that have a
// sample with no sample on either side, so no line reaches them; the hole
// value everywhere else.
QVector<double> isolatedPoints(const QVector<double>& raw, const QVector<double>& plotted);

}  // namespace SeriesRules
