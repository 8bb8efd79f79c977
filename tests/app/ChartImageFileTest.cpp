#include "app/ChartImageFile.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A chart stand-in: a header band and a red square, enough to find both in
// the written file.
void paintChart(QPainter& p, const QRectF& r) {
  p.fillRect(r, Qt::black);
  p.fillRect(QRectF(r.left(), r.top(), r.width(), 20), Qt::darkGray);
  p.fillRect(QRectF(r.center() - QPointF(10, 10), QSizeF(20, 20)), Qt::red);
}

class ChartImageFileTest : public ::testing::Test {
protected:
  QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
  QByteArray read(const QString& file) const {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QTemporaryDir m_dir;
  const QSize m_size{320, 200};
};

TEST_F(ChartImageFileTest, KindFollowsTheExtension) {
  using K = ChartImageFile::Kind;
  EXPECT_EQ(ChartImageFile::kindOf("a.png"), K::Png);
  EXPECT_EQ(ChartImageFile::kindOf("/x/b.SVG"), K::Svg);
  EXPECT_EQ(ChartImageFile::kindOf("c.Pdf"), K::Pdf);
  EXPECT_EQ(ChartImageFile::kindOf("d.csv"), K::Unknown);
  EXPECT_EQ(ChartImageFile::kindOf("png"), K::Unknown);
}

TEST_F(ChartImageFileTest, PngHasTheChartsSizeAndPixels) {
  ASSERT_TRUE(ChartImageFile::write(path("c.png"), paintChart, m_size));
  const QImage image(path("c.png"));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), m_size);
  EXPECT_EQ(image.pixelColor(160, 100), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(5, 50), QColor(Qt::black));
}

TEST_F(ChartImageFileTest, SvgIsAVectorDrawingOfTheChartsSize) {
  ASSERT_TRUE(ChartImageFile::write(path("c.svg"), paintChart, m_size));
  QDomDocument doc;
  ASSERT_TRUE(doc.setContent(read(path("c.svg"))));
  const QDomElement svg = doc.documentElement();
  EXPECT_EQ(svg.tagName(), "svg");
  EXPECT_EQ(svg.attribute("viewBox"), "0 0 320 200");
  EXPECT_TRUE(read(path("c.svg")).contains("#ff0000"));
}

TEST_F(ChartImageFileTest, PdfIsOnePageOfTheChartsSize) {
  ASSERT_TRUE(ChartImageFile::write(path("c.pdf"), paintChart, m_size));
  const QByteArray pdf = read(path("c.pdf"));
  ASSERT_TRUE(pdf.startsWith("%PDF-"));
  EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
  // 320 x 200 pixels at 96 per inch are 240 x 150 points.
  const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
  const auto m = box.match(QString::fromLatin1(pdf));
  ASSERT_TRUE(m.hasMatch());
  EXPECT_NEAR(m.captured(1).toDouble(), 240.0, 0.5);
  EXPECT_NEAR(m.captured(2).toDouble(), 150.0, 0.5);
}

TEST_F(ChartImageFileTest, FailuresSayWhyAndLeaveTheOldFile) {
  const QString target = path("keep.png");
  {
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
  }
  struct Case {
    QString path;
    ChartPainter paint;
    QSize size;
  } cases[] = {
      {path("chart.bmp"), paintChart, m_size},         // a kind we do not write
      {target, paintChart, QSize()},                   // no chart area
      {target, ChartPainter(), m_size},                // no chart
      {path("missing/dir/c.png"), paintChart, m_size}, // a folder that does not exist
  };
  for (const auto& c : cases) {
    const ExportFile::Result r = ChartImageFile::write(c.path, c.paint, c.size);
    EXPECT_FALSE(r.ok) << c.path.toStdString();
    EXPECT_TRUE(r.error.contains(QDir::toNativeSeparators(c.path))) << r.error.toStdString();
  }
  EXPECT_EQ(read(target), "old");
  EXPECT_FALSE(QFile::exists(path("chart.bmp")));
  // Only the target is left: no temporary file survives a failed write.
  EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"keep.png"});
}

}  // namespace
