#include "chart/CHeatMap.h"

#include "chart/ColourLegend.h"

#include <qcustomplot.h>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <cmath>

namespace {

QCPColorGradient legendGradient() {
  QCPColorGradient g;
  g.clearColorStops();
  for (const auto& [position, colour] : ColourLegend::stops()) g.setColorStopAt(position, colour);
  g.setColorInterpolation(QCPColorGradient::ciRGB);
  g.setNanHandling(QCPColorGradient::nhTransparent);
  g.setLevelCount(256);
  return g;
}

// An odd number of levels puts zero on a level of its own, in the exact
// zero colour.
QCPColorGradient divergingGradient() {
  QCPColorGradient g;
  g.clearColorStops();
  for (const auto& [position, colour] : ColourLegend::divergingStops()) g.setColorStopAt(position, colour);
  g.setColorInterpolation(QCPColorGradient::ciRGB);
  g.setNanHandling(QCPColorGradient::nhTransparent);
  g.setLevelCount(255);
  return g;
}

void zoomRange(QCPAxis* axis, double factor) {
  const QCPRange r = axis->range();
  const double half = r.size() / 2.0 / factor;
  axis->setRange(r.center() - half, r.center() + half);
}

}  // namespace

CHeatMap::CHeatMap(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("heatMap"));
  m_plot = new QCustomPlot(this);
  m_plot->setMouseTracking(true);
  m_plot->installEventFilter(this);
  m_plot->setFocusPolicy(Qt::NoFocus);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_plot);
  m_plot->plotLayout()->insertRow(0);
  m_header = new QCPTextElement(m_plot, QString());
  m_plot->plotLayout()->addElement(0, 0, m_header);
  m_map = new QCPColorMap(m_plot->xAxis, m_plot->yAxis);
  m_map->setInterpolate(false);
  m_map->setTightBoundary(false);
  m_scale = new QCPColorScale(m_plot);
  m_plot->plotLayout()->addElement(1, 1, m_scale);
  m_map->setColorScale(m_scale);
  m_map->setGradient(legendGradient());
  auto* group = new QCPMarginGroup(m_plot);
  m_plot->axisRect()->setMarginGroup(QCP::msBottom | QCP::msTop, group);
  m_scale->setMarginGroup(QCP::msBottom | QCP::msTop, group);
  m_plot->xAxis->setTicker(QSharedPointer<QCPAxisTickerText>::create());
  m_plot->yAxis->setTicker(QSharedPointer<QCPAxisTickerText>::create());
  m_plot->xAxis->grid()->setVisible(false);
  connect(m_plot, &QCustomPlot::beforeReplot, this, &CHeatMap::fitXLabels);
  m_plot->yAxis->grid()->setVisible(false);
}

CHeatMap::~CHeatMap() = default;

void CHeatMap::setData(int cells, int rows, double x0, double x1, const std::vector<double>& values) {
  m_rows = rows;
  auto* cellData = m_map->data();
  cellData->setSize(std::max(1, cells), std::max(1, rows));
  cellData->setRange(QCPRange(x0, x1 > x0 ? x1 : x0 + 1.0), QCPRange(0.0, std::max(1, rows - 1)));
  cellData->fill(std::nan(""));
  for (int r = 0; r < rows; ++r)
    for (int k = 0; k < cells; ++k) cellData->setCell(k, r, values[static_cast<size_t>(r * cells + k)]);
  resetZoom();
}

void CHeatMap::setDiverging(bool on, double limit) {
  m_diverging = on;
  m_map->setGradient(on ? divergingGradient() : legendGradient());
  if (on) {
    limit = limit > 0.0 ? limit : 1.0;
    m_map->setDataRange(QCPRange(-limit, limit));
  }
  m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void CHeatMap::setValueRange(double low, double high) {
  if (m_diverging) return;  // the difference keeps its own scale
  m_map->setDataRange(QCPRange(low, high > low ? high : low + 1.0));
  m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void CHeatMap::setXRange(double low, double high) {
  m_xLow = low;
  m_xHigh = high > low ? high : low + 1.0;
  resetZoom();
}

void CHeatMap::setAxisLabels(const QMap<double, QString>& x, const QMap<double, QString>& y) {
  m_xLabels = x;
  qSharedPointerCast<QCPAxisTickerText>(m_plot->yAxis->ticker())->setTicks(y);
  m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void CHeatMap::setHeader(const QString& text) {
  m_header->setText(text);
  m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void CHeatMap::setValueTitle(const QString& title) {
  m_scale->setLabel(title);
}

void CHeatMap::setColours(const QColor& area, const QColor& text, const QColor& plot) {
  m_plot->setBackground(area);
  m_plot->axisRect()->setBackground(plot);
  m_header->setTextColor(text);
  for (QCPAxis* axis : {m_plot->xAxis, m_plot->yAxis, m_scale->axis()}) {
    axis->setBasePen(QPen(text));
    axis->setTickPen(QPen(text));
    axis->setSubTickPen(QPen(text));
    axis->setTickLabelColor(text);
    axis->setLabelColor(text);
  }
  m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void CHeatMap::zoom(int direction) {
  const double factor = direction == 0 ? kZoomFactor : 1.0 / kZoomFactor;
  zoomRange(m_plot->xAxis, factor);
  zoomRange(m_plot->yAxis, factor);
  m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void CHeatMap::resetZoom() {
  m_plot->xAxis->setRange(m_xLow, m_xHigh);
  // Half a row beyond the first and the last, so both show whole.
  m_plot->yAxis->setRange(-0.5, std::max(0, m_rows - 1) + 0.5);
  m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void CHeatMap::setVisibleRange(double x0, double x1, double y0, double y1) {
  m_plot->xAxis->setRange(x0, x1);
  m_plot->yAxis->setRange(y0, y1);
  m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void CHeatMap::fitXLabels() {
  // Runs before the replot lays the plot out: a resize (or the first show)
  // would otherwise space the labels by the axis's previous, often tiny, width.
  m_plot->plotLayout()->update(QCPLayoutElement::upLayout);
  const QFontMetrics fm(m_plot->xAxis->tickLabelFont());
  int widest = 0;
  for (const QString& t : std::as_const(m_xLabels)) widest = std::max(widest, fm.horizontalAdvance(t));
  QMap<double, QString> kept;
  double lastPixel = -1e9;
  for (auto it = m_xLabels.cbegin(); it != m_xLabels.cend(); ++it) {
    const double px = m_plot->xAxis->coordToPixel(it.key());
    if (px - lastPixel < widest + 8) continue;
    kept.insert(it.key(), it.value());
    lastPixel = px;
  }
  qSharedPointerCast<QCPAxisTickerText>(m_plot->xAxis->ticker())->setTicks(kept);
}

QStringList CHeatMap::shownXLabels() const {
  return qSharedPointerCast<QCPAxisTickerText>(m_plot->xAxis->ticker())->ticks().values();
}

double CHeatMap::xMin() const {
  return m_plot->xAxis->range().lower;
}
double CHeatMap::xMax() const {
  return m_plot->xAxis->range().upper;
}
double CHeatMap::yMin() const {
  return m_plot->yAxis->range().lower;
}
double CHeatMap::yMax() const {
  return m_plot->yAxis->range().upper;
}

QRect CHeatMap::plotRect() const {
  return m_plot->axisRect()->rect().translated(m_plot->pos());
}

bool CHeatMap::coordsAt(const QPoint& pixel, double& x, double& y) const {
  if (!plotRect().contains(pixel)) return false;
  const QPoint p = pixel - m_plot->pos();
  x = m_plot->xAxis->pixelToCoord(p.x());
  y = m_plot->yAxis->pixelToCoord(p.y());
  return true;
}

QImage CHeatMap::image() {
  replotNow();
  return grab().toImage();
}

void CHeatMap::paint(QPainter& painter, const QRectF& target) {
  const QImage picture = image();
  if (picture.isNull() || target.isEmpty()) return;
  const QSizeF fitted = QSizeF(picture.size()).scaled(target.size(), Qt::KeepAspectRatio);
  painter.drawImage(QRectF(target.left() + (target.width() - fitted.width()) / 2, target.top(),
                           fitted.width(), fitted.height()),
                    picture);
}

void CHeatMap::replotNow() {
  m_plot->replot(QCustomPlot::rpImmediateRefresh);
}

void CHeatMap::contextMenuEvent(QContextMenuEvent* event) {
  emit contextMenuRequested(event->globalPos());
}

bool CHeatMap::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_plot) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::MouseMove) {
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint() + m_plot->pos();
    emit pointerMoved(at.x(), at.y());
  } else if (event->type() == QEvent::Leave) {
    emit pointerLeft();
  } else if (event->type() == QEvent::ContextMenu) {
    // The plot stops mouse events from reaching its parent, this one included.
    contextMenuEvent(static_cast<QContextMenuEvent*>(event));
    return true;
  }
  return false;
}
