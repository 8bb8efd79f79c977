#include "app/ReportPage.h"
#include "core/ColorRef.h"
#include "query/GraphType.h"
#include "support/TempSettings.h"
#include "views/ReportData.h"
#include "views/ReportTexts.h"
#include "views/ReportView.h"
#include "views/ReportViewFactory.h"
#include "views/ViewFixtures.h"

#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

struct Word {
  QRectF box;  // points on the paper
  QString text;
};

QString poppler(const char* tool, const QStringList& args) {
  QProcess run;
  run.start(QLatin1String(tool), args);
  run.waitForFinished(30000);
  return QString::fromUtf8(run.readAllStandardOutput());
}

QList<Word> pdfWords(const QString& pdf) {
  static const QRegularExpression word(QStringLiteral(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
  QList<Word> out;
  for (auto it = word.globalMatch(poppler("pdftotext", {"-bbox", pdf, "-"})); it.hasNext();) {
    const auto m = it.next();
    out.append({QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                       QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                m.captured(5)});
  }
  return out;
}

int near(const QImage& image, const QRect& area, const QColor& wanted) {
  int found = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      found += std::abs(c.red() - wanted.red()) + std::abs(c.green() - wanted.green()) +
                   std::abs(c.blue() - wanted.blue()) <
               60;
    }
  return found;
}

bool blank(const QImage& image, const QRect& area) {
  return near(image, area, Qt::white) == area.width() * area.height();
}

class ReportPrint : public TempSettingsTest, public ::testing::WithParamInterface<int> {};

// The printed page of every report carries the chart as the screen shows it,
// scaled into the page's chart rectangle and nowhere else: 2D charts as
// vectors with text of a readable size, 3D charts as their picture.
TEST_P(ReportPrint, PageCarriesTheChartInsideItsRectangle) {
  for (const char* tool : {"pdftotext", "pdftoppm"})
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
      GTEST_SKIP() << tool << " (poppler-utils) is not installed";
  const int type = GetParam();
  const bool twoD = type == TimeWindowSummary || type == OneFreqTimeWindow;
  // Three traces of 11 points apart on the scale; ribbons of 121 frequencies with a plateau.
  std::vector<std::pair<int, QVector<double>>> traces;
  for (int s = 0; s < 3; ++s) {
    traces.push_back({s, {}});
    for (int i = 0; i < 11; ++i) traces.back().second << 10.0 * (1 - s) + 3.0 * std::sin(i);
  }
  SummaryFixture summary(traces);
  const bool days = type == MultiDay || type == MultiDayTimeWindow;
  const RibbonSet set = makeRibbons(
      days ? RibbonSet::Kind::Day : RibbonSet::Kind::Ribbon, days ? 7 : 24, 121,
      [](int i, int j) { return (j > 60 && j < 90) ? 35.0 : 2.0 + 8.0 * std::sin(0.2 * j + i); },
      [](int j) { return 5.0 + 0.5 * j; });
  ReportData data = summary.data;
  data.ribbons = &set;
  data.query.graphType = type;
  data.headerLines = {"Port 3", "Level Units: dBmV"};
  std::unique_ptr<ReportView> view(createReportView(type, nullptr));
  view->resize(960, 560);
  view->show();
  view->setActive(true);
  view->showReport(data);
  QTest::qWait(twoD ? 300 : 1500);

  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
  ReportPageContent content{.reportText = "Eastside Review",
                            .label = "Port 3",
                            .reportName = ReportTexts::name(type),
                            .description = "Shows the levels of one port.",
                            .headerLines = data.headerLines,
                            .printedAt = {},
                            .chart = view->chartPainter(),
                            .chartSize = view->size()};
  QRectF chart;
  ASSERT_TRUE(printReport(printer, content, &chart));
  ASSERT_FALSE(chart.isEmpty());

  const qreal toPt = 72.0 / printer.resolution();
  const QRectF pagePt = printer.pageLayout().paintRectPoints();
  const QRectF chartPt(pagePt.topLeft() + chart.topLeft() * toPt, chart.size() * toPt);
  poppler("pdftoppm", {"-r", "72", "-png", "-singlefile", pdf, dir.filePath(QStringLiteral("page"))});
  const QImage page = QImage(dir.filePath(QStringLiteral("page.png"))).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(page.isNull());
  const QRect inside = chartPt.toAlignedRect().adjusted(2, 2, -2, -2);

  // Scaled to its rectangle's width, neither cropped nor tiny.
  int dark = 0;
  for (int x = inside.left(); x <= inside.right(); ++x)
    dark += qGray(page.pixel(x, inside.center().y())) < 60;
  EXPECT_GT(dark, inside.width() * 0.6);
  const QList<Word> words = pdfWords(pdf);
  QStringList text;
  for (const Word& w : words) text << w.text;
  for (const QString& wanted : {QStringLiteral("Eastside Review Port 3"), ReportTexts::name(type),
                                content.description, QStringLiteral("Level Units: dBmV")})
    EXPECT_TRUE(text.join(' ').contains(wanted)) << wanted.toStdString();
  if (twoD) {
    for (const uint32_t ref : {0x00D8D8u, 0xFF8C00u, 0xFFFF00u})
      EXPECT_GT(near(page, inside, colorFromRef(ref)), 40) << std::hex << ref;
    // Axis labels are text of the page, inside the chart and of a size one reads.
    int labels = 0;
    for (const Word& w : words) {
      if (!chartPt.contains(w.box.center())) continue;
      ++labels;
      EXPECT_TRUE(chartPt.contains(w.box)) << w.text.toStdString();
      // An upright word (the value axis title) is as high as it is long.
      const qreal size = w.text.size() > 1 && w.box.height() > w.box.width() ? w.box.width() : w.box.height();
      EXPECT_GT(size, 5.0) << w.text.toStdString();
      EXPECT_LT(size, 12.0) << w.text.toStdString();
    }
    EXPECT_GT(labels, 10);
  } else {
    // The ribbons' gradient, from the low blue to the high red.
    int gradient = 0;
    for (const QColor& c : {QColor(0, 170, 255), QColor(0, 220, 0), QColor(255, 230, 0), QColor(230, 0, 0)})
      gradient += near(page, inside, c);
    EXPECT_GT(gradient, 200);
  }
  // Nothing spills: between chart and footer, and round the printable area, the paper stays white.
  const QRect below =
      QRectF(QPointF(pagePt.left(), chartPt.bottom() + 3), QPointF(pagePt.right(), pagePt.bottom() - 20))
          .toAlignedRect();
  EXPECT_TRUE(blank(page, below));
  EXPECT_TRUE(blank(page, QRect(0, 0, page.width(), int(pagePt.top()) - 2)));
  EXPECT_TRUE(
      blank(page, QRect(int(pagePt.right()) + 2, 0, page.width() - int(pagePt.right()) - 2, page.height())));
}

INSTANTIATE_TEST_SUITE_P(Types, ReportPrint,
                         ::testing::Values(TimeWindowSummary, OneFreqTimeWindow, TimeWindowDetail,
                                           TwentyFourHour, MultiDay, MultiDayTimeWindow));

}  // namespace
