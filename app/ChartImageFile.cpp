#include "app/ChartImageFile.h"

#include "app/ExportLocation.h"
#include "core/Prompts.h"
#include "resources/Strings.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace ChartImageFile {

namespace {

// Screen pixels are taken as 96 per inch, so a PDF page has the chart's size.
constexpr int kDpi = 96;

bool paintPng(QIODevice& device, const ChartPainter& paint, const QSize& size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  }
  return image.save(&device, "PNG");
}

bool paintSvg(QIODevice& device, const ChartPainter& paint, const QSize& size) {
  QSvgGenerator svg;
  svg.setOutputDevice(&device);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(kDpi);
  svg.setTitle(Strings::LoadString(Strings::IDS_UI_IMAGE_TITLE));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  return painter.end();
}

bool paintPdf(QIODevice& device, const ChartPainter& paint, const QSize& size) {
  QPdfWriter pdf(&device);
  pdf.setResolution(kDpi);
  pdf.setPageSize(QPageSize(QSizeF(size) * (72.0 / kDpi), QPageSize::Point));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter;
  if (!painter.begin(&pdf)) return false;
  paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  return painter.end();
}

}  // namespace

Kind kindOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) return Kind::Png;
  if (suffix == QLatin1String("svg")) return Kind::Svg;
  if (suffix == QLatin1String("pdf")) return Kind::Pdf;
  return Kind::Unknown;
}

ExportFile::Result write(const QString& path, const ChartPainter& paint, const QSize& size) {
  const Kind kind = kindOf(path);
  return ExportFile::writeDevice(path, [&](QIODevice& device, QString& reason) {
    if (!paint || size.isEmpty()) return false;
    switch (kind) {
      case Kind::Png: return paintPng(device, paint, size);
      case Kind::Svg: return paintSvg(device, paint, size);
      case Kind::Pdf: return paintPdf(device, paint, size);
      case Kind::Unknown: break;
    }
    reason = Strings::LoadString(Strings::IDS_UI_IMAGE_UNKNOWN_TYPE);
    return false;
  });
}

bool save(QWidget* parent, const ChartPainter& paint, const QSize& size) {
  QFileDialog dialog(parent);
  const QString title = Strings::LoadString(Strings::IDS_UI_IMAGE_TITLE);
  dialog.setWindowTitle(title);
  dialog.setAccessibleName(title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("png"));
  dialog.setNameFilters(ExportLocation::nameFilters(Strings::LoadString(Strings::IDS_UI_IMAGE_FILTER)));
  dialog.setDirectory(ExportLocation::current().folder);
  // A bare name takes the extension of the type chosen in the filter.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    for (const char* suffix : {"png", "svg", "pdf"})
      if (filter.contains(QLatin1String("*.") + QLatin1String(suffix))) dialog.setDefaultSuffix(QLatin1String(suffix));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const ExportFile::Result result = write(dialog.selectedFiles().first(), paint, size);
  if (!result) Prompts::current().message(parent, result.error);
  return result.ok;
}

}  // namespace ChartImageFile
