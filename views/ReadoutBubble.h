#pragma once

#include "views/HoverReadout.h"

#include <QWidget>

// The small box that shows a readout over a chart. It never takes the
// mouse, so the chart underneath keeps every click and drag.
class ReadoutBubble : public QWidget {
  Q_OBJECT
public:
  // A floating bubble is a window of its own, so it also shows over a
  // native child such as the 3D surface; positions stay in parent pixels.
  explicit ReadoutBubble(QWidget* parent, bool floating = false);

  // Shows `lines` beside `pointer`, kept inside `plot` (parent pixels).
  void showAt(const QVector<ReadoutLine>& lines, const QPoint& pointer, const QRect& plot);
  const QVector<ReadoutLine>& lines() const { return m_lines; }
  void setColours(const QColor& background, const QColor& text);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QSize boxFor(const QVector<ReadoutLine>& lines) const;

  QVector<ReadoutLine> m_lines;
  QWidget* m_owner = nullptr;
  bool m_floating = false;
  QColor m_background{32, 32, 32, 224};
  QColor m_text{230, 230, 230};
};
