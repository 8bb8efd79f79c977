#pragma once

#include <QColor>
#include <QMap>
#include <QWidget>

#include <vector>

class QCustomPlot;
class QCPColorMap;
class QCPColorScale;
class QCPTextElement;
class QPainter;

// A ribbon report drawn flat: a colour map of cells across (frequency) by
// rows (ribbons, the first at the bottom), in the colours of the 3D chart's
// legend. NaN cells are not painted, so the plot background shows through.
class CHeatMap : public QWidget {
  Q_OBJECT
public:
  static constexpr double kZoomFactor = 1.25;  // per zoom command, as the 3D chart

  explicit CHeatMap(QWidget* parent = nullptr);
  ~CHeatMap() override;

  // `values` holds rows x cells, row-major; cell k of a row spans the x
  // range [x0, x1] evenly.
  void setData(int cells, int rows, double x0, double x1, const std::vector<double>& values);
  void setValueRange(double low, double high);
  // The x range the report shows (its frequency window) and the labels of
  // both axes; a zoom works inside it.
  void setXRange(double low, double high);
  void setAxisLabels(const QMap<double, QString>& x, const QMap<double, QString>& y);
  void setHeader(const QString& text);
  void setValueTitle(const QString& title);
  void setColours(const QColor& area, const QColor& text, const QColor& plot);
  // A difference map: the diverging scale, zero at its middle, over
  // -limit .. limit; false goes back to the report's own scale.
  void setDiverging(bool on, double limit = 1.0);
  bool diverging() const { return m_diverging; }

  void zoom(int direction);  // 0 in, 1 out
  void resetZoom();
  // Back to a zoom taken before new data (xMin() to yMax()).
  void setVisibleRange(double x0, double x1, double y0, double y1);
  // The frequency labels the axis shows after the last draw, left to right.
  QStringList shownXLabels() const;
  double xMin() const;
  double xMax() const;
  double yMin() const;
  double yMax() const;

  QRect plotRect() const;  // widget pixels
  // The data coordinates under a widget pixel; false outside the plot.
  bool coordsAt(const QPoint& pixel, double& x, double& y) const;

  QImage image();
  void paint(QPainter& painter, const QRectF& target);
  // Draws now; benches and tests wait on it.
  void replotNow();

signals:
  void pointerMoved(int x, int y);
  void pointerLeft();
  void contextMenuRequested(const QPoint& globalPos);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  // The frequency labels that fit at the current width: a label closer to
  // the one before than the widest label is left out.
  void fitXLabels();

  QCustomPlot* m_plot = nullptr;
  QMap<double, QString> m_xLabels;
  QCPColorMap* m_map = nullptr;
  QCPColorScale* m_scale = nullptr;
  QCPTextElement* m_header = nullptr;
  double m_xLow = 0.0, m_xHigh = 1.0;
  int m_rows = 0;
  bool m_diverging = false;
};
