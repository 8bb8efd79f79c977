#include "views/CTimeWindowSummaryView.h"

#include "chart/CChart2D.h"
#include "query/NoData.h"
#include "query/StatisticName.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "views/CommandEnabling.h"
#include "views/ReportData.h"
#include "views/ReportTexts.h"
#include "views/SeriesRules.h"
#include "views/ViewSettings.h"

#include <algorithm>

using namespace CommandIds;

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}

}  // namespace

CTimeWindowSummaryView::CTimeWindowSummaryView(QWidget* parent)
    : Chart2DReportView(TimeWindowSummary, kMarker1Series, kMarker2Series, false, parent) {
  setObjectName(QStringLiteral("timeWindowSummaryView"));
}

void CTimeWindowSummaryView::showReport(const ReportData& report) {
  const SeriesStore* store = report.series;
  if (!store) return;
  beginBuild(report);
  Chart2DState& s = m_chart->edit();
  const int count = std::clamp(store->count, 0, static_cast<int>(store->series.size()));
  m_frequencies.clear();
  m_levels.clear();
  if (count > 0) {
    const SeriesStore::Series& first = store->series[0];
    const SeriesStore::Series& last = store->series[static_cast<size_t>(count - 1)];
    const int points = std::clamp(first.entryCount, 0, Blocks::kMaxEntries);
    const int lastPoints = std::clamp(last.entryCount, 0, Blocks::kMaxEntries);
    if (points > 0) {
      m_frequencies = QVector<double>(first.frequencies.begin(), first.frequencies.begin() + points);
      m_displayStart = first.frequencies[0];
      m_displayStop = first.frequencies[static_cast<size_t>(points - 1)];
      labelFrequencies(m_displayStart, m_displayStop);
    }
    Chart2DState::Axis& x = s.axis(Chart2DState::X);
    x.minimum = first.frequencies[0];
    x.maximum = lastPoints > 0 ? last.frequencies[static_cast<size_t>(lastPoints - 1)] : x.minimum;
    if (x.maximum <= x.minimum) x.maximum = x.minimum + 1.0;
  }
  s.header = ReportTexts::windowText(report.query);
  m_statusText = store->labelTimeText;
  PlottedSeries p;
  for (int slot = 0; slot < count; ++slot) {
    const SeriesStore::Series& in = store->series[static_cast<size_t>(slot)];
    if (plotSeries(in, 4, p) && p.level) m_levels.push_back({in.statistic, p.raw});
  }
  m_lines = report.thresholds
                ? ThresholdLines::build(*report.thresholds, report.thresholdEntries, m_levelOffset)
                : ThresholdLines{};
  endBuild(report);
}

void CTimeWindowSummaryView::drawOverlays() {
  m_chart->setBatch(true);
  Chart2DState& s = m_chart->edit();
  s.groups[0].seriesCount = Chart2DState::kSeriesPerGroup;
  for (int k = 0; k < ThresholdLines::kThresholds; ++k) {
    const ThresholdLines::Pair& pair = m_lines.pairs[static_cast<size_t>(k)];
    const int n = static_cast<int>(pair.x.size());
    m_chart->setSeries(1, 2 * k + 5, pair.x.constData(), pair.first.constData(), n);
    m_chart->setSeries(1, 2 * k + 6, pair.x.constData(), pair.second.constData(), n);
    setPairState(k);
  }
  m_chart->setBatch(false);
}

void CTimeWindowSummaryView::setPairState(int k) {
  // Also without a level trace: the display state a report with levels left
  // holds for the percentages that follow.
  const int state = m_display.pairState(k);
  m_chart->setDisplay(1, 2 * k + 5, state);
  m_chart->setDisplay(1, 2 * k + 6, state);
}

bool CTimeWindowSummaryView::runCommand(int id) {
  switch (id) {
    case ID_THRESHOLDS_DISPLAY:
      m_display.display = !m_display.display;
      drawOverlays();
      break;
    case ID_THRESHOLDS_ALL:
      m_chart->setBatch(true);
      for (int k = 0; k < ThresholdLines::kThresholds; ++k)
        if (!m_display.shown[static_cast<size_t>(k)]) {
          m_display.shown[static_cast<size_t>(k)] = true;
          setPairState(k);
        }
      m_chart->setBatch(false);
      break;
    case ID_THRESHOLDS_1:
    case ID_THRESHOLDS_2:
    case ID_THRESHOLDS_3:
    case ID_THRESHOLDS_4:
    case ID_THRESHOLDS_INTERVAL: {
      const int k = id == ID_THRESHOLDS_INTERVAL ? 4 : id - ID_THRESHOLDS_1;
      m_display.shown[static_cast<size_t>(k)] = !m_display.shown[static_cast<size_t>(k)];
      setPairState(k);
      break;
    }
    default: return Chart2DReportView::runCommand(id);
  }
  emit commandsChanged();
  return true;
}

void CTimeWindowSummaryView::fillFrameState(FrameState& state) const {
  Chart2DReportView::fillFrameState(state);
  if (!m_ready) return;
  state.levelDrawn = m_levelDrawn;
  state.thresholdDisplay = m_display.display;
  for (int k = 0; k < 4; ++k)
    state.thresholdShown[static_cast<size_t>(k + 3)] = m_display.shown[static_cast<size_t>(k)];
  state.intervalShown = m_display.shown[4];
}

bool CTimeWindowSummaryView::viewSettingsSource(ViewSettingsSource& source) const {
  if (!m_ready || m_frequencies.isEmpty()) return false;
  source.frequencies = m_frequencies;
  source.startFrequency = m_displayStart;
  source.stopFrequency = m_displayStop;
  return true;
}

void CTimeWindowSummaryView::applyViewSettings(const ViewSettings& settings) {
  m_axis.referenceStep = settings.referenceStep;
  m_chart->setBatch(true);
  applyScale(settings.scale);
  Chart2DState::Axis& x = m_chart->edit().axis(Chart2DState::X);
  x.minimum = settings.startFrequency;
  x.maximum = settings.stopFrequency;
  m_displayStart = settings.startFrequency;
  m_displayStop = settings.stopFrequency;
  // Labelled points of the whole result may all lie outside a narrow range,
  // and the grid lines stand at the labels.
  labelFrequencies(settings.startFrequency, settings.stopFrequency);
  trackVisibleLevels(settings.startFrequency, settings.stopFrequency);
  m_chart->setBatch(false);
  emit commandsChanged();
}

void CTimeWindowSummaryView::labelFrequencies(double start, double stop) {
  QMap<double, QString> labels;
  for (const int i : SeriesRules::frequencyLabelIndices(m_frequencies, start, stop))
    labels.insert(m_frequencies[i], QString::asprintf("%.2lf", m_frequencies[i]));
  m_chart->edit().axis(Chart2DState::X).valueLabels = labels;
}

void CTimeWindowSummaryView::trackVisibleLevels(double start, double stop) {
  m_axis.resetExtremes();
  const int n = static_cast<int>(m_frequencies.size());
  if (n == 0) return;
  const auto firstAtLeast = [&](double f) {
    const int i = static_cast<int>(std::lower_bound(m_frequencies.begin(), m_frequencies.end(), f) -
                                   m_frequencies.begin());
    return std::min(i, n - 1);
  };
  const int i0 = firstAtLeast(start), i1 = firstAtLeast(stop);
  for (const Levels& levels : m_levels)
    for (int i = i0; i < i1 && i < levels.values.size(); ++i) m_axis.track(levels.values[i] + m_levelOffset);
}

QList<CChartProperty::SeriesInUse> CTimeWindowSummaryView::seriesInUse() const {
  QList<CChartProperty::SeriesInUse> out;
  const Chart2DState& s = m_chart->state();
  for (int k = 1; k <= 3; ++k)
    if (s.at(1, k).display == Chart2DState::Shown) out.push_back({1, k, statisticName(k - 1, {})});
  for (int k = 1; k <= 4; ++k)
    if (s.at(2, k).display == Chart2DState::Shown) out.push_back({2, k, s.at(2, k).legendText});
  out.push_back({1, kMarker1Series, text(Strings::IDS_UI_SERIES_MARKER_1)});
  out.push_back({1, kMarker2Series, text(Strings::IDS_UI_SERIES_MARKER_2)});
  for (int k = 0; k < ThresholdLines::kThresholds; ++k) {
    const QString name = k < 4 ? m_thresholdNames.value(k)
                               : text(Strings::IDS_MENU_INTERVAL_THRESHOLD).remove(QLatin1Char('&'));
    out.push_back({1, 2 * k + 5, text(Strings::IDS_UI_SERIES_LINE_1).arg(name)});
    out.push_back({1, 2 * k + 6, text(Strings::IDS_UI_SERIES_LINE_2).arg(name)});
  }
  return out;
}

void CTimeWindowSummaryView::refreshReport(const ReportData& report) {
  const bool narrowed = m_ready && !m_frequencies.isEmpty() &&
                        (m_displayStart > m_frequencies.front() || m_displayStop < m_frequencies.back());
  const double start = m_displayStart, stop = m_displayStop;
  m_chart->setBatch(true);
  Chart2DReportView::refreshReport(report);
  if (narrowed && !m_frequencies.isEmpty() && start < m_frequencies.back() && stop > m_frequencies.front()) {
    Chart2DState::Axis& x = m_chart->edit().axis(Chart2DState::X);
    x.minimum = m_displayStart = start;
    x.maximum = m_displayStop = stop;
    labelFrequencies(start, stop);
    trackVisibleLevels(start, stop);
  }
  m_chart->setBatch(false);
}
