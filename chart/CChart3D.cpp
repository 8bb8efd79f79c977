#include "chart/CChart3D.h"

#include "chart/ChartBorder.h"
#include "chart/ColourLegend.h"
#include "chart/SharedSurface.h"
#include "chart/SurfaceBackend.h"
#include "chart/SurfaceGrid.h"
#include "core/ColorRef.h"
#include "resources/Strings.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QTimer>
#include <QWindow>

#include <cmath>
#include <optional>

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}

// The camera's zoom at magnification 1.0. At the surface's own 100 % the
// cube seen from the default angles overfills the view, and its nearest
// corner and labels fall off the bottom edge.
constexpr double kFitZoomPercent = 70.0;
// Seen from above, the cube's near corner and its labels reach further down
// than its top reaches up; aiming below the centre moves the cube up into
// the room above it.
constexpr double kFitTargetY = -0.3;

double wrapDegrees(double d) {
  double r = std::fmod(d, 360.0);
  if (r > 180.0) r -= 360.0;
  if (r <= -180.0) r += 360.0;
  return r;
}

}  // namespace

CChart3D::CChart3D(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  m_headerLabel = new QLabel(this);
  m_headerLabel->setAlignment(Qt::AlignCenter);
  m_headerLabel->setAccessibleName(QStringLiteral("Header"));
  m_legend = new ColourLegend(this);
  m_noteLabel = new QLabel(this);
  m_noteLabel->setAlignment(Qt::AlignCenter);
  m_noteLabel->setAutoFillBackground(true);
  auto* stack = m_plot = new QStackedWidget(this);
  stack->addWidget(m_noteLabel);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  outer->addWidget(m_headerLabel);
  auto* body = new QBoxLayout(QBoxLayout::LeftToRight);
  body->setContentsMargins(0, 0, 0, 0);
  body->setSpacing(0);
  body->addWidget(stack, 1);
  body->addWidget(m_legend);
  outer->addLayout(body, 1);
  for (int n : {1, 2, 6, 7}) m_menu.insert(n, true);
  m_restTimer = new QTimer(this);
  m_restTimer->setSingleShot(true);
  m_restTimer->setInterval(kRestingPickMs);
  connect(m_restTimer, &QTimer::timeout, this, [this] {
    if (!m_dragging) pickAt(m_pickPos);
  });
  setContextMenuPolicy(Qt::DefaultContextMenu);
  pushLook();
}

CChart3D::~CChart3D() {
  if (!m_shared || m_shared->holder() != this) return;
  // The surface outlives this chart while other charts hold it; it must not
  // go down with this chart's children.
  QWidget* container = m_container;
  detachSurface();
  container->hide();
  container->setParent(nullptr);
}

void CChart3D::setBatch(bool on) {
  if (on) {
    ++m_batch;
    return;
  }
  if (m_batch > 0 && --m_batch == 0) push();
}

void CChart3D::setGridSize(int rows, int columns) {
  m_rows = std::max(0, rows);
  m_columns = std::max(0, columns);
  m_rowSpacing.assign(static_cast<size_t>(std::max(0, m_rows - 1)), 1.0);
  m_columnSpacing.assign(static_cast<size_t>(std::max(0, m_columns - 1)), 1.0);
  m_values.assign(static_cast<size_t>(cellCount()), Blocks::NO_DATA);
  changed(kDataChanged);
}

void CChart3D::setRowSpacing(int row, double spacing) {
  if (row < 1 || row >= m_rows) return;
  m_rowSpacing[static_cast<size_t>(row - 1)] = spacing;
  m_dirty |= kDataChanged;
}

void CChart3D::setColumnSpacing(int column, double spacing) {
  if (column < 1 || column >= m_columns) return;
  m_columnSpacing[static_cast<size_t>(column - 1)] = spacing;
  m_dirty |= kDataChanged;
}

double CChart3D::rowSpacing(int row) const {
  return row >= 1 && row < m_rows ? m_rowSpacing[static_cast<size_t>(row - 1)] : 0.0;
}

double CChart3D::columnSpacing(int column) const {
  return column >= 1 && column < m_columns ? m_columnSpacing[static_cast<size_t>(column - 1)] : 0.0;
}

void CChart3D::setValues(std::vector<double> values) {
  values.resize(static_cast<size_t>(cellCount()), Blocks::NO_DATA);
  m_values = std::move(values);
  changed(kDataChanged);
}

double CChart3D::value(int row, int column) const {
  if (row < 1 || row > m_rows || column < 1 || column > m_columns) return Blocks::NO_DATA;
  return m_values[static_cast<size_t>((row - 1) * m_columns + column - 1)];
}

double CChart3D::rowPosition(int row) const {
  double p = 0.0;
  for (int r = 1; r < row && r < m_rows; ++r) p += m_rowSpacing[static_cast<size_t>(r - 1)];
  return p;
}

double CChart3D::columnPosition(int column) const {
  double p = 0.0;
  for (int c = 1; c < column && c < m_columns; ++c) p += m_columnSpacing[static_cast<size_t>(c - 1)];
  return p;
}

const CChart3D::Axis& CChart3D::axis(int index) const {
  return m_axes.at(static_cast<size_t>(std::clamp(index, 1, 3) - 1));
}

QVector<CChart3D::ValueLabel> CChart3D::shownLabels(const Axis& axis) {
  const double low = std::min(axis.minimum, axis.maximum), high = std::max(axis.minimum, axis.maximum);
  const double gap = (high - low) / kMaxLabelsPerAxis;
  QVector<ValueLabel> shown;
  for (const ValueLabel& l : axis.labels) {
    if (l.text.trimmed().isEmpty() || l.value < low || l.value > high) continue;
    if (!shown.isEmpty() && std::abs(l.value - shown.back().value) < gap) continue;
    shown.append(l);
  }
  return shown;
}

void CChart3D::setAxisRange(int index, double minimum, double maximum) {
  if (index < 1 || index > 3) return;
  Axis& a = m_axes[static_cast<size_t>(index - 1)];
  a.minimum = minimum;
  a.maximum = maximum;
  changed(kAxesChanged);
}

void CChart3D::setAxisTitle(int index, const QString& title) {
  if (index < 1 || index > 3) return;
  m_axes[static_cast<size_t>(index - 1)].title = title;
  changed(kAxesChanged);
}

void CChart3D::setAxisTitleSetting(int index, int setting) {
  if (index >= 1 && index <= 3) m_axes[static_cast<size_t>(index - 1)].titleSetting = setting;
}

void CChart3D::setAxisLabelSize(int index, int size) {
  if (index >= 1 && index <= 3) m_axes[static_cast<size_t>(index - 1)].labelSize = size;
}

void CChart3D::clearAxisLabels(int index) {
  if (index < 1 || index > 3) return;
  m_axes[static_cast<size_t>(index - 1)].labels.clear();
  changed(kAxesChanged);
}

void CChart3D::addAxisLabel(int index, double value, const QString& label) {
  if (index < 1 || index > 3) return;
  m_axes[static_cast<size_t>(index - 1)].labels.append({value, label});
  changed(kAxesChanged);
}

void CChart3D::setAxisLevels(int index, const QVector<double>& levels) {
  if (index < 1 || index > 3) return;
  m_axes[static_cast<size_t>(index - 1)].levels = levels;
  changed(kAxesChanged);
}

void CChart3D::setElevation(double degrees) {
  m_view.elevation = std::clamp(degrees, kMinimumElevation, kMaximumElevation);
  changed(kViewChanged);
}

void CChart3D::setPerspective(double value) {
  m_view.perspective = value;
  changed(kViewChanged);
}

void CChart3D::setRotation(double degrees) {
  m_view.rotation = degrees;
  changed(kViewChanged);
}

void CChart3D::setMagnification(double value) {
  // The surface's camera zooms between 10 % and 500 %.
  m_view.magnification = std::clamp(value, 10.0 / kFitZoomPercent, 500.0 / kFitZoomPercent);
  changed(kViewChanged);
}

void CChart3D::setShift(double x, double y) {
  m_view.shiftX = x;
  m_view.shiftY = y;
  changed(kViewChanged);
}

void CChart3D::action(int code, int x, int y) {
  (void)x;
  switch (code) {
    case kActionStart:
      m_inGesture = true;
      m_gestureStartY = m_gestureY = y;
      break;
    case kActionZoom:
      if (m_inGesture) m_gestureY = y;
      break;
    case kActionEnd:
      if (!m_inGesture) break;
      m_inGesture = false;
      if (y != m_gestureY) m_gestureY = y;
      if (m_gestureY > m_gestureStartY)
        setMagnification(m_view.magnification * kZoomFactor);
      else if (m_gestureY < m_gestureStartY)
        setMagnification(m_view.magnification / kZoomFactor);
      break;
    default: break;
  }
}

QRect CChart3D::plotArea() const {
  QRect r = m_plot->geometry();
  if (r.isEmpty()) r = QRect(0, 0, std::max(width(), 1), std::max(height(), 1));
  return r;
}

void CChart3D::setPlotAreaAutomatic() {
  if (QLayout* l = layout()) l->invalidate();
}

void CChart3D::setRepaint(bool on) {
  setUpdatesEnabled(on);
}

void CChart3D::setHeaderText(const QString& header) {
  m_header = header;
  m_headerLabel->setText(header);
  m_headerLabel->setVisible(!header.isEmpty());
}

void CChart3D::setNote(const QString& note) {
  m_note = note;
  changed(0);
}

void CChart3D::setMenuItem(int number, bool on) {
  m_menu.insert(number, on);
  if (m_surface) m_surface->setInput(menuItem(kMenuMouseRotation), menuItem(kMenuWheelZoom));
}

bool CChart3D::menuItem(int number) const {
  return m_menu.value(number, false);
}

void CChart3D::addContextAction(QAction* action) {
  m_contextActions.append(action);
}

void CChart3D::setAppearance(const Chart3DAppearance& look) {
  m_look = look;
  changed(kLookChanged);
}

bool CChart3D::hasDrawableData() const {
  if (m_rows < 2 || m_columns < 2) return false;
  return std::any_of(m_values.begin(), m_values.end(), [](double v) { return !isNoData(v); });
}

void CChart3D::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter p(this);
  ChartBorder::draw(p, QRectF(rect()), m_look.borderType, m_look.borderWidth,
                    colorFromRef(m_look.interiorForeground));
}

void CChart3D::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  attachSurface();
}

void CChart3D::attachSurface() {
  if (!m_shared) m_shared = SharedSurface::acquire();
  if (!m_shared) {
    changed(0);
    return;
  }
  if (m_shared->holder() == this) return;
  if (auto* previous = qobject_cast<CChart3D*>(m_shared->holder())) previous->detachSurface();
  m_shared->setHolder(this);
  m_surface = &m_shared->surface();
  m_container = m_shared->container();
  m_container->setAccessibleName(accessibleName());
  m_plot->addWidget(m_container);
  m_surface->window()->installEventFilter(this);
  m_surface->selectedPointChanged = [this](const QPoint& cell) {
    // While decimated the surface's columns are not the grid's.
    if (cell == SurfaceBackend::noCell() || m_decimated)
      emit cellPicked(-1, -1, {});
    else
      emit cellPicked(cell.x(), cell.y(), m_container ? m_container->mapTo(this, m_pickPos) : m_pickPos);
  };
  m_surface->cameraChanged = [this] { readBackView(); };
  setMenuItem(kMenuMouseRotation, menuItem(kMenuMouseRotation));
  // A chart is shown just before its view hands it a new report; waiting for
  // the event loop puts the grid on the surface once, not twice.
  m_dirty |= kEverything;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (m_dirty && !inBatch()) push();
      },
      Qt::QueuedConnection);
}

void CChart3D::detachSurface() {
  m_restTimer->stop();
  m_dragging = false;
  m_decimated = false;
  m_surface->window()->removeEventFilter(this);
  m_surface->selectedPointChanged = nullptr;
  m_surface->cameraChanged = nullptr;
  m_surface->setSelectedPoint(SurfaceBackend::noCell());
  m_plot->removeWidget(m_container);
  m_plot->setCurrentWidget(m_noteLabel);
  m_shared->setHolder(nullptr);
  m_surface = nullptr;
  m_container = nullptr;
}

void CChart3D::pickAt(const QPoint& pos) {
  m_pickPos = pos;
  // While decimated the surface's columns are not the grid's.
  if (!m_surface || m_decimated) return;
  const std::optional<QPoint> computed = m_surface->computedPick(pos);
  if (!computed) {
    m_surface->querySelection(pos);  // the selection pass answers, a frame later
    return;
  }
  const QPoint cell = *computed;
  if (cell != m_surface->selectedPoint())
    m_surface->setSelectedPoint(cell);  // selectedPointChanged reads it out, at once
  else if (cell != SurfaceBackend::noCell())
    emit cellPicked(cell.x(), cell.y(), m_container->mapTo(this, pos));
}

void CChart3D::changed(int what) {
  m_dirty |= what;
  if (!inBatch()) push();
}

void CChart3D::push() {
  m_pushing = true;
  const int dirty = m_dirty;
  m_dirty = 0;
  if (dirty & kDataChanged) pushData();
  if (dirty & kAxesChanged) pushAxes();
  if (dirty & kViewChanged) pushView();
  if (dirty & kLookChanged) pushLook();
  const bool drawable = hasDrawableData() && m_note.isEmpty();
  if (m_container && drawable) {
    m_plot->setCurrentWidget(m_container);
  } else {
    QString note = m_note;
    if (note.isEmpty() && !m_surface && (!SharedSurface::available() || SharedSurface::moduleMissing()))
      note = text(Strings::IDS_CHART3D_NO_OPENGL);
    m_noteLabel->setText(note);
    m_plot->setCurrentWidget(m_noteLabel);
  }
  m_pushing = false;
}

void CChart3D::pushData() {
  if (!m_surface) return;
  if (!hasDrawableData()) {
    m_surface->setGrid({}, 1);
    return;
  }
  // While the user drags a large grid round, fewer columns keep llvmpipe
  // near interactive rates.
  const int step = m_decimated ? columnStepFor(cellCount(), kDecimateAbove) : 1;
  m_surface->setGrid({m_rows, m_columns, &m_rowSpacing, &m_columnSpacing, &m_values}, step);
}

void CChart3D::pushAxes() {
  m_legend->setRange(m_axes[2].minimum, m_axes[2].maximum);
  if (!m_surface) return;
  for (size_t i = 0; i < 3; ++i) {
    const Axis& a = m_axes[i];
    SurfaceBackend::AxisMarks marks;
    marks.minimum = a.minimum;
    marks.maximum = a.maximum > a.minimum ? a.maximum : a.minimum + 1.0;
    marks.title = a.title;
    marks.grid = a.levels;
    for (const ValueLabel& l : a.labels)
      if (!l.text.trimmed().isEmpty()) marks.grid.append(l.value);
    marks.labels = shownLabels(a);
    m_surface->setAxis(static_cast<int>(i), marks);
  }
}

void CChart3D::pushView() {
  if (!m_surface) return;
  // The camera looks from the front at rotation 0; the chart's angles count
  // from the other side of the cube.
  SurfaceBackend::Camera camera;
  camera.xRotation = static_cast<float>(wrapDegrees(m_view.rotation - 180.0));
  camera.yRotation = static_cast<float>(m_view.elevation);
  camera.zoomLevel = static_cast<float>(m_view.magnification * kFitZoomPercent);
  camera.target =
      QVector3D(static_cast<float>(m_view.shiftX), static_cast<float>(m_view.shiftY + kFitTargetY), 0.0f);
  camera.ortho = m_view.perspective <= 0.0;
  m_surface->setCamera(camera);
}

void CChart3D::readBackView() {
  if (m_pushing || !m_surface) return;
  const SurfaceBackend::Camera camera = m_surface->camera();
  m_view.rotation = static_cast<double>(camera.xRotation) + 180.0;
  m_view.elevation = static_cast<double>(camera.yRotation);
  m_view.magnification = static_cast<double>(camera.zoomLevel) / kFitZoomPercent;
}

void CChart3D::pushLook() {
  const QColor areaBack = colorFromRef(m_look.chartAreaBackground);
  const QColor areaText = colorFromRef(m_look.chartAreaForeground);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, areaBack);
  pal.setColor(QPalette::WindowText, areaText);
  setPalette(pal);
  QPalette notePal = m_noteLabel->palette();
  notePal.setColor(QPalette::Window, colorFromRef(m_look.interiorBackground));
  notePal.setColor(QPalette::WindowText, colorFromRef(m_look.interiorForeground));
  m_noteLabel->setPalette(notePal);
  const int border = ChartBorder::inset(m_look.borderType, m_look.borderWidth);
  layout()->setContentsMargins(border, border, border, border);
  update();
  m_legend->setColours(areaBack, areaText);
  m_legend->setTitle(m_look.legendTitle);
  m_legend->setVertical(m_look.legendOrientation == 1);
  m_legend->setVisible(m_look.legendShown != 0);
  if (auto* body = qobject_cast<QBoxLayout*>(layout()->itemAt(1)->layout())) {
    switch (m_look.legendAnchor) {
      case 0: body->setDirection(QBoxLayout::BottomToTop); break;
      case 2: body->setDirection(QBoxLayout::TopToBottom); break;
      case 3: body->setDirection(QBoxLayout::RightToLeft); break;
      default: body->setDirection(QBoxLayout::LeftToRight); break;
    }
  }
  if (!m_surface) return;
  SurfaceBackend::Theme theme;
  theme.window = colorFromRef(m_look.interiorBackground);
  theme.background = colorFromRef(m_look.plotCubeBackground);
  theme.labelText = colorFromRef(m_look.interiorForeground);
  // The surface has one grid colour: the first axis with lines gives it.
  theme.gridEnabled = false;
  for (const Chart3DAppearance::Grid& g : m_look.grid) {
    if (g.pattern == 0) continue;
    if (!theme.gridEnabled) theme.gridLine = colorFromRef(g.colour);
    theme.gridEnabled = true;
  }
  m_surface->setTheme(theme);
}

void CChart3D::setDecimated(bool on) {
  if (on == m_decimated) return;
  m_decimated = on;
  if (cellCount() > kDecimateAbove) changed(kDataChanged);
}

bool CChart3D::eventFilter(QObject* watched, QEvent* event) {
  if (m_surface && watched == m_surface->window()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        m_restTimer->stop();
        if (e->button() == Qt::LeftButton) pickAt(e->position().toPoint());
        if (e->button() == Qt::RightButton) {
          m_pressPos = e->position().toPoint();
          m_dragging = false;
        }
        break;
      }
      case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->buttons() == Qt::NoButton) {
          m_pickPos = e->position().toPoint();
          m_restTimer->start();
        }
        if ((e->buttons() & Qt::RightButton) && !m_dragging &&
            (e->position().toPoint() - m_pressPos).manhattanLength() > QApplication::startDragDistance()) {
          m_dragging = true;
          setDecimated(true);
        }
        break;
      }
      case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::RightButton) break;
        if (m_dragging) {
          m_dragging = false;
          setDecimated(false);
        } else {
          showContextMenu(e->globalPosition().toPoint());
          return true;
        }
        break;
      }
      case QEvent::Leave:
        m_restTimer->stop();
        if (m_surface) m_surface->setSelectedPoint(SurfaceBackend::noCell());
        break;
      case QEvent::KeyPress: {
        // The surface is a window of its own: keys pressed over it would
        // never reach the main window's shortcuts.
        const QKeySequence keys(static_cast<QKeyEvent*>(event)->keyCombination());
        for (QAction* a : window()->findChildren<QAction*>()) {
          if (a->isEnabled() && a->shortcut() == keys) {
            a->trigger();
            return true;
          }
        }
        break;
      }
      default: break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CChart3D::showContextMenu(const QPoint& globalPos) {
  QMenu menu(this);
  if (menuItem(kMenuResetView))
    connect(menu.addAction(text(Strings::IDS_CHART3D_RESET_VIEW)), &QAction::triggered, this,
            &CChart3D::viewReset);
  if (menuItem(kMenuCopy))
    connect(menu.addAction(text(Strings::IDS_CHART3D_COPY)), &QAction::triggered, this,
            [this] { copyToClipboard(3); });
  if (!m_contextActions.isEmpty()) {
    if (!menu.isEmpty()) menu.addSeparator();
    for (QAction* a : std::as_const(m_contextActions)) menu.addAction(a);
  }
  if (!menu.isEmpty()) menu.exec(globalPos);
}

QImage CChart3D::image() const {
  QImage picture = const_cast<CChart3D*>(this)->grab().toImage();
  if (m_surface && m_container && m_container->isVisible()) {
    // Rendered in device pixels, drawn into the container's place in
    // logical ones.
    const qreal ratio = picture.devicePixelRatio();
    const QImage surface = m_surface->render((QSizeF(m_container->size()) * ratio).toSize());
    QPainter p(&picture);
    p.drawImage(QRect(m_container->mapTo(const_cast<CChart3D*>(this), QPoint(0, 0)), m_container->size()),
                surface);
  }
  return picture;
}

QImage CChart3D::image(const QSize& size) const {
  const QImage full = image();
  return size.isValid() && size != full.size()
             ? full.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
             : full;
}

QWindow* CChart3D::surfaceWindow() const {
  return m_surface ? m_surface->window() : nullptr;
}

bool CChart3D::copyToClipboard(int format) const {
  if (format != 3) return false;
  const QImage picture = image();
  if (picture.isNull()) return false;
  auto* mime = new QMimeData;
  mime->setImageData(picture);
  QGuiApplication::clipboard()->setMimeData(mime);
  return true;
}
