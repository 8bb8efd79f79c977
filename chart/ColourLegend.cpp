#include "chart/ColourLegend.h"

#include <QPainter>

ColourLegend::ColourLegend(QWidget* parent) : QWidget(parent) {
  setAccessibleName(QStringLiteral("Legend"));
}

QGradientStops ColourLegend::stops() {
  return {{0.0, QColor(0, 0, 160)},
          {0.25, QColor(0, 170, 255)},
          {0.5, QColor(0, 220, 0)},
          {0.75, QColor(255, 230, 0)},
          {1.0, QColor(230, 0, 0)}};
}

QGradientStops ColourLegend::divergingStops() {
  return {{0.0, QColor(20, 60, 200)}, {0.5, zeroColour()}, {1.0, QColor(210, 20, 20)}};
}

void ColourLegend::setRange(double minimum, double maximum) {
  m_minimum = minimum;
  m_maximum = maximum;
  update();
}

void ColourLegend::setTitle(const QString& title) {
  m_title = title;
  updateGeometry();
  update();
}

void ColourLegend::setVertical(bool vertical) {
  m_vertical = vertical;
  updateGeometry();
  update();
}

void ColourLegend::setColours(const QColor& background, const QColor& text) {
  m_background = background;
  m_text = text;
  update();
}

QSize ColourLegend::sizeHint() const {
  const QFontMetrics fm(font());
  if (m_vertical) return {std::max(70, fm.horizontalAdvance(m_title) + 12), 200};
  return {240, fm.height() * 3 + 16};
}

void ColourLegend::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), m_background);
  p.setPen(m_text);
  const QFontMetrics fm(font());
  const int titleHeight = m_title.isEmpty() ? 0 : fm.height() + 4;
  if (titleHeight) p.drawText(QRect(0, 2, width(), fm.height()), Qt::AlignHCenter, m_title);
  const QString top = QString::number(m_maximum, 'g', 4);
  const QString bottom = QString::number(m_minimum, 'g', 4);
  if (m_vertical) {
    const QRect bar(8, titleHeight + fm.height() / 2 + 4, 16, height() - titleHeight - fm.height() - 12);
    QLinearGradient g(bar.bottomLeft(), bar.topLeft());
    g.setStops(stops());
    p.fillRect(bar, g);
    p.drawText(bar.right() + 6, bar.top() + fm.ascent() / 2, top);
    p.drawText(bar.right() + 6, bar.bottom() + fm.ascent() / 2, bottom);
  } else {
    const QRect bar(8, titleHeight + 4, width() - 16, 14);
    QLinearGradient g(bar.topLeft(), bar.topRight());
    g.setStops(stops());
    p.fillRect(bar, g);
    p.drawText(bar.left(), bar.bottom() + fm.ascent() + 4, bottom);
    p.drawText(bar.right() - fm.horizontalAdvance(top), bar.bottom() + fm.ascent() + 4, top);
  }
}
