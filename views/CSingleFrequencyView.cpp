#include "views/CSingleFrequencyView.h"

#include "chart/CChart2D.h"
#include "core/CNBDateTime.h"
#include "query/NoData.h"
#include "query/StatisticName.h"
#include "resources/Strings.h"
#include "views/ReportData.h"
#include "views/ReportTexts.h"
#include "views/SeriesRules.h"
#include "views/ViewSettings.h"

#include <algorithm>

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}

QString timeOfDay(uint32_t seconds) {
  return CNBDateTime::FromSeconds(static_cast<int32_t>(seconds)).LocalTimeText();
}

}  // namespace

CSingleFrequencyView::CSingleFrequencyView(QWidget* parent)
    : Chart2DReportView(OneFreqTimeWindow, kMarker1Series, kMarker2Series, true, parent) {
  setObjectName(QStringLiteral("singleFrequencyView"));
}

void CSingleFrequencyView::showReport(const ReportData& report) {
  const SeriesStore* store = report.series;
  if (!store) return;
  beginBuild(report);
  Chart2DState& s = m_chart->edit();
  s.groups[0].seriesCount = kSeriesPerGroup;
  s.groups[1].seriesCount = kSeriesPerGroup;
  m_frequency = report.query.frequency;
  const int count = std::clamp(store->count, 0, static_cast<int>(store->series.size()));
  if (count > 0) {
    const SeriesStore::Series& first = store->series[0];
    const SeriesStore::Series& last = store->series[static_cast<size_t>(count - 1)];
    const int points = std::clamp(first.entryCount, 0, Blocks::kMaxEntries);
    const int lastPoints = std::clamp(last.entryCount, 0, Blocks::kMaxEntries);
    Chart2DState::Axis& x = s.axis(Chart2DState::X);
    x.minimum = first.times[0];
    x.maximum = lastPoints > 0 ? last.times[static_cast<size_t>(lastPoints - 1)] : x.minimum;
    if (x.maximum <= x.minimum) x.maximum = x.minimum + 1.0;
    const QVector<uint32_t> times(first.times.begin(), first.times.begin() + points);
    const QVector<bool> labelled = SeriesRules::timeLabelled(times);
    for (int i = 0; i < points; ++i)
      x.valueLabels.insert(times[i], labelled[i] ? timeOfDay(times[i]) : QStringLiteral(" "));
  }
  s.header = ReportTexts::windowText(report.query) + QLatin1Char('\n') +
             QString::asprintf("%.3lf", m_frequency) + QLatin1Char(' ') + text(Strings::IDS_UI_MHZ);
  m_statusText = store->labelTimeText;
  PlottedSeries p;
  for (int slot = 0; slot < count; ++slot) {
    if (!plotSeries(store->series[static_cast<size_t>(slot)], kSeriesPerGroup, p)) continue;
    // Points with no neighbour to join are drawn as circles of their own.
    const QVector<double> isolated = SeriesRules::isolatedPoints(p.raw, p.y);
    const int points = p.group == 1 ? p.line + 3 : p.line + 4;
    m_chart->setSeries(p.group, points, p.x.constData(), isolated.constData(), static_cast<int>(p.x.size()));
    s.at(p.group, points).display = Chart2DState::Shown;
  }
  endBuild(report);
}

bool CSingleFrequencyView::viewSettingsSource(ViewSettingsSource& source) const {
  if (!m_ready) return false;
  source.singleFrequency = m_frequency;
  source.startFrequency = m_frequency;
  source.stopFrequency = m_frequency;
  return true;
}

void CSingleFrequencyView::applyViewSettings(const ViewSettings& settings) {
  m_axis.referenceStep = settings.referenceStep;
  m_chart->setBatch(true);
  applyScale(settings.scale);
  m_chart->setBatch(false);
  emit commandsChanged();
}

QList<CChartProperty::SeriesInUse> CSingleFrequencyView::seriesInUse() const {
  QList<CChartProperty::SeriesInUse> out;
  const Chart2DState& s = m_chart->state();
  for (int k = 1; k <= 3; ++k)
    if (s.at(1, k).display == Chart2DState::Shown) {
      const QString name = statisticName(k - 1, {});
      out.push_back({1, k, name});
      out.push_back({1, k + 3, text(Strings::IDS_UI_SERIES_POINTS).arg(name)});
    }
  for (int k = 1; k <= 4; ++k)
    if (s.at(2, k).display == Chart2DState::Shown) {
      out.push_back({2, k, s.at(2, k).legendText});
      out.push_back({2, k + 4, text(Strings::IDS_UI_SERIES_POINTS).arg(s.at(2, k).legendText)});
    }
  out.push_back({1, kMarker1Series, text(Strings::IDS_UI_SERIES_MARKER_1)});
  out.push_back({1, kMarker2Series, text(Strings::IDS_UI_SERIES_MARKER_2)});
  return out;
}
