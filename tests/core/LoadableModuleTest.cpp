#include "core/LoadableModule.h"

#include <gtest/gtest.h>

#include <QLibraryInfo>
#include <QTemporaryDir>

TEST(LoadableModule, LooksBesideTheProgramThenInstalledThenInTheBuildTree) {
  EXPECT_EQ(LoadableModule::candidates("m.so", "/opt/q/bin", "../lib/quillon/modules", "/src/build/m.so"),
            QStringList({"/opt/q/bin/m.so", "/opt/q/lib/quillon/modules/m.so", "/src/build/m.so"}));
  EXPECT_EQ(LoadableModule::candidates("m.so", "", "../lib", "/src/build/m.so"),
            QStringList({"/src/build/m.so"}));
}

TEST(LoadableModule, TheFirstPlaceWithTheEntryPointGivesIt) {
  QTemporaryDir dir;
  const QString notAModule = dir.filePath("m.so");
  QFile file(notAModule);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not an ELF file");
  file.close();
  EXPECT_EQ(LoadableModule::resolve({dir.filePath("absent.so")}, "entry", "a test module"), nullptr);
  EXPECT_EQ(LoadableModule::resolve({notAModule}, "entry", "a test module"), nullptr);
  // The first place that has the entry point gives it; a library without it is passed over.
  const QString core = QLibraryInfo::path(QLibraryInfo::LibrariesPath) + "/libQt6Core.so.6";
  EXPECT_EQ(LoadableModule::resolve({core}, "quillon_no_such_entry", "a test module"), nullptr);
  EXPECT_NE(LoadableModule::resolve({notAModule, core}, "qVersion", "a test module"), nullptr);
}
