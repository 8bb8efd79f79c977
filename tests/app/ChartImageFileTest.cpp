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

// The extension picks the kind; each file is the chart at its size: a PNG of
// its pixels, an SVG drawing, a one-page PDF (320 x 200 pixels at 96 per inch
// are 240 x 150 points).
TEST_F(ChartImageFileTest, EachKindHoldsTheChartAtItsSize) {
  EXPECT_EQ(ChartImageFile::kindOf("/x/b.SVG"), ChartImageFile::Kind::Svg);
  EXPECT_EQ(ChartImageFile::kindOf("png"), ChartImageFile::Kind::Unknown);
  for (const char* name : {"c.png", "c.Svg", "c.pdf"})
    ASSERT_TRUE(ChartImageFile::write(path(name), paintChart, m_size));
  const QImage image(path("c.png"));
  EXPECT_EQ(image.size(), m_size);
  EXPECT_EQ(image.pixelColor(160, 100), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(5, 50), QColor(Qt::black));

  QDomDocument svg;
  ASSERT_TRUE(svg.setContent(read(path("c.Svg"))));
  EXPECT_EQ(svg.documentElement().tagName(), "svg");
  EXPECT_EQ(svg.documentElement().attribute("viewBox"), "0 0 320 200");
  EXPECT_TRUE(read(path("c.Svg")).contains("#ff0000"));

  const QByteArray pdf = read(path("c.pdf"));
  EXPECT_TRUE(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
  const auto box = QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
                       .match(QString::fromLatin1(pdf));
  EXPECT_NEAR(box.captured(1).toDouble(), 240.0, 0.5);
  EXPECT_NEAR(box.captured(2).toDouble(), 150.0, 0.5);
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
      {path("chart.bmp"), paintChart, m_size},          // a kind we do not write
      {target, paintChart, QSize()},                    // no chart area
      {target, ChartPainter(), m_size},                 // no chart
      {path("missing/dir/c.png"), paintChart, m_size},  // a folder that does not exist
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
