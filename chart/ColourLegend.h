#pragma once

#include <QLinearGradient>
#include <QWidget>

// The colour scale beside the chart: the surface's gradient with the value
// range it spans and the legend title.
class ColourLegend : public QWidget {
  Q_OBJECT
public:
  explicit ColourLegend(QWidget* parent = nullptr);

  // The colours of the surface from the bottom (0) to the top (1) of the
  // value axis.
  static QGradientStops stops();
  // The colours of a difference centred on zero: blue below, the zero
  // colour at the middle, red above.
  static QGradientStops divergingStops();
  static QColor zeroColour() { return QColor(235, 235, 235); }

  void setRange(double minimum, double maximum);
  void setTitle(const QString& title);
  void setVertical(bool vertical);
  void setColours(const QColor& background, const QColor& text);

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  double m_minimum = 0.0;
  double m_maximum = 1.0;
  QString m_title;
  bool m_vertical = true;
  QColor m_background = Qt::black;
  QColor m_text = Qt::green;
};
