#pragma once

#include "chart/Chart3DAppearance.h"
#include "chart/SurfaceBackend.h"
#include "query/NoData.h"

#include <QImage>
#include <QMap>
#include <QString>
#include <QVector>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class ColourLegend;
class QTimer;
class QAction;
class QLabel;
class QStackedWidget;
class QWindow;
class SharedSurface;
class SurfaceBackend;

// The 3D ribbon chart. Its whole state (grid, spacings, axes, labels, view,
// switches, look) lives in plain members that can be set and read without
// OpenGL; the surface is created when the widget is first shown and is
// brought up to date once when batch mode ends.
//
// Axes are numbered as the reports use them: 1 the rows (time steps), 2 the
// columns (frequency), 3 the value. On the surface they are the depth, the
// horizontal and the vertical axis.
class CChart3D : public QWidget {
  Q_OBJECT
public:
  static constexpr int kActionStart = 1;
  static constexpr int kActionEnd = 2;
  static constexpr int kActionZoom = 5;
  static constexpr double kZoomFactor = 1.25;       // per zoom gesture
  static constexpr double kMinimumElevation = 0.0;  // the surface cannot look from below
  static constexpr double kMaximumElevation = 90.0;
  // Above this many cells the chart draws every other row and column while
  // the user drags it round.
  static constexpr int kDecimateAbove = 15000;
  // How long the pointer rests before the cell under it is picked: each pick
  // redraws the scene to mark the cell, too dear for every pointer move.
  static constexpr int kRestingPickMs = 250;

  using ValueLabel = SurfaceBackend::Label;

  struct Axis {
    double minimum = 0.0;
    double maximum = 1.0;
    QString title;
    int titleSetting = 0;
    int labelSize = 33;          // the control's own default
    QVector<ValueLabel> labels;  // empty: the surface's own labels
    QVector<double> levels;      // extra grid lines at these values
  };

  struct View {
    double elevation = 45.0;
    double perspective = 3.0;
    double rotation = 225.0;
    double magnification = 1.0;
    double shiftX = 0.0;
    double shiftY = 0.0;
  };

  explicit CChart3D(QWidget* parent = nullptr);
  ~CChart3D() override;

  // Nested: changes made between on and the matching off reach the surface
  // once, at the off.
  void setBatch(bool on);
  bool inBatch() const { return m_batch > 0; }

  // The grid, 1-based as the reports index it. A new size resets every
  // spacing to 1.0 and every cell to the hole value.
  void setGridSize(int rows, int columns);
  int rowCount() const { return m_rows; }
  int columnCount() const { return m_columns; }
  // The distance from row (column) k to the one before it, k from 1 to
  // count - 1 for the spacing after 1-based row k.
  void setRowSpacing(int row, double spacing);
  void setColumnSpacing(int column, double spacing);
  double rowSpacing(int row) const;
  double columnSpacing(int column) const;
  // Row-major values, rows x columns; a value of the hole value or more is
  // not drawn.
  void setValues(std::vector<double> values);
  double value(int row, int column) const;
  // Positions of rows and columns on their axes: the first at 0, the others
  // by cumulative spacing.
  double rowPosition(int row) const;
  double columnPosition(int column) const;

  // Axes 1 to 3.
  const Axis& axis(int index) const;
  // The surface draws its labels at one size, however long the cube's side:
  // beyond this many along one axis they run into each other.
  static constexpr int kMaxLabelsPerAxis = 25;
  // The labels of `axis` the surface shows: the non-blank ones inside its
  // range, each at least 1/kMaxLabelsPerAxis of the range from the last one
  // shown.
  static QVector<ValueLabel> shownLabels(const Axis& axis);
  void setAxisRange(int index, double minimum, double maximum);
  void setAxisTitle(int index, const QString& title);
  void setAxisTitleSetting(int index, int setting);
  void setAxisLabelSize(int index, int size);
  void clearAxisLabels(int index);
  void addAxisLabel(int index, double value, const QString& text);
  void setAxisLevels(int index, const QVector<double>& levels);

  const View& view() const { return m_view; }
  void setElevation(double degrees);
  void setPerspective(double value);
  void setRotation(double degrees);
  void setMagnification(double value);
  void setShift(double x, double y);

  // A replayed mouse gesture: start, zoom moves, end. Moving down zooms in.
  void action(int code, int x, int y);
  // The plot area's left, top, width and height in pixels.
  QRect plotArea() const;
  void setPlotAreaAutomatic();
  void setRepaint(bool on);

  void setHeaderText(const QString& text);
  QString headerText() const { return m_header; }
  // One line shown over an empty chart; empty for none.
  void setNote(const QString& text);
  QString note() const { return m_note; }

  // The numbered switches of the chart's own menu that mean something here;
  // the others are kept and answered.
  static constexpr int kMenuMouseRotation = 1;
  static constexpr int kMenuWheelZoom = 2;
  static constexpr int kMenuResetView = 6;
  static constexpr int kMenuCopy = 7;
  void setMenuItem(int number, bool on);
  bool menuItem(int number) const;
  // Extra entries for the context menu, after the chart's own.
  void addContextAction(QAction* action);

  const Chart3DAppearance& appearance() const { return m_look; }
  void setAppearance(const Chart3DAppearance& look);

  // The chart as a picture: header, surface and legend.
  QImage image() const;
  QImage image(const QSize& size) const;
  // Format 3 is the picture, offered as PNG.
  bool copyToClipboard(int format) const;

  // Draws the full grid (false) or the thinned one (true) now.
  void setDecimated(bool on);
  bool decimated() const { return m_decimated; }
  // Whether this chart holds the program's one surface: the chart shown last does.
  bool hasSurface() const { return m_surface != nullptr; }
  // The surface's own window, for measuring its frames; null without OpenGL.
  QWindow* surfaceWindow() const;

signals:
  void viewReset();
  // A click, or the pointer resting on the surface, picked a cell of the
  // grid (0-based row and column) at a point of this widget; row -1 when
  // the pick was cleared (the pointer left the surface).
  void cellPicked(int row, int column, const QPoint& at);

protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  enum : int { kDataChanged = 1, kAxesChanged = 2, kViewChanged = 4, kLookChanged = 8, kEverything = 15 };
  // Takes the program's one surface over from the chart that holds it.
  void attachSurface();
  void detachSurface();
  // Notes what changed and, outside batch mode, brings the surface up to date.
  void changed(int what);
  void push();
  void pushData();
  void pushAxes();
  void pushView();
  void pushLook();
  void readBackView();
  // Picks the cell under `pos` (a point of the surface's window) from the
  // camera and the grid; the selection pass only when they cannot tell.
  void pickAt(const QPoint& pos);
  void layoutLegend();
  void showContextMenu(const QPoint& globalPos);
  int cellCount() const { return m_rows * m_columns; }
  bool hasDrawableData() const;

  int m_batch = 0;
  int m_rows = 0;
  int m_columns = 0;
  std::vector<double> m_rowSpacing;
  std::vector<double> m_columnSpacing;
  std::vector<double> m_values;
  std::array<Axis, 3> m_axes{};
  View m_view;
  QMap<int, bool> m_menu;
  QString m_header;
  QString m_note;
  Chart3DAppearance m_look = Chart3DAppearance::defaults();
  int m_dirty = kEverything;  // what the surface has not seen yet
  bool m_decimated = false;
  bool m_pushing = false;
  int m_gestureStartY = 0;
  int m_gestureY = 0;
  bool m_inGesture = false;
  QPoint m_pressPos;
  QPoint m_pickPos;
  QTimer* m_restTimer = nullptr;
  bool m_dragging = false;

  std::shared_ptr<SharedSurface> m_shared;
  // The shared surface and its container while this chart holds it, else null.
  SurfaceBackend* m_surface = nullptr;
  QWidget* m_container = nullptr;
  QStackedWidget* m_plot = nullptr;  // the surface, or the note in its place
  QLabel* m_headerLabel = nullptr;
  QLabel* m_noteLabel = nullptr;
  ColourLegend* m_legend = nullptr;
  QVector<QAction*> m_contextActions;
};
