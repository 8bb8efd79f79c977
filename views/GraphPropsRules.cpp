#include "views/GraphPropsRules.h"

#include "query/GraphType.h"
#include "resources/Strings.h"

#include <cmath>
#include <cstdlib>

namespace GraphPropsRules {

namespace {
constexpr double kSnapTolerance = 0.0001;
}  // namespace

Layout layoutFor(int graphType, bool percent, bool levelTraceDrawn) {
  Layout l;
  l.amplitudeGroup = Strings::LoadString(Strings::IDS_UI_AMPLITUDE_GROUP);
  l.startLabel = Strings::LoadString(Strings::IDS_UI_START_FREQUENCY_LABEL);
  l.stopLabel = Strings::LoadString(Strings::IDS_UI_STOP_FREQUENCY_LABEL);
  if (!usesCheckBoxStatistics(graphType)) {
    l.title = Strings::LoadString(Strings::IDS_UI_PROPS_3D_TITLE);
    l.rangeShown = true;
    if (percent) {
      l.amplitudeGroup = Strings::LoadString(Strings::IDS_UI_EXCEEDING_THRESHOLD_GROUP);
      l.rangeLabel = Strings::LoadString(Strings::IDS_UI_RANGE_PERCENT_LABEL);
      l.stepLabel = Strings::LoadString(Strings::IDS_UI_REF_STEP_PERCENT_LABEL);
    } else {
      l.rangeLabel = Strings::LoadString(Strings::IDS_UI_RANGE_DB_LABEL);
      l.stepLabel = Strings::LoadString(Strings::IDS_UI_REF_STEP_DB_LABEL);
    }
    return l;
  }
  l.title = Strings::LoadString(Strings::IDS_UI_PROPS_2D_TITLE);
  l.rangeLabel = Strings::LoadString(Strings::IDS_UI_SCALE_LABEL);
  l.stepLabel = Strings::LoadString(Strings::IDS_UI_REF_STEP_DB_LABEL);
  l.scaleShown = true;
  l.levelsEnabled = levelTraceDrawn;
  if (graphType == OneFreqTimeWindow) {
    l.startLabel = Strings::LoadString(Strings::IDS_UI_SINGLE_FREQUENCY_LABEL);
    l.stopLabel = QStringLiteral(" ");
    l.startEnabled = false;
    l.stopShown = false;
    l.spinsShown = false;
    l.checkFrequencies = false;
  }
  return l;
}

int nearestIndex(const QVector<double>& frequencies, double value) {
  if (frequencies.isEmpty() || frequencies.front() > value) return 0;
  for (int i = 0; i < frequencies.size(); ++i) {
    if (std::fabs(frequencies[i] - value) < kSnapTolerance) return i;
    if (frequencies[i] > value) return i - 1;
  }
  return static_cast<int>(frequencies.size()) - 1;
}

int decimalsFor(const QVector<double>& frequencies) {
  constexpr int kFewest = 3;
  constexpr int kMost = 9;
  for (int decimals = kFewest; decimals < kMost; ++decimals) {
    bool readsBack = true;
    for (int i = 0; i < frequencies.size() && readsBack; ++i) {
      const double shown = QString::number(frequencies[i], 'f', decimals).toDouble();
      readsBack = std::fabs(shown - frequencies[i]) < kSnapTolerance && nearestIndex(frequencies, shown) == i;
    }
    if (readsBack) return decimals;
  }
  return kMost;
}

int spinIndex(int index, int delta, int count) {
  const int last = count - 1;
  if (last < 0) return 0;
  const int m = std::abs(delta);
  int next = index;
  if (delta <= 0)
    next = index + (index + m > last ? 1 : m);
  else
    next = index - (m > index ? 1 : m);
  if (next > last) next = last;
  if (next < 0) next = 0;
  return next;
}

int spinRange(int range, int delta, int minimumRange) {
  const int next = range - kRangeSpinStep * delta;
  const bool allowed = next >= minimumRange && next >= kMinRange && next <= kMaxRange;
  return allowed ? next : range;
}

int clampRange(int range) {
  if (range > kMaxRange) return kMaxRange;
  if (range < kMinRange) return kMinRange;
  return range;
}

Refusal checkFrequencies(double start, double stop, double lowest, double highest) {
  constexpr double kTolerance = 0.00001;
  if (lowest - start > kTolerance) return Refusal::StartOutOfRange;
  if (stop - highest > kTolerance) return Refusal::StopOutOfRange;
  if (!(stop > start)) return Refusal::StopNotAboveStart;
  return Refusal::None;
}

QString refusalText(Refusal refusal) {
  switch (refusal) {
    case Refusal::StartOutOfRange: return Strings::LoadString(Strings::IDS_UI_START_FREQ_OUT_OF_RANGE);
    case Refusal::StopOutOfRange: return Strings::LoadString(Strings::IDS_UI_STOP_FREQ_OUT_OF_RANGE);
    case Refusal::StopNotAboveStart: return Strings::LoadString(Strings::IDS_UI_STOP_NOT_ABOVE_START);
    case Refusal::None: break;
  }
  return {};
}

}  // namespace GraphPropsRules
