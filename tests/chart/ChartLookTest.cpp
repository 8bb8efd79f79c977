#include "chart/CChartProperty.h"
#include "chart/CHeatMap.h"
#include "chart/ColourLegend.h"
#include "query/GraphType.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// The frame, then every series that is not the plain grey line, as
// group.series line pattern/width/colour, symbol shape/size/colour.
QString look(const CChartProperty& p) {
  QStringList out{QString::asprintf(
      "border %d/%d, interior %06X/%06X, grid %d/%d/%06X %d/%d/%06X, area %06X/%06X, "
      "plot %06X/%06X",
      p.borderType, p.borderWidth, p.interiorBackground, p.interiorForeground, p.grid[0].pattern,
      p.grid[0].width, p.grid[0].color, p.grid[1].pattern, p.grid[1].width, p.grid[1].color, p.areaBackground,
      p.areaForeground, p.plotBackground, p.plotForeground)};
  const CChartProperty::Series plain{1, 1, 0xC0C0C0, 0, 5, 0xC0C0C0};
  for (size_t g = 0; g < p.series.size(); ++g)
    for (size_t s = 0; s < p.series[g].size(); ++s)
      if (const CChartProperty::Series& r = p.series[g][s]; r != plain)
        out << QString::asprintf("%zu.%zu %d/%d/%06X %d/%d/%06X", g + 1, s + 1, r.linePattern, r.lineWidth,
                                 r.lineColor, r.symbolShape, r.symbolSize, r.symbolColor);
  return out.join(", ");
}

// The look each 2D report comes up in until the user changes it.
TEST(CChartPropertyTest, EachReportStartsInItsOwnLook) {
  const char* frame =
      "border 1/1, interior 000000/808080, grid 3/1/606060 3/1/606060, area 000000/E0E0E0, plot "
      "141414/E0E0E0, "
      "1.1 1/2/00D8D8 0/5/00D8D8, 1.2 1/2/FF8C00 0/5/FF8C00, 1.3 1/2/FFFF00 0/5/FFFF00, ";
  const char* thresholds =
      "2.1 1/2/3C14DC 0/5/3C14DC, 2.2 1/2/008CFF 0/5/008CFF, 2.3 1/2/B469FF 0/5/B469FF, "
      "2.4 1/2/32CD32 0/5/32CD32";
  // Summary: marker 1, a solid and a dashed line per threshold, marker 2.
  EXPECT_EQ(look(CChartProperty::defaults(TimeWindowSummary)).toStdString(),
            std::string(frame) +
                "1.4 1/1/00FF00 0/5/00FF00, 1.5 1/1/3C14DC 0/5/3C14DC, 1.6 2/1/3C14DC 0/5/3C14DC, "
                "1.7 1/1/008CFF 0/5/008CFF, 1.8 2/1/008CFF 0/5/008CFF, 1.9 1/1/B469FF 0/5/B469FF, "
                "1.10 2/1/B469FF 0/5/B469FF, 1.11 1/1/32CD32 0/5/32CD32, 1.12 2/1/32CD32 0/5/32CD32, "
                "1.13 1/1/EBCE87 0/5/EBCE87, 1.14 2/1/EBCE87 0/5/EBCE87, 1.15 1/1/FF00FF 0/5/FF00FF, " +
                thresholds);
  // One frequency: the isolated points of each trace, then the markers.
  EXPECT_EQ(look(CChartProperty::defaults(OneFreqTimeWindow)).toStdString(),
            std::string(frame) +
                "1.4 0/1/00D8D8 9/7/00D8D8, 1.5 0/1/FF8C00 9/7/FF8C00, 1.6 0/1/FFFF00 9/7/FFFF00, "
                "1.7 1/1/00FF00 0/5/00FF00, 1.8 1/1/FF00FF 0/5/FF00FF, " +
                thresholds +
                ", 2.5 0/1/3C14DC 9/7/3C14DC, 2.6 0/1/008CFF 9/7/008CFF, 2.7 0/1/B469FF 9/7/B469FF, "
                "2.8 0/1/32CD32 9/7/32CD32");
}

// Reset zoom shows every row whole, half a row beyond the first and the last;
// the first row is drawn at the bottom.
TEST(CHeatMapTest, RowsFillThePlotFromTheFirstAtTheBottom) {
  for (const auto& [rows, top] : {std::pair(1, 0.5), std::pair(3, 2.5)}) {
    CHeatMap map;
    map.setData(2, rows, 5.0, 6.0, std::vector<double>(static_cast<size_t>(2 * rows), 1.0));
    EXPECT_EQ(std::pair(map.yMin(), map.yMax()), std::pair(-0.5, top)) << rows;
  }
  CHeatMap map;
  map.resize(300, 300);
  map.setXRange(5.0, 6.0);
  map.setValueRange(0.0, 100.0);
  map.setData(1, 2, 5.0, 6.0, {0.0, 100.0});
  const QImage image = map.image();
  const QRect plot = map.plotRect();
  const int x = plot.center().x();
  EXPECT_GT(image.pixelColor(x, plot.top() + 2).red(), image.pixelColor(x, plot.bottom() - 2).red() + 100);
}

// The legend's bar: where it lies, its colours at both ends and at three
// quarters, and no label over it; across, both labels on one line.
TEST(ColourLegendTest, BarAndLabelsKeepTheirPlaces) {
  ColourLegend legend;
  legend.setColours(Qt::black, Qt::white);
  legend.setRange(5.0, 5.0);  // both ends read "5"
  const QFontMetrics fm(legend.font());
  const std::tuple<bool, QSize, QRect> cases[] = {
      {false, {240, 60}, {8, 4, 224, 14}},
      {true, {70, 200}, {8, fm.height() / 2 + 4, 16, 200 - fm.height() - 12}}};
  for (const auto& [vertical, size, expected] : cases) {
    legend.setVertical(vertical);
    legend.resize(size);
    const QImage image = legend.grab().toImage();
    QRect bar;
    int covered = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y).saturation() > 100) bar |= QRect(x, y, 1, 1);
    for (int y = bar.top(); y <= bar.bottom(); ++y)
      for (int x = bar.left(); x <= bar.right(); ++x) covered += image.pixelColor(x, y).saturation() < 50;
    EXPECT_EQ(std::pair(bar, covered), std::pair(expected, 0)) << vertical;
    if (!vertical) {
      const auto firstTextRow = [&](int from, int to) {
        for (int y = 0; y < image.height(); ++y)
          for (int x = from; x < to; ++x)
            if (image.pixelColor(x, y).lightness() > 128 && image.pixelColor(x, y).saturation() < 50)
              return y;
        return -1;
      };
      const int left = firstTextRow(0, 120);
      EXPECT_EQ(std::pair(left, left > bar.bottom()), std::pair(firstTextRow(120, 240), true));
      EXPECT_EQ((QStringList{image.pixelColor(8, 10).name(), image.pixelColor(175, 10).name(),
                             image.pixelColor(231, 10).name()}),
                (QStringList{"#0002a1", "#ffe500", "#e60000"}));
    }
  }
}

}  // namespace
