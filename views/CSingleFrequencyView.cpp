#include "views/CSingleFrequencyView.h"

#include "chart/CChart2D.h"
#include "core/CNBDateTime.h"
#include "query/NoData.h"
#include "resources/Strings.h"
#include "views/ReportData.h"
#include "views/SeriesRules.h"
#include "views/ViewSettings.h"

#include <algorithm>

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}

const int kStatisticNames[3] = {Strings::IDS_STAT_AVERAGE, Strings::IDS_STAT_MAXIMUM,
                                Strings::IDS_STAT_MINIMUM};

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
  s.header = windowText(report) + QLatin1Char('\n') + QString::asprintf("%.3lf", m_frequency) +
             QLatin1Char(' ') + text(Strings::IDS_UI_MHZ);
  m_statusText = store->labelTimeText;
  QVector<double> xs, raw, ys;
  for (int slot = 0; slot < count; ++slot) {
    const SeriesStore::Series& in = store->series[static_cast<size_t>(slot)];
    if (!in.hasData) continue;
    const int n = std::clamp(in.entryCount, 0, Blocks::kMaxEntries);
    const bool level = in.statistic >= Statistic::kAverage && in.statistic <= Statistic::kMinimum;
    if (!level && (in.statistic < Statistic::kThreshold1 || in.statistic > Statistic::kThreshold1 + 3))
      continue;
    xs.resize(n);
    raw.resize(n);
    ys.resize(n);
    for (int i = 0; i < n; ++i) {
      xs[i] = in.times[static_cast<size_t>(i)];
      raw[i] = in.values[static_cast<size_t>(i)];
      ys[i] = isNoData(raw[i]) ? Blocks::NO_DATA : (level ? raw[i] + m_levelOffset : raw[i]);
      if (level) m_axis.track(ys[i]);
      if (!isNoData(ys[i])) m_anyValue = true;
    }
    const QVector<double> isolated = SeriesRules::isolatedPoints(raw, ys);
    int group = 1, line = in.statistic + 1;
    if (level) {
      m_levelDrawn = true;
      m_group1Filled = true;
    } else {
      group = 2;
      line = in.statistic - Statistic::kThreshold1 + 1;
      m_percentDrawn = true;
      if (!m_group1Filled && n > 0) {
        const double hole = Blocks::NO_DATA;
        m_chart->setSeries(1, 1, xs.constData(), &hole, 1);
        s.groups[0].seriesCount = kSeriesPerGroup;
        for (int k = 1; k <= 3; ++k) s.at(1, k).display = Chart2DState::Hidden;
        m_group1Filled = true;
      }
    }
    const int points = group == 1 ? line + 3 : line + 4;
    m_chart->setSeries(group, line, xs.constData(), ys.constData(), n);
    m_chart->setSeries(group, points, xs.constData(), isolated.constData(), n);
    s.at(group, line).display = Chart2DState::Shown;
    s.at(group, points).display = Chart2DState::Shown;
    if (level) s.at(group, line).legendText = text(kStatisticNames[in.statistic]);
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
      const QString name = text(kStatisticNames[k - 1]);
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
