#pragma once

#include "views/ChartPainter.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;
class QPrinter;

// Everything one printed report page shows.
struct ReportPageContent {
  QString reportText;       // the page-setup text, e.g. "Quillon - "
  QString label;            // the port's label
  QString reportName;       // "24 Hour Report"
  QString description;      // one paragraph
  QStringList headerLines;  // "Caption: value" lines, or free lines
  QDateTime printedAt;      // shown in the footer when valid
  ChartPainter chart;       // empty: the page carries the header alone
  QSizeF chartSize;         // the chart on screen: its rectangle on the page keeps these proportions
};

// One report page: title, report name and description, the header lines as a
// caption/value table, the chart, and a footer. Sizes are in points and
// follow the device's resolution, so the page looks the same on paper, in a
// PDF and in an image.
class ReportPage {
public:
  explicit ReportPage(ReportPageContent content);

  // Answers the rectangle the chart was drawn into; empty when there was no
  // chart or no room for one.
  QRectF paint(QPainter& painter, const QRectF& page) const;

  // The title: the report text followed by the label. The report text is
  // usually a prefix such as "Quillon - "; a text that does not end in a blank
  // is kept apart from the label by one.
  static QString titleLine(const QString& reportText, const QString& label);

  struct HeaderRow {
    QString caption;  // empty: `value` is a free line spanning the row
    QString value;
    bool operator==(const HeaderRow&) const = default;
  };
  // Splits "Caption: value" at its first ": "; other lines stay whole.
  static QList<HeaderRow> headerRows(const QStringList& lines);

  // A chart painter that draws `image` scaled into the rectangle, keeping its
  // proportions, centred.
  static ChartPainter imageChart(QImage image);

private:
  ReportPageContent m_content;
};

// Prints the report as one page; false when the printer could not be opened
// (an unwritable PDF file, a printer that went away). `chartRect`, when
// given, receives the chart's rectangle in device pixels of the printable area.
bool printReport(QPrinter& printer, const ReportPageContent& content, QRectF* chartRect = nullptr);
