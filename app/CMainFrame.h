#pragma once

#include "query/GraphQuery.h"

#include <QHash>
#include <QMainWindow>

class QAction;
class QLabel;
class CORBPropertiesDlg;

// The one main window. It owns the current and previous request and the New
// Graph dialog; commands are QActions keyed by their command id, and their
// enabled state is decided in one update function.
class CMainFrame : public QMainWindow {
  Q_OBJECT
public:
  explicit CMainFrame(QWidget* parent = nullptr);
  ~CMainFrame() override;

  QAction* action(int commandId) const { return m_actions.value(commandId); }
  CORBPropertiesDlg& newGraphDialog() { return *m_newGraph; }
  const GraphQuery& currentQuery() const { return m_current; }

  // New Graph: shows the dialog; on OK its request becomes the current one.
  void OnNewGraph();

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  QAction* addCommand(QMenu* menu, int commandId);
  void buildMenus();
  void updateCommands();

  GraphQuery m_current;
  GraphQuery m_previous;
  CORBPropertiesDlg* m_newGraph = nullptr;
  QHash<int, QAction*> m_actions;
  QLabel* m_statusPanes[3] = {};
};
