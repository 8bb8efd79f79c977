#include "app/CMainFrame.h"
#include "app/COrbiskDoc.h"
#include "app/ServerSession.h"
#include "core/Clock.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "core/WindowPlacement.h"
#include "query/CORBPropertiesDlg.h"
#include "resources/CommandIds.h"
#include "support/FixedClock.h"
#include "support/RecordingPrompts.h"
#include "support/TempSettings.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>

namespace {

class MainFrameTest : public TempSettingsTest {
protected:
  // Presses a button of the New Graph dialog once it is up and modal.
  static void pressWhenShown(QDialogButtonBox::StandardButton which, bool* seen) {
    QTimer::singleShot(0, [which, seen] {
      auto* dlg = qobject_cast<CORBPropertiesDlg*>(QApplication::activeModalWidget());
      *seen = dlg != nullptr && dlg->isVisible();
      if (dlg) dlg->findChild<QDialogButtonBox*>()->button(which)->click();
    });
  }

  ServerSession m_session;
  COrbiskDoc m_doc{m_session};
  ScopedFixedClock m_clock{QDateTime(QDate(2024, 6, 15), QTime(12, 7), Qt::UTC)};
  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
};

TEST_F(MainFrameTest, CancelBeforeTheFirstReportEndsTheProgram) {
  CMainFrame frame(m_doc, m_session);
  frame.show();
  QAction* newGraph = frame.action(CommandIds::ID_GRAPH_NEW);
  ASSERT_NE(newGraph, nullptr);
  EXPECT_EQ(newGraph->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
  bool seen = false;
  pressWhenShown(QDialogButtonBox::Cancel, &seen);
  newGraph->trigger();
  EXPECT_TRUE(seen);
  QCoreApplication::processEvents();  // the close request is posted
  EXPECT_FALSE(frame.isVisible());
  EXPECT_TRUE(m_prompts.texts.isEmpty());
  EXPECT_EQ(frame.currentQuery().graphType, NoGraph);
}

TEST_F(MainFrameTest, ThresholdNamesRenameBothMenus) {
  CMainFrame frame(m_doc, m_session);
  frame.setThresholdNames({"Upper High", "Upper Low", "Lower High", "Lower Low"});
  EXPECT_EQ(frame.action(CommandIds::ID_THRESHOLDS_2)->text(), "Upper Low");
  EXPECT_EQ(frame.action(CommandIds::ID_MARKER_THRESHOLD_4)->text(), "Lower Low");
  EXPECT_EQ(frame.action(CommandIds::ID_MARKER_AVERAGE)->text(), "&Average Trace");
}

TEST_F(MainFrameTest, ViewCommandsWaitForAView) {
  CMainFrame frame(m_doc, m_session);
  for (int id : {CommandIds::ID_VIEW_ZOOM_IN, CommandIds::ID_VIEW_ROTATE_LEFT, CommandIds::ID_MARKER_CENTER,
                 CommandIds::ID_GRAPH_COPY, CommandIds::ID_GRAPH_EXPORT, CommandIds::ID_THRESHOLDS_ALL})
    EXPECT_FALSE(frame.action(id)->isEnabled()) << id;
  for (int id : {CommandIds::ID_GRAPH_NEW, CommandIds::ID_FILE_PRINT, CommandIds::ID_APP_EXIT})
    EXPECT_TRUE(frame.action(id)->isEnabled()) << id;
  // A launch resets the request before any report: still nothing to export.
  frame.resetRequest();
  frame.updateCommands();
  EXPECT_FALSE(frame.action(CommandIds::ID_GRAPH_EXPORT)->isEnabled());
  // Texts keep their double blank and lose the key after the tab.
  EXPECT_EQ(frame.action(CommandIds::ID_VIEW_REF_LEVEL_UP)->text(), "I&ncrease  Ref Level");
  EXPECT_EQ(frame.action(CommandIds::ID_GRAPH_NEW)->text(), "New...");
  EXPECT_EQ(frame.action(CommandIds::ID_VIEW_PROPERTIES)->statusTip(), "Edits the graph's properties");
  // The standard help commands work without a report.
  for (int id : CommandIds::kHelpAliases)
    EXPECT_TRUE(frame.action(id) && frame.action(id)->isEnabled()) << id;
}

TEST_F(MainFrameTest, ClosingKeepsThePlacementForTheNextStart) {
  {
    CMainFrame frame(m_doc, m_session);
    frame.setGeometry(40, 50, 700, 500);
    frame.show();
    frame.close();
  }
  SettingsStore store;
  const auto p = WindowPlacement::Load(store);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->right - p->left, 700);
  EXPECT_EQ(p->bottom - p->top, 500);
  CMainFrame again(m_doc, m_session);
  again.show();  // the placement comes back when the window is first shown
  EXPECT_EQ(again.size(), QSize(700, 500));
}

}  // namespace
