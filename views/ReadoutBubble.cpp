#include "views/ReadoutBubble.h"

#include <QPainter>

namespace {
constexpr int kPadding = 5;
}

ReadoutBubble::ReadoutBubble(QWidget* parent, bool floating)
    : QWidget(parent, floating ? Qt::ToolTip | Qt::FramelessWindowHint : Qt::WindowFlags()),
      m_owner(parent),
      m_floating(floating) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  setAccessibleName(QStringLiteral("Readout"));
  hide();
}

void ReadoutBubble::setColours(const QColor& background, const QColor& text) {
  m_background = background;
  m_text = text;
}

QSize ReadoutBubble::boxFor(const QVector<ReadoutLine>& lines) const {
  const QFontMetrics fm(font());
  int width = 0;
  for (const ReadoutLine& l : lines) width = std::max(width, fm.horizontalAdvance(l.text));
  return {width + 2 * kPadding, static_cast<int>(lines.size()) * fm.height() + 2 * kPadding};
}

void ReadoutBubble::showAt(const QVector<ReadoutLine>& lines, const QPoint& pointer, const QRect& plot) {
  const QSize box = boxFor(lines);
  const bool sameText = lines == m_lines && size() == box;
  m_lines = lines;
  const QPoint at = HoverReadout::place(pointer, box, plot);
  setGeometry(QRect(m_floating ? m_owner->mapToGlobal(at) : at, box));
  // The accessible description carries the values for screen readers.
  if (!sameText) {
    QStringList texts;
    for (const ReadoutLine& l : lines) texts << l.text;
    setAccessibleDescription(texts.join(QLatin1Char('\n')));
    update();
  }
  if (!isVisible()) show();
  raise();
}

void ReadoutBubble::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), m_background);
  p.setPen(m_text);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  const QFontMetrics fm(font());
  int y = kPadding + fm.ascent();
  for (const ReadoutLine& l : std::as_const(m_lines)) {
    p.setPen(l.colour.isValid() ? l.colour : m_text);
    p.drawText(kPadding, y, l.text);
    y += fm.height();
  }
}
