#include "chart/ChartBorder.h"

#include <QPainter>
#include <algorithm>

namespace ChartBorder {

int inset(int type, int width) {
  return type == 0 ? 0 : std::clamp(width, 0, 64);
}

void draw(QPainter& painter, const QRectF& outer, int type, int width, const QColor& colour) {
  const int w = inset(type, width);
  if (w == 0) return;
  painter.save();
  painter.setBrush(Qt::NoBrush);
  const double half = w / 2.0;
  const QRectF line = outer.adjusted(half, half, -half, -half);
  if (type == 2 || type == 3) {
    // Light falls from the top left: a raised frame is lit there, a lowered
    // one is in shadow there.
    const QColor lit = colour.lighter(160), shade = colour.darker(200);
    const QColor topLeft = type == 2 ? lit : shade, bottomRight = type == 2 ? shade : lit;
    painter.setPen(QPen(topLeft, w, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(line.bottomLeft(), line.topLeft());
    painter.drawLine(line.topLeft(), line.topRight());
    painter.setPen(QPen(bottomRight, w, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(line.topRight(), line.bottomRight());
    painter.drawLine(line.bottomRight(), line.bottomLeft());
  } else {
    painter.setPen(QPen(colour, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(line);
  }
  painter.restore();
}

}  // namespace ChartBorder
