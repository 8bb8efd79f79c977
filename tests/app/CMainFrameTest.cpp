#include "app/CMainFrame.h"
#include "app/Clock.h"
#include "app/Prompts.h"
#include "app/SettingsStore.h"
#include "app/WindowPlacement.h"
#include "query/CORBPropertiesDlg.h"
#include "resources/CommandIds.h"
#include "support/TempSettings.h"

#include <QAction>
#include <QApplication>
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

  ScopedFixedClock m_clock{QDateTime(QDate(2024, 6, 15), QTime(12, 7), Qt::UTC)};
  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
};

TEST_F(MainFrameTest, NewGraphCommandOpensTheDialogAndKeepsTheAcceptedRequest) {
  CMainFrame frame;
  frame.show();
  QAction* newGraph = frame.action(CommandIds::ID_GRAPH_NEW);
  ASSERT_NE(newGraph, nullptr);
  EXPECT_EQ(newGraph->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));

  bool seen = false;
  pressWhenShown(QDialogButtonBox::Cancel, &seen);
  newGraph->trigger();
  EXPECT_TRUE(seen);
  EXPECT_EQ(frame.currentQuery().graphType, NoGraph);  // cancel keeps the request

  pressWhenShown(QDialogButtonBox::Ok, &seen);
  newGraph->trigger();
  EXPECT_TRUE(seen);
  EXPECT_TRUE(m_prompts.texts.isEmpty()) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(frame.currentQuery().graphType, TimeWindowSummary);
}

TEST_F(MainFrameTest, ClosingKeepsThePlacementForTheNextStart) {
  {
    CMainFrame frame;
    frame.setGeometry(40, 50, 700, 500);
    frame.show();
    frame.close();
  }
  SettingsStore store;
  const auto p = WindowPlacement::Load(store);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->right - p->left, 700);
  EXPECT_EQ(p->bottom - p->top, 500);
  CMainFrame again;
  EXPECT_EQ(again.size(), QSize(700, 500));
}

}  // namespace
