#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "app/ReportPage.h"
#include "support/QtPrinters.h"

namespace {

TEST(ReportPageTest, TitleJoinsReportTextAndLabelAndCaptionsSplitAtTheFirstColonBlank) {
  const std::tuple<const char*, const char*, const char*> titles[] = {
      {"Quillon - ", "Port 3", "Quillon - Port 3"},
      {"North Hub", "Port 3", "North Hub Port 3"},
      {"", "Port 3", "Port 3"},  // No label: no dangling separator.
      {"Quillon - ", "", "Quillon"},
      {"Weekly review:", "  ", "Weekly review"},
      {"", "", ""}};
  for (const auto& [text, label, title] : titles)
    EXPECT_EQ(ReportPage::titleLine(QString::fromUtf8(text), QString::fromUtf8(label)),
              QString::fromUtf8(title))
        << text << "+" << label;

  const QString remark =
      QStringLiteral("A long remark that mentions a ratio somewhere in the middle: 3 to 1");
  const QList<ReportPage::HeaderRow> expected = {
      {QString(), QStringLiteral("Port 3  Port 5")},
      {QStringLiteral("Level Units:"), QStringLiteral("dBmV")},
      {QStringLiteral("Start date, time:"), QStringLiteral("05.03.2024 13:00")},
      {QStringLiteral("Time:"), QString()},
      {QStringLiteral("Note:"), QStringLiteral("see: above")},
      {QString(), remark},
      // The longest caption, either way it is written.
      {QString(40, 'c') + ':', QStringLiteral("v")},
      {QString(40, 'e') + ':', QString()},
      {QString(), QString(41, 'd') + ':'},
      {QString(), QStringLiteral(": no caption")}};
  QStringList lines;
  for (const auto& row : expected)
    lines << (row.caption.isEmpty() ? row.value : (row.caption + ' ' + row.value).trimmed());
  const QList<ReportPage::HeaderRow> rows = ReportPage::headerRows(lines);
  ASSERT_EQ(rows.size(), expected.size());
  for (qsizetype i = 0; i < rows.size(); ++i)
    EXPECT_TRUE(rows[i] == expected[i])
        << rows[i].caption.toStdString() << "|" << rows[i].value.toStdString();
}

ReportPageContent sampleContent() {
  ReportPageContent c;
  c.reportText = QStringLiteral("Quillon - ");
  c.label = QStringLiteral("Riverside Node 12");
  c.reportName = QStringLiteral("24 Hour Report");
  c.description =
      QStringLiteral("Shows historical performance for a single test port summarized by each hour.");
  c.headerLines =
      QStringList{"Riverside Node 12  Port 4", "Level Units: dBmV", "Start date, time: 05.03.2024 00:00",
                  "End date, time: 06.03.2024 00:00", "Each scan summarizes 1 Hour"};
  c.printedAt = QDateTime(QDate(2024, 3, 6), QTime(9, 30));
  return c;
}

// A white margin around the page shows anything drawn outside it.
QImage paintWithMargin(const ReportPageContent& content, const QRect& page, const QSize& canvas) {
  QImage image(canvas, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);  // 96 dpi
  image.setDotsPerMeterY(3780);
  image.fill(Qt::white);
  QPainter p(&image);
  ReportPage(content).paint(p, QRectF(page));
  p.end();
  return image;
}

bool anyInkOutside(const QImage& image, const QRect& page) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (!page.contains(x, y) && image.pixel(x, y) != qRgb(255, 255, 255)) return true;
  return false;
}

TEST(ReportPageLayoutTest, ChartGetsTheRoomBelowTheHeaderInsideThePage) {
  ReportPageContent content = sampleContent();
  QRectF given;
  content.chart = [&given](QPainter& p, const QRectF& r) {
    given = r;
    p.fillRect(QRectF(r.topLeft() - QPointF(500, 500), r.size() + QSizeF(1000, 1000)), Qt::red);
  };
  const QRect page(40, 40, 700, 1000);
  const QImage image = paintWithMargin(content, page, QSize(780, 1080));
  EXPECT_TRUE(given.isValid() && QRectF(page).contains(given) && given.top() > page.top() + 150 &&
              given.height() > page.height() / 2);
  // The painter is clipped to the chart's rectangle: the oversized fill stays in it.
  EXPECT_FALSE(anyInkOutside(image, page));
  EXPECT_NE(image.pixel(page.left() + 5, page.top() + 5), qRgb(255, 0, 0));
}

TEST(ReportPageLayoutTest, CrowdedPageStaysInsideAndDropsAChartWithoutRoom) {
  ReportPageContent content = sampleContent();
  content.label = QString(300, QLatin1Char('L'));
  content.description = content.description.repeated(12);
  for (int i = 0; i < 20; ++i)
    content.headerLines << QStringLiteral("Caption %1: ").arg(i) + QString(200, QLatin1Char('v'));
  bool chartCalled = false;
  content.chart = [&chartCalled](QPainter&, const QRectF&) { chartCalled = true; };
  const QRect page(30, 30, 420, 560);
  const QImage image = paintWithMargin(content, page, QSize(480, 620));
  EXPECT_FALSE(chartCalled);
  EXPECT_FALSE(anyInkOutside(image, page));
}

TEST(ReportPageLayoutTest, ImageChartKeepsItsProportions) {
  QImage chart(200, 100, QImage::Format_RGB32), canvas(400, 400, QImage::Format_RGB32);
  chart.fill(Qt::blue);
  canvas.fill(Qt::white);
  QPainter p(&canvas);
  ReportPage::imageChart(chart)(p, QRectF(0, 0, 400, 400));
  p.end();
  // 2:1 into a square: full width, half the height, centred.
  EXPECT_EQ(QList<QRgb>({canvas.pixel(200, 200), canvas.pixel(200, 90), canvas.pixel(200, 310),
                         canvas.pixel(3, 200)}),
            QList<QRgb>({qRgb(0, 0, 255), qRgb(255, 255, 255), qRgb(255, 255, 255), qRgb(0, 0, 255)}));
}

}  // namespace
