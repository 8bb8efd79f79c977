#pragma once

#include <QVector>
#include <cstdint>

// How the 2D reports turn a result's points into what the chart draws.
namespace SeriesRules {

// The indices that carry an x label on a frequency axis: every point below
// 15 points, every (count / 15)th point from 15 on.
QVector<int> frequencyLabelIndices(int count);

// Which points of a time axis carry a time label: the first and the last
// always; any other point lying more than 1.2 % of the window after the last
// labelled point and more than that before the last point.
QVector<bool> timeLabelled(const QVector<uint32_t>& times);

// The points of `raw` (the hole value where there is no sample) that have a
// sample with no sample on either side, so no line reaches them; the hole
// value everywhere else.
QVector<double> isolatedPoints(const QVector<double>& raw, const QVector<double>& plotted);

}  // namespace SeriesRules
