#pragma once

#include "chart/Chart2DState.h"

#include <QMap>
#include <QSet>
#include <QWidget>
#include <array>

class QCustomPlot;
class QCPGraph;
class QCPItemText;
class QCPLayer;
class QPainter;

// The 2D line chart of the Time Window Summary and One Frequency reports.
// Everything the views set lives in `state()`, plain data the report logic
// and its tests read back without painting; the QCustomPlot underneath only
// mirrors it, once per batch.
class CChart2D : public QWidget {
  Q_OBJECT
public:
  // Action codes of the gesture replay.
  static constexpr int kActionStart = 1;
  static constexpr int kActionEnd = 2;
  static constexpr int kActionZoom = 4;
  static constexpr int kActionResetZoom = 10;
  // Virtual-key codes the views see for the keypad 4 and 6 (and the arrows).
  static constexpr int kKeyPrevious = 100;
  static constexpr int kKeyNext = 102;
  // Message numbers of the action map.
  static constexpr int kLeftButtonDown = 0x0201;
  static constexpr int kMiddleButtonDown = 0x0207;
  static constexpr int kKeyDown = 0x0100;
  static constexpr int kMouseMove = 0x0200;
  // Modifier flags and key codes of the action map, as the messages carry them.
  static constexpr int kNoModifier = 0;
  static constexpr int kShiftFlag = 4;
  static constexpr int kControlFlag = 8;
  static constexpr int kMiddleButtonFlag = 16;
  static constexpr int kNoKey = 0;
  static constexpr int kKeyR = 82;

  explicit CChart2D(QWidget* parent = nullptr);
  ~CChart2D() override;

  const Chart2DState& state() const { return m_state; }
  // Changes made through `edit()` show when batch mode ends, or at once
  // when it is off.
  Chart2DState& edit();
  void setBatch(bool on);
  bool isBatch() const { return m_batchDepth > 0; }

  // Series data with Blocks::NO_DATA for a missing sample.
  void setSeries(int group, int series, const double* x, const double* y, int count);
  void setDisplay(int group, int series, int state);
  void setLabel(int index, const QString& text, bool shown);
  // Series drawn on a layer of their own (the markers): a change to them or
  // to the labels repaints that layer alone.
  void setOverlaySeries(int group, int series);
  // The labels, for a change that touches nothing else.
  Chart2DState& editLabels();

  // Gesture replay in widget pixels: start, zoom..., end zooms into the
  // rectangle the gesture spanned; 10 goes back to the full range.
  void action(int code, int x, int y);
  // The action map: bindings of (message, modifier flags, key).
  bool hasAction(int message, int modifiers, int key) const;
  void removeAction(int message, int modifiers, int key);

  // The visible x range (after a zoom) and the pixel conversions of the
  // plot, in widget coordinates.
  double visibleXMin() const;
  double visibleXMax() const;
  double pixelToX(int px) const;
  double pixelToY(int py) const;
  int xToPixel(double x) const;
  QRect plotRect() const;
  QRect labelRect(int index) const;  // empty when hidden

  // Format code 3 is the one the reports ask for: a bitmap image.
  void copyToClipboard(int format);
  // Paints the chart into `target` as vectors, as printing and SVG want.
  void paint(QPainter& painter, const QRectF& target) const;
  QImage image(const QSize& size);

  // Replots now, whatever the batch mode; tests and benches wait on it.
  void replotNow();

signals:
  void mousePressed(Qt::MouseButton button, int x, int y);
  void mouseMoved(Qt::MouseButtons buttons, int x, int y);
  void mouseReleased(Qt::MouseButton button, int x, int y);
  // The pointer has left the chart (moves without a button arrive as
  // mouseMoved too).
  void pointerLeft();
  void keyPressed(int virtualKey);
  void contextMenuRequested(const QPoint& globalPos);

protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void push();
  void pushOverlay();
  // Runs `apply` once the event loop is back, if `dirty` is still set and no
  // batch has begun: many edits in one handler draw once.
  void pushLater(bool CChart2D::*dirty, void (CChart2D::*apply)());
  void pushGraph(int group, int series);
  void markOverlay();
  bool isOverlay(int group, int series) const;
  void pushAxes();
  void pushSeries();
  void pushLabels();
  void pushEarlier();
  void pushLook();
  QCPGraph* graph(int group, int series) const;

  Chart2DState m_state;
  int m_batchDepth = 0;
  bool m_dirty = false;
  bool m_overlayDirty = false;
  bool m_replotPending = false;
  QSet<int> m_overlaySlots;
  QCPLayer* m_overlay = nullptr;
  QCustomPlot* m_plot = nullptr;
  QVector<QCPGraph*> m_graphs;         // group 1 slots, then group 2 slots
  QVector<QCPGraph*> m_earlierGraphs;  // made as comparisons need them
  QCPLayer* m_earlierLayer = nullptr;
  // What each graph and axis was last given, so a push that changed only a
  // label or a marker does not convert every series again.
  QVector<QVector<double>> m_pushedX, m_pushedY;
  std::array<QMap<double, QString>, 3> m_pushedLabels;
  QVector<QCPItemText*> m_labels;
  QCPItemText* m_header = nullptr;
  QCPItemText* m_note = nullptr;
  QPoint m_gestureStart;
  QPoint m_gestureEnd;
  bool m_gesture = false;
  bool m_zoomed = false;
  double m_zoomXMin = 0, m_zoomXMax = 0, m_zoomYMin = 0, m_zoomYMax = 0;
  QSet<qint64> m_actionMap;
};
