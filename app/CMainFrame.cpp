#include "app/CMainFrame.h"

#include "app/SettingsStore.h"
#include "app/WindowPlacement.h"
#include "query/CORBPropertiesDlg.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <span>

namespace {

QString text(int id) { return Strings::LoadString(id); }

const CommandIds::CommandInfo* commandInfo(int id) {
  using CommandIds::CommandInfo;
  const std::span<const CommandInfo> menus[] = {CommandIds::kGraphMenu, CommandIds::kViewMenu,
                                                CommandIds::kThresholdsMenu, CommandIds::kMarkerMenu,
                                                CommandIds::kHelpMenu};
  for (const auto& menu : menus)
    for (const CommandInfo& c : menu)
      if (c.id == id) return &c;
  return nullptr;
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
  m_current.graphType = NoGraph;
  m_newGraph = new CORBPropertiesDlg(this);
  setWindowTitle(text(Strings::IDS_APP_TITLE));
  setCentralWidget(new QWidget(this));
  buildMenus();
  for (auto*& pane : m_statusPanes) {
    pane = new QLabel(this);
    statusBar()->addPermanentWidget(pane);
  }
  resize(900, 600);
  SettingsStore store;
  if (const auto p = WindowPlacement::Load(store)) {
    setGeometry(p->left, p->top, p->right - p->left, p->bottom - p->top);
    if (p->showCmd == WindowPlacement::kShowMaximized) setWindowState(Qt::WindowMaximized);
  }
  updateCommands();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::addCommand(QMenu* menu, int commandId) {
  auto* a = new QAction(this);
  if (const auto* info = commandInfo(commandId)) {
    QString label = text(info->textId);
    label = label.section(QLatin1Char('\t'), 0, 0);  // the shortcut is the action's own
    a->setText(label);
    if (info->shortcut && *info->shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(info->shortcut)));
  }
  a->setData(commandId);
  menu->addAction(a);
  m_actions.insert(commandId, a);
  return a;
}

void CMainFrame::buildMenus() {
  QMenu* graph = menuBar()->addMenu(text(Strings::IDS_MENU_GRAPH));
  connect(addCommand(graph, CommandIds::ID_GRAPH_NEW), &QAction::triggered, this, &CMainFrame::OnNewGraph);
  graph->addSeparator();
  connect(addCommand(graph, CommandIds::ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);
  connect(graph, &QMenu::aboutToShow, this, &CMainFrame::updateCommands);
}

void CMainFrame::updateCommands() {
  // Commands of later reports join here; New Graph and Exit are always on.
  for (QAction* a : std::as_const(m_actions)) a->setEnabled(true);
}

void CMainFrame::OnNewGraph() {
  m_previous = m_current;
  m_newGraph->clearCancelled();
  m_newGraph->exec();
  if (!m_newGraph->cancelled()) m_current = m_newGraph->query();
  updateCommands();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  const QRect r = normalGeometry();
  WindowPlacement p;
  p.showCmd = isMaximized() ? WindowPlacement::kShowMaximized
              : isMinimized() ? WindowPlacement::kShowMinimized
                              : WindowPlacement::kShowNormal;
  p.left = r.left();
  p.top = r.top();
  p.right = r.left() + r.width();
  p.bottom = r.top() + r.height();
  SettingsStore store;
  p.Save(store);
  event->accept();
}
