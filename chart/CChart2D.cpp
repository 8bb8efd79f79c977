#include "chart/CChart2D.h"

#include "chart/ChartBorder.h"
#include "core/ColorRef.h"

#include <qcustomplot.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPicture>

#include <algorithm>
#include <limits>

namespace {

QColor colour(int ref) {
  return colorFromRef(static_cast<uint32_t>(ref));
}

Qt::PenStyle penStyle(int pattern) {
  switch (pattern) {
    case 0: return Qt::NoPen;
    case 2: return Qt::DashLine;
    case 3: return Qt::DotLine;
    case 4: return Qt::DashDotLine;
    case 5: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
  }
}

QCPScatterStyle::ScatterShape scatterShape(int shape) {
  switch (shape) {
    case 1: return QCPScatterStyle::ssDisc;
    case 2: return QCPScatterStyle::ssSquare;
    case 3: return QCPScatterStyle::ssTriangle;
    case 4: return QCPScatterStyle::ssDiamond;
    case 5: return QCPScatterStyle::ssStar;
    case 6: return QCPScatterStyle::ssPlus;
    case 7: return QCPScatterStyle::ssCross;
    case 8: return QCPScatterStyle::ssCross;
    case 9: return QCPScatterStyle::ssCircle;
    case 10: return QCPScatterStyle::ssSquare;
    default: return QCPScatterStyle::ssNone;
  }
}

// Fixed steps with a chosen number of minor ticks between them.
class FixedTicker : public QCPAxisTickerFixed {
public:
  explicit FixedTicker(int subTicks) : m_subTicks(subTicks) { setScaleStrategy(ssNone); }

protected:
  int getSubTickCount(double) override { return m_subTicks; }

private:
  int m_subTicks;
};

qint64 binding(int message, int modifiers, int key) {
  return (static_cast<qint64>(message) << 32) | (static_cast<qint64>(modifiers & 0xFFFF) << 16) |
         (key & 0xFFFF);
}

constexpr int kBorder = 4;  // the chart area sits inside a border of this width

}  // namespace

CChart2D::CChart2D(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("chart2D"));
  setFocusPolicy(Qt::StrongFocus);
  m_plot = new QCustomPlot(this);
  m_plot->setFocusPolicy(Qt::NoFocus);
  m_plot->installEventFilter(this);
  m_plot->setMouseTracking(true);  // value readouts follow the pointer
  m_plot->setNotAntialiasedElements(QCP::aePlottables | QCP::aeGrid | QCP::aeAxes);
  m_plot->axisRect()->setAutoMargins(QCP::msNone);
  m_plot->yAxis2->setVisible(true);
  m_plot->addLayer(QStringLiteral("markers"), m_plot->layer(QStringLiteral("main")), QCustomPlot::limAbove);
  m_overlay = m_plot->layer(QStringLiteral("markers"));
  m_overlay->setMode(QCPLayer::lmBuffered);
  // An earlier period's traces lie under every current one.
  m_plot->addLayer(QStringLiteral("earlier"), m_plot->layer(QStringLiteral("main")), QCustomPlot::limBelow);
  m_earlierLayer = m_plot->layer(QStringLiteral("earlier"));
  for (int g = 0; g < Chart2DState::kGroups; ++g)
    for (int s = 0; s < Chart2DState::kSeriesPerGroup; ++s) {
      QCPGraph* graph = m_plot->addGraph(m_plot->xAxis, g == 0 ? m_plot->yAxis : m_plot->yAxis2);
      graph->setVisible(false);
      graph->removeFromLegend();
      m_graphs.push_back(graph);
    }
  m_pushedX.resize(m_graphs.size());
  m_pushedY.resize(m_graphs.size());
  for (int i = 0; i < Chart2DState::kLabels; ++i) {
    auto* item = new QCPItemText(m_plot);
    item->setClipToAxisRect(false);
    item->position->setType(QCPItemPosition::ptAbsolute);
    item->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    item->setVisible(false);
    item->setLayer(m_overlay);
    m_labels.push_back(item);
  }
  m_header = new QCPItemText(m_plot);
  m_header->setClipToAxisRect(false);
  m_header->position->setType(QCPItemPosition::ptAbsolute);
  m_header->setPositionAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_header->setTextAlignment(Qt::AlignHCenter);
  QFont bold = m_header->font();
  bold.setBold(true);
  m_header->setFont(bold);
  m_note = new QCPItemText(m_plot);
  m_note->position->setType(QCPItemPosition::ptAxisRectRatio);
  m_note->position->setCoords(0.5, 0.5);
  m_note->setVisible(false);
  m_plot->legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
  m_plot->legend->setWrap(4);
  m_plot->axisRect()->insetLayout()->setInsetPlacement(0, QCPLayoutInset::ipFree);
  // The control's own gestures until a view removes them.
  for (const qint64 b :
       {binding(kMiddleButtonDown, kMiddleButtonFlag, kNoKey), binding(kMiddleButtonDown, kShiftFlag, kNoKey),
        binding(kMiddleButtonDown, kControlFlag, kNoKey), binding(kLeftButtonDown, kControlFlag, kNoKey),
        binding(kLeftButtonDown, kShiftFlag, kNoKey), binding(kKeyDown, kNoModifier, kKeyR),
        binding(kMouseMove, kShiftFlag | kMiddleButtonFlag, kNoKey)})
    m_actionMap.insert(b);
  m_state.axis(Chart2DState::Y2).maximum = 100.0;
  push();
}

CChart2D::~CChart2D() = default;

Chart2DState& CChart2D::edit() {
  m_dirty = true;
  pushLater(&CChart2D::m_dirty, &CChart2D::push);
  return m_state;
}

void CChart2D::pushLater(bool CChart2D::*dirty, void (CChart2D::*apply)()) {
  if (isBatch()) return;
  QMetaObject::invokeMethod(
      this,
      [this, dirty, apply] {
        if (this->*dirty && !isBatch()) (this->*apply)();
      },
      Qt::QueuedConnection);
}

void CChart2D::setBatch(bool on) {
  if (on) {
    ++m_batchDepth;
    return;
  }
  if (m_batchDepth > 0 && --m_batchDepth == 0) {
    if (m_dirty)
      push();
    else if (m_overlayDirty)
      pushOverlay();
  }
}

bool CChart2D::isOverlay(int group, int series) const {
  return m_overlaySlots.contains((group - 1) * Chart2DState::kSeriesPerGroup + (series - 1));
}

void CChart2D::markOverlay() {
  m_overlayDirty = true;
  pushLater(&CChart2D::m_overlayDirty, &CChart2D::pushOverlay);
}

Chart2DState& CChart2D::editLabels() {
  markOverlay();
  return m_state;
}

void CChart2D::setOverlaySeries(int group, int series) {
  m_overlaySlots.insert((group - 1) * Chart2DState::kSeriesPerGroup + (series - 1));
  graph(group, series)->setLayer(m_overlay);
}

void CChart2D::setSeries(int group, int series, const double* x, const double* y, int count) {
  Chart2DState::Series& s =
      isOverlay(group, series) ? editLabels().at(group, series) : edit().at(group, series);
  s.x = QVector<double>(x, x + count);
  s.y.resize(count);
  for (int i = 0; i < count; ++i) s.y[i] = isNoData(y[i]) ? Blocks::NO_DATA : y[i];
}

void CChart2D::setDisplay(int group, int series, int state) {
  (isOverlay(group, series) ? editLabels() : edit()).at(group, series).display = state;
}

void CChart2D::setLabel(int index, const QString& text, bool shown) {
  Chart2DState::Label& l = editLabels().label(index);
  l.text = text;
  l.shown = shown;
}

void CChart2D::action(int code, int x, int y) {
  switch (code) {
    case kActionStart:
      m_gesture = true;
      m_gestureStart = m_gestureEnd = {x, y};
      break;
    case kActionZoom:
      if (m_gesture) m_gestureEnd = {x, y};
      break;
    case kActionEnd: {
      if (!m_gesture) break;
      m_gesture = false;
      m_gestureEnd = {x, y};
      const QRect r = QRect(m_gestureStart, m_gestureEnd).normalized();
      if (r.width() < 2 || r.height() < 2) break;
      m_zoomXMin = pixelToX(r.left());
      m_zoomXMax = pixelToX(r.right());
      m_zoomYMax = pixelToY(r.top());
      m_zoomYMin = pixelToY(r.bottom());
      m_zoomed = true;
      push();
      break;
    }
    case kActionResetZoom:
      m_zoomed = false;
      push();
      break;
    default: break;  // other gestures of the control have no counterpart here
  }
}

bool CChart2D::hasAction(int message, int modifiers, int key) const {
  return m_actionMap.contains(binding(message, modifiers, key));
}

void CChart2D::removeAction(int message, int modifiers, int key) {
  m_actionMap.remove(binding(message, modifiers, key));
}

double CChart2D::visibleXMin() const {
  return m_zoomed ? m_zoomXMin : m_state.axis(Chart2DState::X).minimum;
}
double CChart2D::visibleXMax() const {
  return m_zoomed ? m_zoomXMax : m_state.axis(Chart2DState::X).maximum;
}

QRect CChart2D::plotRect() const {
  const QSize area = m_state.area.isValid() && !m_state.area.isEmpty()
                         ? m_state.area
                         : size() - QSize(2 * kBorder, 2 * kBorder);
  const auto& m = m_state.margins;
  return QRect(kBorder + m.left, kBorder + m.top, std::max(1, area.width() - m.left - m.right),
               std::max(1, area.height() - m.top - m.bottom));
}

double CChart2D::pixelToX(int px) const {
  const QRect r = plotRect();
  const double lo = visibleXMin(), hi = visibleXMax();
  return lo + (hi - lo) * (px - r.left()) / std::max(1, r.width() - 1);
}

double CChart2D::pixelToY(int py) const {
  const QRect r = plotRect();
  const auto& y = m_state.axis(Chart2DState::Y);
  const double lo = m_zoomed ? m_zoomYMin : y.minimum, hi = m_zoomed ? m_zoomYMax : y.maximum;
  return hi - (hi - lo) * (py - r.top()) / std::max(1, r.height() - 1);
}

int CChart2D::xToPixel(double x) const {
  const QRect r = plotRect();
  const double lo = visibleXMin(), hi = visibleXMax();
  if (hi <= lo) return r.left();
  return r.left() + static_cast<int>(std::lround((x - lo) / (hi - lo) * (r.width() - 1)));
}

QRect CChart2D::labelRect(int index) const {
  const Chart2DState::Label& l = m_state.label(index);
  if (!l.shown || l.text.isEmpty()) return {};
  const QFontMetrics fm(m_labels[index - 1]->font());
  return QRect(l.position, fm.size(Qt::TextSingleLine, l.text)).adjusted(-2, -2, 2, 2);
}

void CChart2D::copyToClipboard(int format) {
  (void)format;  // every format the reports ask for is a bitmap
  QGuiApplication::clipboard()->setImage(image(size()));
}

void CChart2D::paint(QPainter& painter, const QRectF& target) const {
  const QSize full = size().isEmpty() ? QSize(800, 600) : size();
  QPicture picture;
  {
    QCPPainter recorder(&picture);
    // Tick labels as text, not as the pixmaps cached for the screen.
    recorder.setModes(QCPPainter::pmVectorized | QCPPainter::pmNoCaching);
    m_plot->toPainter(&recorder, m_plot->width(), m_plot->height());
  }
  painter.save();
  const double scale = std::min(target.width() / full.width(), target.height() / full.height());
  painter.translate(target.topLeft());
  painter.scale(scale, scale);
  painter.fillRect(QRect(QPoint(0, 0), full), colour(m_state.look.interiorBackground));
  {
    // A picture plays itself scaled by the device's resolution over its own;
    // the scale above already maps the chart onto the target.
    painter.save();
    painter.translate(m_plot->pos());
    if (const QPaintDevice* device = painter.device())
      painter.scale(static_cast<qreal>(picture.logicalDpiX()) / device->logicalDpiX(),
                    static_cast<qreal>(picture.logicalDpiY()) / device->logicalDpiY());
    painter.drawPicture(0, 0, picture);
    painter.restore();
  }
  ChartBorder::draw(painter, QRectF(QPointF(0, 0), full), m_state.look.borderType, m_state.look.borderWidth,
                    colour(m_state.look.interiorForeground));
  painter.restore();
}

QImage CChart2D::image(const QSize& size) {
  if (m_dirty) push();
  QImage out(size, QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::white);
  QPainter p(&out);
  paint(p, QRectF(QPointF(0, 0), size));
  return out;
}

void CChart2D::replotNow() {
  if (m_dirty) push();
  if (m_overlayDirty) pushOverlay();
  if (m_replotPending) {
    m_replotPending = false;
    m_plot->replot(QCustomPlot::rpImmediateRefresh);
  } else {
    m_plot->repaint();
  }
}

void CChart2D::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  push();
}

void CChart2D::keyPressEvent(QKeyEvent* event) {
  const bool keypad = event->modifiers() & Qt::KeypadModifier;
  if ((event->key() == Qt::Key_4 && keypad) || event->key() == Qt::Key_Left) {
    emit keyPressed(kKeyPrevious);
    return;
  }
  if ((event->key() == Qt::Key_6 && keypad) || event->key() == Qt::Key_Right) {
    emit keyPressed(kKeyNext);
    return;
  }
  if (event->key() == Qt::Key_R && !(event->modifiers() & ~Qt::KeypadModifier) &&
      hasAction(kKeyDown, 0, 82)) {
    action(kActionResetZoom, 0, 0);
    return;
  }
  QWidget::keyPressEvent(event);
}

void CChart2D::contextMenuEvent(QContextMenuEvent* event) {
  emit contextMenuRequested(event->globalPos());
}

void CChart2D::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), colour(m_state.look.interiorBackground));
  ChartBorder::draw(p, QRectF(rect()), m_state.look.borderType, m_state.look.borderWidth,
                    colour(m_state.look.interiorForeground));
}

bool CChart2D::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_plot) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      setFocus(Qt::MouseFocusReason);
      const QPoint at = e->position().toPoint() + m_plot->pos();
      if (e->button() == Qt::LeftButton && (e->modifiers() & Qt::ShiftModifier) &&
          hasAction(kLeftButtonDown, 4, 0)) {
        action(kActionStart, at.x(), at.y());
        return true;
      }
      emit mousePressed(e->button(), at.x(), at.y());
      return true;
    }
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
      const QPoint at = e->position().toPoint() + m_plot->pos();
      if (m_gesture) {
        action(kActionZoom, at.x(), at.y());
        return true;
      }
      emit mouseMoved(e->buttons(), at.x(), at.y());
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* e = static_cast<QMouseEvent*>(event);
      const QPoint at = e->position().toPoint() + m_plot->pos();
      if (m_gesture) {
        action(kActionEnd, at.x(), at.y());
        return true;
      }
      emit mouseReleased(e->button(), at.x(), at.y());
      return true;
    }
    case QEvent::Leave: emit pointerLeft(); return false;
    case QEvent::ContextMenu:
      // The plot stops mouse events from reaching its parent, this one included.
      contextMenuEvent(static_cast<QContextMenuEvent*>(event));
      return true;
    case QEvent::Wheel:
    case QEvent::MouseButtonDblClick: return true;  // no built-in wheel zoom or double-click actions
    default: return false;
  }
}

QCPGraph* CChart2D::graph(int group, int series) const {
  return m_graphs[(group - 1) * Chart2DState::kSeriesPerGroup + (series - 1)];
}

void CChart2D::push() {
  m_dirty = false;
  const QSize area = m_state.area.isValid() && !m_state.area.isEmpty()
                         ? m_state.area
                         : size() - QSize(2 * kBorder, 2 * kBorder);
  m_plot->setGeometry(QRect(QPoint(kBorder, kBorder), area.expandedTo(QSize(1, 1))));
  const auto& m = m_state.margins;
  m_plot->axisRect()->setMargins(QMargins(m.left, m.top, m.right, m.bottom));
  pushLook();
  pushAxes();
  pushSeries();
  pushLabels();
  // Screen readers name the chart by the first line of its header.
  setAccessibleName(m_state.header.section(QLatin1Char('\n'), 0, 0));
  m_overlayDirty = false;
  m_replotPending = true;
  m_plot->replot(QCustomPlot::rpQueuedReplot);
  update();
}

void CChart2D::pushOverlay() {
  m_overlayDirty = false;
  for (const int slot : std::as_const(m_overlaySlots))
    pushGraph(slot / Chart2DState::kSeriesPerGroup + 1, slot % Chart2DState::kSeriesPerGroup + 1);
  pushLabels();
  m_overlay->replot();
}

void CChart2D::pushAxes() {
  QCPAxis* axes[3] = {m_plot->xAxis, m_plot->yAxis, m_plot->yAxis2};
  const QColor fg = colour(m_state.look.areaForeground);
  for (int i = 0; i < 3; ++i) {
    const Chart2DState::Axis& s = m_state.axes[static_cast<size_t>(i)];
    QCPAxis* a = axes[i];
    a->setVisible(s.shown);
    a->setLabel(s.title);
    double lo = s.minimum, hi = s.maximum;
    if (m_zoomed && i == 0) lo = m_zoomXMin, hi = m_zoomXMax;
    if (m_zoomed && i == 1) lo = m_zoomYMin, hi = m_zoomYMax;
    a->setRange(lo, hi);
    const bool labelsChanged = !s.valueLabels.isSharedWith(m_pushedLabels[static_cast<size_t>(i)]) ||
                               (s.valueLabels.isEmpty() != m_pushedLabels[static_cast<size_t>(i)].isEmpty());
    if (!s.valueLabels.isEmpty()) {
      // A blank label marks a point that is not labelled: no tick, no grid
      // line of its own.
      QMap<double, QString> ticks;
      const QFontMetrics metrics(a->tickLabelFont());
      int widest = 0;
      double closest = std::numeric_limits<double>::infinity();
      double previous = std::numeric_limits<double>::quiet_NaN();
      for (auto it = s.valueLabels.cbegin(); it != s.valueLabels.cend(); ++it) {
        if (it.value().trimmed().isEmpty()) continue;
        ticks.insert(it.key(), it.value());
        widest = std::max(widest, metrics.horizontalAdvance(it.value()));
        if (!std::isnan(previous)) closest = std::min(closest, it.key() - previous);
        previous = it.key();
      }
      if (labelsChanged || !a->ticker().dynamicCast<QCPAxisTickerText>()) {
        auto ticker = QSharedPointer<QCPAxisTickerText>::create();
        ticker->setTicks(ticks);
        a->setTicker(ticker);
      }
      // Labels that would run into each other stand upright instead.
      const double gapPixels = closest / std::max(1e-9, hi - lo) * plotRect().width();
      a->setTickLabelRotation(i == 0 && gapPixels < widest + 4 ? -90.0 : 0.0);
    } else if (s.numberingSpacing > 0) {
      const int sub =
          s.minorTickSpacing > 0
              ? std::max(0, static_cast<int>(std::lround(s.numberingSpacing / s.minorTickSpacing)) - 1)
              : 0;
      auto ticker = QSharedPointer<FixedTicker>::create(sub);
      ticker->setTickStep(s.numberingSpacing);
      a->setTicker(ticker);
    } else if (labelsChanged || a->ticker().dynamicCast<QCPAxisTickerText>()) {
      a->setTicker(QSharedPointer<QCPAxisTicker>::create());
    }
    m_pushedLabels[static_cast<size_t>(i)] = s.valueLabels;
    if (s.precision >= 0) {
      a->setNumberFormat(QStringLiteral("f"));
      a->setNumberPrecision(s.precision);
    } else {
      a->setNumberFormat(QStringLiteral("gb"));
      a->setNumberPrecision(6);
    }
    a->setBasePen(QPen(fg));
    a->setTickPen(QPen(fg));
    a->setSubTickPen(QPen(fg));
    a->setTickLabelColor(fg);
    a->setLabelColor(fg);
    const Chart2DState::GridStyle& grid = m_state.look.grid[i == 0 ? 0 : 1];
    a->grid()->setPen(QPen(colour(grid.color), grid.width, penStyle(grid.pattern)));
    a->grid()->setVisible(i != 2 && grid.pattern != 0);
    a->grid()->setZeroLinePen(Qt::NoPen);
  }
}

void CChart2D::pushSeries() {
  QCPLegend* legend = m_plot->legend;
  legend->clearItems();
  for (int g = 1; g <= Chart2DState::kGroups; ++g) {
    const Chart2DState::Group& group = m_state.groups[static_cast<size_t>(g - 1)];
    for (int s = 1; s <= Chart2DState::kSeriesPerGroup; ++s) {
      pushGraph(g, s);
      const Chart2DState::Series& series = group.series[static_cast<size_t>(s - 1)];
      QCPGraph* gr = graph(g, s);
      if (gr->visible() && !series.legendText.isEmpty()) gr->addToLegend(legend);
    }
  }
  pushEarlier();
  const QRect plot = plotRect();
  const double height = std::max(1, plot.height());
  const double top = (m_state.legendTop - (plot.top() - kBorder)) / height;
  m_plot->axisRect()->insetLayout()->setInsetRect(0, QRectF(0.0, top, 1.0, 40.0 / height));
  legend->setVisible(m_state.legendShown && legend->itemCount() > 0);
}

void CChart2D::pushGraph(int g, int s) {
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  const Chart2DState::Group& group = m_state.groups[static_cast<size_t>(g - 1)];
  const Chart2DState::Series& series = group.series[static_cast<size_t>(s - 1)];
  QCPGraph* gr = graph(g, s);
  const int slot = (g - 1) * Chart2DState::kSeriesPerGroup + (s - 1);
  const bool shown = s <= group.seriesCount && series.display == Chart2DState::Shown && !series.x.isEmpty();
  gr->setVisible(shown);
  if (!shown) {
    if (!m_pushedX[slot].isEmpty() || !m_pushedY[slot].isEmpty()) gr->data()->clear();
    m_pushedX[slot].clear();
    m_pushedY[slot].clear();
    return;
  }
  const bool same = series.x.isSharedWith(m_pushedX[slot]) && series.y.isSharedWith(m_pushedY[slot]);
  if (!same) {
    const int n = std::min(series.x.size(), series.y.size());
    QVector<QCPGraphData> points(n);
    for (int i = 0; i < n; ++i) {
      points[i].key = series.x[i];
      points[i].value = isNoData(series.y[i]) ? nan : series.y[i];
    }
    gr->data()->set(points, true);
    m_pushedX[slot] = series.x;
    m_pushedY[slot] = series.y;
  }
  const Chart2DState::SeriesStyle& st = series.style;
  gr->setPen(QPen(colour(st.lineColor), st.lineWidth, penStyle(st.linePattern)));
  gr->setLineStyle(st.linePattern == 0 ? QCPGraph::lsNone : QCPGraph::lsLine);
  QCPScatterStyle scatter(scatterShape(st.symbolShape), colour(st.symbolColor),
                          st.symbolShape == 1 ? colour(st.symbolColor) : QColor(Qt::transparent),
                          st.symbolSize);
  gr->setScatterStyle(scatter);
  gr->setName(series.legendText);
}

void CChart2D::pushEarlier() {
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  const QVector<Chart2DState::EarlierTrace>& traces = m_state.earlier;
  while (m_earlierGraphs.size() < traces.size()) {
    QCPGraph* graph = m_plot->addGraph(m_plot->xAxis, m_plot->yAxis);
    graph->setLayer(m_earlierLayer);
    graph->removeFromLegend();
    m_earlierGraphs.push_back(graph);
  }
  for (int i = 0; i < m_earlierGraphs.size(); ++i) {
    QCPGraph* gr = m_earlierGraphs[i];
    const Chart2DState::EarlierTrace* t = i < traces.size() ? &traces[i] : nullptr;
    const Chart2DState::Series* mirror = t && t->group >= 1 && t->group <= Chart2DState::kGroups &&
                                                 t->line >= 1 && t->line <= Chart2DState::kSeriesPerGroup
                                             ? &m_state.at(t->group, t->line)
                                             : nullptr;
    const bool shown = mirror && mirror->display == Chart2DState::Shown && !t->x.isEmpty();
    gr->setVisible(shown);
    if (!shown) {
      gr->data()->clear();
      continue;
    }
    gr->setValueAxis(t->group == 1 ? m_plot->yAxis : m_plot->yAxis2);
    const int n = std::min(t->x.size(), t->y.size());
    QVector<QCPGraphData> points(n);
    for (int k = 0; k < n; ++k) {
      points[k].key = t->x[k];
      points[k].value = isNoData(t->y[k]) ? nan : t->y[k];
    }
    gr->data()->set(points, true);
    const Chart2DState::SeriesStyle& st = mirror->style;
    gr->setPen(QPen(colour(Chart2DState::earlierColour(st.lineColor)), st.lineWidth, Qt::DashLine));
    gr->setLineStyle(QCPGraph::lsLine);
    gr->setScatterStyle(QCPScatterStyle());
    gr->setName(t->legendText);
    if (!t->legendText.isEmpty()) gr->addToLegend(m_plot->legend);
  }
}

void CChart2D::pushLabels() {
  for (int i = 0; i < Chart2DState::kLabels; ++i) {
    const Chart2DState::Label& l = m_state.labels[static_cast<size_t>(i)];
    QCPItemText* item = m_labels[i];
    item->setVisible(l.shown && !l.text.isEmpty());
    item->setText(l.text);
    item->setColor(colour(l.color));
    item->position->setCoords(l.position.x() - kBorder, l.position.y() - kBorder);
  }
  m_note->setText(m_state.note);
  m_note->setColor(colour(m_state.look.plotForeground));
  m_note->setVisible(!m_state.note.isEmpty());
  m_header->setText(m_state.header);
  m_header->setColor(colour(m_state.look.areaForeground));
  m_header->position->setCoords(m_plot->width() / 2.0, 6.0);
}

void CChart2D::pushLook() {
  const Chart2DState::Look& look = m_state.look;
  m_plot->setBackground(colour(look.areaBackground));
  m_plot->axisRect()->setBackground(colour(look.plotBackground));
  QCPLegend* legend = m_plot->legend;
  legend->setBrush(Qt::NoBrush);
  legend->setBorderPen(Qt::NoPen);
  legend->setTextColor(colour(look.plotForeground));
}
