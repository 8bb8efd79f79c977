#include "query/BusyIndicator.h"

#include <QPainter>
#include <QTimer>
#include <cmath>

namespace {
constexpr int kDots = 12;
}

BusyIndicator::BusyIndicator(QWidget* parent) : QWidget(parent), m_timer(new QTimer(this)) {
  m_timer->setInterval(80);
  connect(m_timer, &QTimer::timeout, this, [this] {
    m_head = (m_head + 1) % kDots;
    update();
  });
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void BusyIndicator::start() {
  m_timer->start();
}

void BusyIndicator::stop() {
  m_timer->stop();
  update();
}

bool BusyIndicator::isRunning() const {
  return m_timer->isActive();
}

void BusyIndicator::paintEvent(QPaintEvent*) {
  if (m_blankWhenStopped && !m_timer->isActive()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const double side = std::min(width(), height());
  const double radius = side * 0.38;
  const double dot = side * 0.09;
  const QPointF centre(width() / 2.0, height() / 2.0);
  QColor colour = palette().color(QPalette::Highlight);
  for (int i = 0; i < kDots; ++i) {
    // Dots fade behind the head; a stopped indicator shows a quiet ring.
    const int behind = (m_head - i + kDots) % kDots;
    colour.setAlphaF(m_timer->isActive() ? std::max(0.15, 1.0 - behind / double(kDots - 1)) : 0.25);
    const double angle = 2.0 * M_PI * i / kDots - M_PI / 2.0;
    const QPointF at(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(at, dot, dot);
  }
}
