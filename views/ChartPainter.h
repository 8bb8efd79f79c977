#pragma once

#include <functional>

class QPainter;
class QRectF;

// Draws a report's chart into the rectangle it is given; the 2D chart paints
// itself as vectors, the 3D chart hands over an image.
using ChartPainter = std::function<void(QPainter&, const QRectF&)>;
