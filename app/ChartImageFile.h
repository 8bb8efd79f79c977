#pragma once

#include "app/ExportFile.h"
#include "views/ChartPainter.h"

#include <QSize>
#include <QString>

class QWidget;

// Chart images a user can keep: the chart with its header, as a bitmap
// (PNG), as vectors where the chart paints them (SVG), or as a one-page
// document (PDF). The kind follows the file name's extension; the file is
// written beside its target and replaces it only when complete.
namespace ChartImageFile {

enum class Kind { Png, Svg, Pdf, Unknown };

Kind kindOf(const QString& path);

ExportFile::Result write(const QString& path, const ChartPainter& paint, const QSize& size);

// Asks for a name in the export folder and writes the image; a failure is
// shown to the user. True when a file was written.
bool save(QWidget* parent, const ChartPainter& paint, const QSize& size);

}  // namespace ChartImageFile
