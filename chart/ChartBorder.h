#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// The frame round a chart, by the appearance records' border codes: 0 none,
// 1 a plain line, 2 raised, 3 lowered. Both charts draw it the same way on
// screen, in copies and on paper.
namespace ChartBorder {

// How far the frame reaches into the chart: what the chart keeps clear.
int inset(int type, int width);

void draw(QPainter& painter, const QRectF& outer, int type, int width, const QColor& colour);

}  // namespace ChartBorder
