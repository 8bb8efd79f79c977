#include <gtest/gtest.h>

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/ChartImageFile.h"
#include "app/ExportDialog.h"
#include "app/ExportFile.h"
#include "app/ExportLocation.h"
#include "core/Prompts.h"
#include "support/QtPrinters.h"
#include "support/RecordingPrompts.h"
#include "support/TempSettings.h"

namespace {

TEST(ExportLocationTest, FolderBeforeClientBecomesExports) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Apps\\PM\\Client\\", "C:/Apps/PM/Exports/"},  // the installation's own form
      {"/opt/veltrix/pm/Client", "/opt/veltrix/pm/Exports/"},
      {"/srv/ClientData/pm/Client/", "/srv/Exports/"},  // the first "Client" counts
      {"/opt/pm/Client/bin/", "/opt/pm/Exports/"},
      {"/opt/pm/Clients/", "/opt/pm/Exports/"},  // as the rule has always done
      {"Client\\", "Exports/"},
      {"/opt/veltrix/pm/client/", ""},  // case counts
      {"", ""}};
  for (const auto& [client, exports] : cases)
    EXPECT_EQ(ExportLocation::exportFolderFor(QString::fromUtf8(client)), QString::fromUtf8(exports))
        << client;
  EXPECT_EQ(ExportLocation::nameFilters(QStringLiteral("Comma Delimited Format (*.csv) | *.csv ||")),
            QStringList{QStringLiteral("Comma Delimited Format (*.csv)")});
  EXPECT_EQ(ExportLocation::nameFilters(QStringLiteral("Text|*.txt;*.log|All (*.*)|*.*||")),
            (QStringList{QStringLiteral("Text (*.txt *.log)"), QStringLiteral("All (*.*)")}));
}

class ExportDirTest : public TempSettingsTest {
protected:
  QString root() const { return m_root.path(); }
  QString path(const QString& name) const { return m_root.filePath(name); }
  QStringList entries() const { return QDir(root()).entryList(QDir::Files | QDir::NoDotAndDotDot); }

private:
  QTemporaryDir m_root;
};

// The save dialog starts with the wildcard in the Exports folder beside the
// machine-wide client folder, or in the documents when that is unusable.
TEST_F(ExportDirTest, SaveDialogStartsInTheExportFolderOrTheDocuments) {
  ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("PM/Exports")));
  ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("Other/Client")));
  QSettings(machineFile(), QSettings::IniFormat).setValue("Client/NembraClientDir", root() + "/PM/Client/");
  EXPECT_EQ(ExportLocation::current().folder, root() + QStringLiteral("/PM/Exports/"));
  QFileDialog dialog;
  prepareExportDialog(dialog, ExportLocation::resolve(root() + QStringLiteral("/PM/Client/"), root()));
  EXPECT_EQ(dialog.directory().absolutePath(), root() + QStringLiteral("/PM/Exports"));
  EXPECT_EQ(dialog.selectedFiles(), QStringList{root() + QStringLiteral("/PM/Exports/*.csv")});

  for (const QString& client : {root() + QStringLiteral("/Other/Client/"),  // no Exports folder beside it
                                root() + QStringLiteral("/PM/client/"), QString()}) {
    const ExportLocation where = ExportLocation::resolve(client, root() + QStringLiteral("/docs"));
    EXPECT_EQ(where.initialPath(), root() + QStringLiteral("/docs/*.csv")) << client.toStdString();
  }
}

// A chart stand-in: a header band and a red square to find in the written file.
void paintChart(QPainter& p, const QRectF& r) {
  p.fillRect(r, Qt::black);
  p.fillRect(QRectF(r.left(), r.top(), r.width(), 20), Qt::darkGray);
  p.fillRect(QRectF(r.center() - QPointF(10, 10), QSizeF(20, 20)), Qt::red);
}

// Root ignores permission bits: the unwritable targets are ones no user can create. A
// failed write, also one a full disk fails midway, names the file and leaves the older
// one and no temporary file; the user sees one message. A complete write replaces it.
TEST_F(ExportDirTest, FailedWritesNameTheFileAndLeaveTheOldOne) {
  writeFile(path("keep.png"), "old contents\n");
  ASSERT_TRUE(QDir(root()).mkdir(QStringLiteral("a-folder")));
  enum How { Csv, Broken, Image, NoArea, NoChart };
  const std::pair<const char*, How> cases[] = {
      {"keep.png/report.csv", Csv},        // parent is a file
      {"no-such-folder/report.csv", Csv},  // parent missing
      {"a-folder", Csv},                   // target is a folder
      {"keep.png", Broken},
      {"chart.bmp", Image},  // a kind we do not write
      {"keep.png", NoArea},
      {"keep.png", NoChart},
      {"missing/dir/c.png", Image},
  };
  for (const auto& [name, how] : cases) {
    const QString target = path(name);
    bool called = false;
    const auto writer = [&, how = how](QTextStream& out) {
      called = true;
      out << "half a report";
      if (how == Broken) out.setStatus(QTextStream::WriteFailed);
    };
    const ExportFile::Result r =
        how <= Broken ? ExportFile::write(target, writer)
                      : ChartImageFile::write(target, how == NoChart ? ChartPainter() : paintChart,
                                              how == NoArea ? QSize() : QSize(320, 200));
    EXPECT_TRUE(!r.ok && called == (how == Broken)) << name;
    EXPECT_TRUE(r.error.contains(QDir::toNativeSeparators(target))) << r.error.toStdString();
  }
  EXPECT_EQ(entries(), QStringList{QStringLiteral("keep.png")});
  EXPECT_EQ(readFile(path("keep.png")), QByteArray("old contents\n"));

  RecordingPrompts prompts;
  ScopedPrompts scope(prompts);
  const auto writeX = [](QTextStream& out) { out << "x\n"; };
  EXPECT_TRUE(saveExport(nullptr, path(QStringLiteral("keep.png")), writeX));
  EXPECT_EQ(readFile(path("keep.png")), QByteArray("x\n"));
  EXPECT_TRUE(prompts.texts.isEmpty());
  EXPECT_FALSE(saveExport(nullptr, path(QStringLiteral("missing/no.csv")), writeX));
  ASSERT_EQ(prompts.texts.size(), 1);
  EXPECT_TRUE(prompts.texts[0].contains(QStringLiteral("missing/no.csv")));
}

// The extension picks the kind; each file is the chart at its size: a PNG of
// its pixels, an SVG drawing, a one-page PDF (320 x 200 pixels at 96 per inch
// are 240 x 150 points).
TEST_F(ExportDirTest, ChartImageEachKindHoldsTheChartAtItsSize) {
  const QSize chartSize{320, 200};
  EXPECT_EQ(ChartImageFile::kindOf("png"), ChartImageFile::Kind::Unknown);
  for (const char* name : {"c.png", "c.Svg", "c.pdf"})
    ASSERT_TRUE(ChartImageFile::write(path(name), paintChart, chartSize));
  const QImage image(path("c.png"));
  EXPECT_EQ(image.size(), chartSize);
  EXPECT_EQ(image.pixelColor(160, 100), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(5, 50), QColor(Qt::black));

  QDomDocument svg;
  ASSERT_TRUE(svg.setContent(readFile(path("c.Svg"))));
  EXPECT_EQ(svg.documentElement().attribute("viewBox"), "0 0 320 200");
  EXPECT_TRUE(readFile(path("c.Svg")).contains("#ff0000"));

  const QByteArray pdf = readFile(path("c.pdf"));
  const auto box = QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
                       .match(QString::fromLatin1(pdf));
  EXPECT_NEAR(box.captured(1).toDouble(), 240.0, 0.5);
  EXPECT_NEAR(box.captured(2).toDouble(), 150.0, 0.5);
}

}  // namespace
