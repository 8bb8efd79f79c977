#include <QtGlobal>
#include <ctime>
#include <gtest/gtest.h>

#ifdef QUILLON_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
  // Date tests pin a zone with daylight saving so both sides of a switch are
  // exercised wherever they run.
  if (*QUILLON_TEST_TZ) {
    qputenv("TZ", QUILLON_TEST_TZ);
    tzset();
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TestApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
