// The yardstick for the program's start: the smallest Qt Widgets main window
// a desktop program shows, a menu bar with a few menus, a tool bar with a few
// actions and a status bar, at the program's own window size. Nothing else:
// whatever it costs to start is what any Qt 6 program of that shape pays.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Bare main window"));
  QToolBar* bar = window.addToolBar(QStringLiteral("Main"));
  const char* const menus[][5] = {
      {"&File", "&New...", "&Open...", "&Save", "E&xit"},
      {"&Edit", "Cu&t", "&Copy", "&Paste", "Select &All"},
      {"&View", "Zoom &In", "Zoom &Out", "&Reset Zoom", "&Full Screen"},
      {"&Help", "&Contents", "&Index", "&Search", "&About"},
  };
  for (const auto& m : menus) {
    QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(m[0]));
    for (int i = 1; i < 5; ++i) {
      QAction* a = menu->addAction(QString::fromLatin1(m[i]));
      if (i == 1) bar->addAction(a);
    }
  }
  window.statusBar()->showMessage(QStringLiteral("Ready"));
  window.resize(960, 640);
  window.show();
  return QApplication::exec();
}
