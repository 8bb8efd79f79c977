#include "chart/CChart3D.h"
#include "chart/ChartBorder.h"
#include "core/ColorRef.h"

#include <QImage>
#include <QLayout>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QColor kBack(Qt::black);
const QColor kLine(40, 160, 90);

QImage framed(int type, int width) {
  QImage image(200, 160, QImage::Format_RGB32);
  image.fill(kBack);
  QPainter p(&image);
  ChartBorder::draw(p, QRectF(image.rect()), type, width, kLine);
  return image;
}

struct Frame {
  int type;
  int width;
  int inset;  // pixels the frame covers from each edge
};

class BorderFrame : public ::testing::TestWithParam<Frame> {};

TEST_P(BorderFrame, CoversExactlyItsWidthOnEverySide) {
  const Frame f = GetParam();
  EXPECT_EQ(ChartBorder::inset(f.type, f.width), f.inset);
  const QImage image = framed(f.type, f.width);
  const QPoint inside[] = {{f.inset, 80}, {199 - f.inset, 80}, {100, f.inset}, {100, 159 - f.inset}};
  for (const QPoint& p : inside) EXPECT_EQ(QColor(image.pixel(p)), kBack) << p.x() << "," << p.y();
  if (f.inset == 0) return;
  const QPoint edge[] = {{0, 80},    {199, 80},         {100, 0},
                         {100, 159}, {f.inset - 1, 80}, {199 - (f.inset - 1), 80}};
  for (const QPoint& p : edge) EXPECT_NE(QColor(image.pixel(p)), kBack) << p.x() << "," << p.y();
}

INSTANTIATE_TEST_SUITE_P(Codes, BorderFrame,
                         ::testing::Values(Frame{0, 5, 0}, Frame{1, 0, 0}, Frame{1, 1, 1}, Frame{1, 4, 4},
                                           Frame{2, 3, 3}, Frame{3, 3, 3}, Frame{1, 500, 64},
                                           Frame{1, -2, 0}));

TEST(BorderFrame, PlainIsTheColourRaisedIsLitTopLeftLoweredBottomRight) {
  const QImage plain = framed(1, 2);
  EXPECT_EQ(QColor(plain.pixel(0, 80)), kLine);
  EXPECT_EQ(QColor(plain.pixel(199, 80)), kLine);
  const QImage raised = framed(2, 2), lowered = framed(3, 2);
  const auto lightness = [](QRgb c) { return QColor(c).lightness(); };
  EXPECT_GT(lightness(raised.pixel(100, 0)), lightness(raised.pixel(100, 159)));
  EXPECT_GT(lightness(raised.pixel(0, 80)), lightness(raised.pixel(199, 80)));
  EXPECT_LT(lightness(lowered.pixel(100, 0)), lightness(lowered.pixel(100, 159)));
  EXPECT_LT(lightness(lowered.pixel(0, 80)), lightness(lowered.pixel(199, 80)));
}

// The 3D chart keeps its header, surface and legend clear of the frame, and
// the frame shows in its picture (what Copy and Save Chart Image take).
TEST(CChart3DBorder, FrameIsDrawnAndKeptClearOfTheContent) {
  CChart3D chart;
  chart.resize(640, 400);
  Chart3DAppearance look = Chart3DAppearance::defaults();
  look.borderType = 1;
  look.borderWidth = 6;
  look.interiorForeground = 0x0000FF;  // red
  chart.setAppearance(look);
  EXPECT_EQ(chart.layout()->contentsMargins(), QMargins(6, 6, 6, 6));
  const QImage picture = chart.image();
  EXPECT_EQ(QColor(picture.pixel(2, 200)), QColor(Qt::red));
  EXPECT_EQ(QColor(picture.pixel(637, 200)), QColor(Qt::red));
  look.borderType = 0;
  chart.setAppearance(look);
  EXPECT_EQ(chart.layout()->contentsMargins(), QMargins(0, 0, 0, 0));
  EXPECT_NE(QColor(chart.image().pixel(2, 200)), QColor(Qt::red));
}

}  // namespace
