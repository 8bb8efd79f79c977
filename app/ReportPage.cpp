#include "app/ReportPage.h"

#include "resources/Strings.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <utility>

namespace {

// A caption longer than this is a sentence that happens to hold ": ".
constexpr qsizetype kMaxCaptionLength = 40;
// Below this height a chart would be unreadable; the page then ends after
// the header.
constexpr qreal kMinChartHeightPt = 72.0;
constexpr qreal kMaxChartAspect = 0.75;  // height over width

const QColor kInk(0x20, 0x20, 0x20);
const QColor kAccent(0x1f, 0x4e, 0x79);
const QColor kMuted(0x5a, 0x5f, 0x66);
const QColor kRule(0xc4, 0xc9, 0xd0);
const QColor kPanel(0xf2, 0xf4, 0xf7);

// Point sizes and distances scale with the device, whatever its resolution.
class Scale {
public:
  explicit Scale(const QPaintDevice* device) : m_dpi(device ? device->logicalDpiY() : 72) {}
  qreal operator()(qreal points) const { return points * m_dpi / 72.0; }

private:
  qreal m_dpi;
};

QFont sized(const QFont& base, qreal points, QFont::Weight weight = QFont::Normal) {
  QFont f(base);
  f.setPointSizeF(points);
  f.setWeight(weight);
  return f;
}

// Draws one line, elided to `width`; returns the height used.
qreal drawLine(QPainter& p, const QFont& font, const QColor& color, const QPointF& topLeft, qreal width,
               const QString& text, Qt::Alignment align = Qt::AlignLeft) {
  const QFontMetricsF fm(font, p.device());
  p.setFont(font);
  p.setPen(color);
  const QString shown = fm.elidedText(text, Qt::ElideRight, width);
  p.drawText(QRectF(topLeft, QSizeF(width, fm.height())), align | Qt::AlignVCenter | Qt::TextSingleLine,
             shown);
  return fm.height();
}

// Draws word-wrapped text; returns the height used.
qreal drawParagraph(QPainter& p, const QFont& font, const QColor& color, const QPointF& topLeft, qreal width,
                    const QString& text) {
  if (text.isEmpty()) return 0;
  p.setFont(font);
  p.setPen(color);
  const QRectF box(topLeft, QSizeF(width, 1e6));
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  const QRectF used = p.boundingRect(box, flags, text);
  p.drawText(box, flags, text);
  return used.height();
}

}  // namespace

ReportPage::ReportPage(ReportPageContent content) : m_content(std::move(content)) {}

QString ReportPage::titleLine(const QString& reportText, const QString& label) {
  if (label.trimmed().isEmpty()) {
    // Without a label a prefix such as "Quillon - " would end in a dangling dash.
    QString title = reportText.trimmed();
    while (!title.isEmpty() && QStringLiteral("-:|").contains(title.back())) title.chop(1);
    return title.trimmed();
  }
  if (reportText.isEmpty()) return label;
  if (reportText.back().isSpace()) return reportText + label;
  return reportText + QLatin1Char(' ') + label;
}

QList<ReportPage::HeaderRow> ReportPage::headerRows(const QStringList& lines) {
  QList<HeaderRow> rows;
  for (const QString& line : lines) {
    const qsizetype at = line.indexOf(QStringLiteral(": "));
    if (at > 0 && at <= kMaxCaptionLength) {
      rows.append({line.left(at + 1), line.mid(at + 2).trimmed()});
    } else if (line.endsWith(QLatin1Char(':')) && line.size() <= kMaxCaptionLength + 1) {
      rows.append({line, QString()});
    } else {
      rows.append({QString(), line});
    }
  }
  return rows;
}

ChartPainter ReportPage::imageChart(QImage image) {
  return [image = std::move(image)](QPainter& p, const QRectF& rect) {
    if (image.isNull() || rect.isEmpty()) return;
    QSizeF size = image.size();
    size.scale(rect.size(), Qt::KeepAspectRatio);
    const QRectF target(rect.center() - QPointF(size.width() / 2, size.height() / 2), size);
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, image);
    p.restore();
  };
}

QRectF ReportPage::paint(QPainter& p, const QRectF& page) const {
  const Scale pt(p.device());
  const QFont base = QGuiApplication::font();
  const QFont titleFont = sized(base, 16, QFont::Bold);
  const QFont nameFont = sized(base, 12.5, QFont::DemiBold);
  const QFont bodyFont = sized(base, 10);
  const QFont captionFont = sized(base, 9, QFont::DemiBold);
  const QFont valueFont = sized(base, 9);
  const QFont footerFont = sized(base, 7.5);

  p.save();
  // An extreme header (a huge description) may crowd the page but never spills off it.
  p.setClipRect(page, Qt::IntersectClip);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  const qreal left = page.left();
  const qreal width = page.width();
  qreal y = page.top();

  // Title band with a rule under it.
  y += drawLine(p, titleFont, kAccent, {left, y}, width, titleLine(m_content.reportText, m_content.label));
  y += pt(4);
  p.fillRect(QRectF(left, y, width, pt(1.5)), kAccent);
  y += pt(1.5) + pt(12);

  if (!m_content.reportName.isEmpty()) {
    y += drawLine(p, nameFont, kInk, {left, y}, width, m_content.reportName);
    y += pt(4);
  }
  const qreal described = drawParagraph(p, bodyFont, kInk, {left, y}, width, m_content.description);
  if (described > 0) y += described + pt(12);

  // Header lines as a caption/value table, in two columns when there are many.
  // They fill row by row, so pairs such as start and end sit side by side.
  const QList<HeaderRow> rows = headerRows(m_content.headerLines);
  if (!rows.isEmpty()) {
    const QFontMetricsF captionMetrics(captionFont, p.device());
    const QFontMetricsF valueMetrics(valueFont, p.device());
    const qreal pad = pt(6);
    const qreal gap = pt(18);
    const int columns = (rows.size() > 4 && width > pt(360)) ? 2 : 1;
    const qsizetype rowCount = (rows.size() + columns - 1) / columns;
    const qreal columnWidth = (width - 2 * pad - gap * (columns - 1)) / columns;
    qreal captionWidth = 0;
    for (const HeaderRow& row : rows)
      if (!row.caption.isEmpty())
        captionWidth = std::max(captionWidth, captionMetrics.horizontalAdvance(row.caption));
    captionWidth = std::min(captionWidth + pt(8), columnWidth * 0.5);
    const qreal rowHeight = std::max(captionMetrics.height(), valueMetrics.height()) + pt(3);
    const qreal panelHeight = rowCount * rowHeight + 2 * pad - pt(3);

    p.fillRect(QRectF(left, y, width, panelHeight), kPanel);
    p.fillRect(QRectF(left, y, pt(2), panelHeight), kAccent);
    for (qsizetype i = 0; i < rows.size(); ++i) {
      const qsizetype column = i % columns;
      const qreal x = left + pad + column * (columnWidth + gap);
      const qreal rowTop = y + pad + (i / columns) * rowHeight;
      const HeaderRow& row = rows[i];
      if (row.caption.isEmpty()) {
        drawLine(p, valueFont, kInk, {x, rowTop}, columnWidth, row.value);
      } else {
        drawLine(p, captionFont, kMuted, {x, rowTop}, captionWidth, row.caption);
        drawLine(p, valueFont, kInk, {x + captionWidth, rowTop}, columnWidth - captionWidth, row.value);
      }
    }
    y += panelHeight + pt(14);
  }

  // Footer: when the page was printed and by what.
  const QFontMetricsF footerMetrics(footerFont, p.device());
  const qreal footerTop = page.bottom() - footerMetrics.height();
  p.fillRect(QRectF(left, footerTop - pt(4), width, pt(0.5)), kRule);
  if (m_content.printedAt.isValid()) {
    const QString when = QLocale::system().toString(m_content.printedAt, QLocale::ShortFormat);
    drawLine(p, footerFont, kMuted, {left, footerTop}, width / 2,
             Strings::LoadString(Strings::IDS_UI_PRINTED_ON).arg(when));
  }
  drawLine(p, footerFont, kMuted, {left + width / 2, footerTop}, width / 2,
           Strings::LoadString(Strings::IDS_APP_TITLE), Qt::AlignRight);

  // The chart keeps the proportions it has on screen, so the page shows no
  // empty band beside it. On a portrait page a chart stretched to the footer
  // would be taller than wide; charts read best in a landscape shape.
  const QSizeF shape = m_content.chartSize;
  const qreal aspect =
      shape.isEmpty() ? kMaxChartAspect : std::min(kMaxChartAspect, shape.height() / shape.width());
  const qreal chartHeight = std::min(footerTop - pt(12) - y, width * aspect);
  const qreal chartWidth = std::min(width, chartHeight / aspect);
  QRectF chartRect(left + (width - chartWidth) / 2, y, chartWidth, chartHeight);
  if (!m_content.chart || chartRect.height() < pt(kMinChartHeightPt)) chartRect = QRectF();
  if (!chartRect.isNull()) {
    p.save();
    p.setClipRect(chartRect);
    m_content.chart(p, chartRect);
    p.restore();
    // The frame lies inside the rectangle, where the page's clip keeps all of it.
    const qreal frame = pt(0.75);
    p.setPen(QPen(kRule, frame));
    p.setBrush(Qt::NoBrush);
    p.drawRect(chartRect.adjusted(frame / 2, frame / 2, -frame / 2, -frame / 2));
  }
  p.restore();
  return chartRect;
}

bool printReport(QPrinter& printer, const ReportPageContent& content, QRectF* chartRect) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  // The painter's origin is the printable area's corner.
  const QRectF page(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
  const QRectF drawn = ReportPage(content).paint(painter, page);
  if (chartRect) *chartRect = drawn;
  return painter.end();
}
