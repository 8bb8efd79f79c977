#include "views/HoverReadout.h"

#include "chart/Chart2DState.h"
#include "core/ColorRef.h"
#include "query/ComparisonMatch.h"
#include "query/NoData.h"
#include "resources/Strings.h"
#include "views/MarkerSet.h"

#include <algorithm>

QVector<ReadoutLine> HoverReadout::lines(const Chart2DState& state, double x, const Context& context) {
  QVector<ReadoutLine> out{{MarkerSet::xText(x, context.timeAxis), QColor()}};
  for (int trace = 0; trace < MarkerSet::kTraces; ++trace) {
    const auto [group, index] = MarkerSet::seriesOf(trace);
    if (index > state.groups[static_cast<size_t>(group - 1)].seriesCount) continue;
    const Chart2DState::Series& s = state.at(group, index);
    if (s.display != Chart2DState::Shown || s.x.isEmpty()) continue;
    const int point = MarkerSet::nearestPoint(s.x, s.y, x, context.lo, context.hi);
    if (point < 0) continue;
    const QString value = MarkerSet::valueText(trace, s.y[point], context.unit);
    out.append({Strings::LoadString(Strings::IDS_UI_READOUT_VALUE)
                    .arg(MarkerSet::traceName(trace, context.thresholdNames), value),
                colorFromRef(static_cast<std::uint32_t>(s.style.lineColor))});
    // An earlier period's value at the same point, and how far it moved.
    for (const Chart2DState::EarlierTrace& e : state.earlier) {
      if (e.group != group || e.line != index || point >= e.atCurrent.size()) continue;
      const double then = e.atCurrent[point];
      out.append({Strings::LoadString(Strings::IDS_UI_READOUT_VALUE)
                      .arg(e.legendText, MarkerSet::valueText(trace, then, context.unit)),
                  colorFromRef(static_cast<std::uint32_t>(Chart2DState::earlierColour(s.style.lineColor)))});
      out.append({differenceText(ComparisonMatch::difference(s.y[point], then), trace >= 3), QColor()});
    }
  }
  return out;
}

QString HoverReadout::differenceText(double difference, bool percent) {
  if (isNoData(difference))
    return Strings::LoadString(Strings::IDS_UI_READOUT_VALUE)
        .arg(Strings::LoadString(Strings::IDS_UI_COMPARE_DIFFERENCE),
             Strings::LoadString(Strings::IDS_UI_UNAVAILABLE));
  return Strings::LoadString(percent ? Strings::IDS_UI_COMPARE_DIFFERENCE_POINTS
                                     : Strings::IDS_UI_COMPARE_DIFFERENCE_DB)
      .arg(QString::asprintf("%+.3lf", difference));
}

QPoint HoverReadout::place(const QPoint& pointer, const QSize& box, const QRect& plot) {
  int x = pointer.x() + kGap;
  int y = pointer.y() + kGap;
  if (x + box.width() > plot.right() + 1) x = pointer.x() - kGap - box.width();
  if (y + box.height() > plot.bottom() + 1) y = pointer.y() - kGap - box.height();
  x = std::clamp(x, plot.left(), std::max(plot.left(), plot.right() + 1 - box.width()));
  y = std::clamp(y, plot.top(), std::max(plot.top(), plot.bottom() + 1 - box.height()));
  return {x, y};
}
