#include "ConnectedSession.h"
#include "app/CMainFrame.h"
#include "app/HelpWindow.h"
#include "chart/CChart2D.h"
#include "chart/CChart3D.h"
#include "query/FetchTestBlocks.h"
#include "resources/CommandIds.h"
#include "support/FixedClock.h"
#include "support/QtPrinters.h"
#include "views/C3DReportView.h"
#include "views/Chart2DReportView.h"
#include "views/ChartAppearanceDialog.h"

#include <QComboBox>
#include <QPrinter>
#include <QSpinBox>
#include <QTabWidget>

namespace {

class MainFrameTest : public TempSettingsTest {
protected:
  ServerSession m_session;
  COrbiskDoc m_doc{m_session};
  ScopedFixedClock m_clock{QDateTime(QDate(2024, 6, 15), QTime(12, 7), Qt::UTC)};
  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
};

// Without a view only what needs none is on, also once a launch reset the
// request; threshold names rename both menus; Cancel before the first report
// ends the program.
TEST_F(MainFrameTest, ViewCommandsWaitForAViewAndCancelBeforeAReportEnds) {
  CMainFrame frame(m_doc, m_session);
  frame.show();
  QString on;
  for (int id : {CommandIds::ID_VIEW_ZOOM_IN, CommandIds::ID_MARKER_CENTER, CommandIds::ID_GRAPH_NEW})
    on += frame.action(id)->isEnabled() ? '1' : '0';
  EXPECT_EQ(on, "001");
  frame.setThresholdNames({"Upper High", "Upper Low", "Lower High", "Lower Low"});
  EXPECT_EQ(frame.action(CommandIds::ID_MARKER_THRESHOLD_4)->text(), "Lower Low");

  bool seen = false;
  answerNewGraph(&frame, QDialogButtonBox::Cancel, [&] { seen = true; });
  frame.action(CommandIds::ID_GRAPH_NEW)->trigger();
  EXPECT_TRUE(seen);
  QCoreApplication::processEvents();
  EXPECT_FALSE(frame.isVisible());
  EXPECT_TRUE(m_prompts.texts.isEmpty());
  EXPECT_EQ(frame.currentQuery().graphType, NoGraph);
  frame.resetRequest();  // as a launch does: still nothing to export
  frame.updateCommands();
  EXPECT_FALSE(frame.action(CommandIds::ID_GRAPH_EXPORT)->isEnabled());
}

// Dates supplied: the first load (N; a launch's pre-filled opening L loads
// nothing) opens on the first type and increment, later ones read them.
TEST_F(MainFrameTest, FirstLoadOfADatedSessionOpensOnTheFirstTypeAndIncrement) {
  writeFile(userFile(),
            "[All%20Versions]\nSettings\\Settings\\Graph%20Type=3\nSettings\\Settings\\Increment%3A=1\n");
  const QString last = "24 Hour/1 Hour", first = "Time Window Summary/15 Min";
  const std::tuple<bool, QString, QStringList> cases[] = {
      {true, "LNN", {first, first, last}}, {true, "NN", {first, last}}, {false, "N", {last}}};
  for (const auto& [dated, steps, expected] : cases) {
    m_doc.setDatesSupplied(dated);
    CMainFrame frame(m_doc, m_session);
    QStringList shown;
    answerNewGraph(
        &frame, QDialogButtonBox::Cancel,
        [&] {
          const QWidget* d = QApplication::activeModalWidget();
          shown << d->findChild<QComboBox*>("graphType")->currentText() + '/' +
                       d->findChild<QComboBox*>("increment")->currentText();
        },
        false);
    for (const QChar step : steps) {
      if (step == 'L') frame.prefillNewGraph({frame.newGraphQuery(), std::nullopt, true});
      frame.OnNewGraph();
    }
    EXPECT_EQ(shown, expected) << steps.toStdString();
  }
}

TEST_F(MainFrameTest, ClosingKeepsThePlacementForTheNextStart) {
  {
    CMainFrame frame(m_doc, m_session);
    frame.setGeometry(40, 50, 700, 500);
    frame.show();
    frame.close();
  }
  CMainFrame again(m_doc, m_session);
  again.show();  // the placement comes back when the window is first shown
  EXPECT_EQ(again.size(), QSize(700, 500));
}

class ReportFrameTest : public ConnectedSessionTest {
protected:
  void SetUp() override {
    ConnectedSessionTest::SetUp();
    m_frame = std::make_unique<CMainFrame>(*m_doc, m_session);
  }
  void TearDown() override { m_frame.reset(); }

  // One ribbon of levels 1.5 to 14.5, or an average of three points.
  void fetch(int type) {
    if (type == TimeWindowSummary) {
      SummaryBlock b{};
      b.hasData = 1;
      b.entryCount = 3;
      for (int i = 0; i < 3; ++i) {
        b.values[i] = 10.0 * i;
        b.frequencies[i] = 5.0 + i;
      }
      m_fake->data->blocks.push_back(BlockCodec::encode(b));
    } else if (type == OneFreqTimeWindow) {
      FrequencySeriesBlock b{};
      b.hasData = 1;
      b.entryCount = 3;
      for (int i = 0; i < 3; ++i) {
        b.values[i] = 10.0 * i;
        b.times[i] = 1'800'000'000u + 900u * static_cast<uint32_t>(i);
      }
      m_fake->data->blocks.push_back(BlockCodec::encode(b));
    } else {
      BlockSpec s;
      s.values = {1.5, 4.0, 8.0, 12.0, 14.5};
      s.axis = {5.0, 6.0, 7.0, 8.0, 9.0};
      m_fake->data->blocks.push_back(bytesOf(type >= MultiDay, s));
    }
    GraphQuery q;
    q.Reset();
    q.graphType = type;
    ASSERT_TRUE(m_doc->RunReport(q)) << m_prompts.texts.join('|').toStdString();
  }
  const CChart3D::Axis& valueAxis() const {
    return static_cast<C3DReportView*>(m_frame->activeView())->chart().axis(3);
  }

  std::unique_ptr<CMainFrame> m_frame;
};

// A view reads the settings before it builds, also one not on show; Delta
// stays on while marker one is on over a 3D report.
TEST_F(ReportFrameTest, AViewReadsTheSettingsBeforeItBuildsAndDeltaStaysOn) {
  fetch(TwentyFourHour);
  EXPECT_EQ(valueAxis().minimum, -10.0);  // 1.5 .. 14.5 on steps of 10
  fetch(TimeWindowDetail);
  m_doc->startup().referenceStep = 5;  // as the property dialog leaves them
  m_doc->startup().scale = 5;
  fetch(TwentyFourHour);
  EXPECT_EQ(std::pair(valueAxis().minimum, valueAxis().maximum), std::pair(-15.0, 30.0));
  fetch(OneFreqTimeWindow);
  const Chart2DState::Axis& y =
      static_cast<Chart2DReportView*>(m_frame->activeView())->chart().state().axis(Chart2DState::Y);
  EXPECT_EQ(std::pair(y.gridSpacing, y.maximum - y.minimum), std::pair(5.0, 40.0));

  m_frame->action(CommandIds::ID_MARKER_AVERAGE)->trigger();
  fetch(MultiDay);
  QAction* delta = m_frame->action(CommandIds::ID_MARKER_DELTA);
  EXPECT_TRUE(delta->isEnabled());
  delta->trigger();
  m_frame->updateCommands();
  EXPECT_TRUE(delta->isChecked());
}

int borderWidth(const ReportView* view) {
  if (const auto* flat = dynamic_cast<const Chart2DReportView*>(view))
    return flat->chart().state().look.borderWidth;
  return static_cast<const C3DReportView*>(view)->chart().appearance().borderWidth;
}

// The chart's own pages, as its context menu opens them: a border of width 3, kept.
void editBorderWidth(ReportView* view) {
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<ChartAppearanceDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(dialog);
    // The border page comes first, its width is its one number.
    dialog->findChild<QTabWidget*>()->widget(0)->findChild<QSpinBox*>()->setValue(3);
    dialog->accept();
  });
  if (auto* flat = dynamic_cast<Chart2DReportView*>(view))
    EXPECT_TRUE(flat->editAppearance());
  else
    EXPECT_TRUE(static_cast<C3DReportView*>(view)->editChartProperties());
}

// A new report of the same type keeps the look edited and not yet saved;
// another type in between brings back the stored look (none stored here).
TEST_F(ReportFrameTest, ANewReportOfTheSameTypeKeepsTheEditedLook) {
  for (int type = TimeWindowSummary; type <= MultiDayTimeWindow; ++type) {
    SCOPED_TRACE(type);
    fetch(type);
    const int stored = borderWidth(m_frame->activeView());
    ASSERT_NE(stored, 3);
    editBorderWidth(m_frame->activeView());
    fetch(type);
    EXPECT_EQ(borderWidth(m_frame->activeView()), 3);
    fetch(type == TwentyFourHour ? MultiDay : TwentyFourHour);
    fetch(type);
    EXPECT_EQ(borderWidth(m_frame->activeView()), stored);
  }
}

// Help opens at its start; only context help at the report's topic.
TEST_F(ReportFrameTest, OnlyContextHelpOpensAtTheReportsTopic) {
  fetch(TwentyFourHour);
  HelpWindow* help = HelpWindow::instance(m_frame.get());
  for (int id : {CommandIds::ID_HELP_QUILLON, CommandIds::ID_HELP_INDEX, CommandIds::ID_HELP_FINDER,
                 CommandIds::ID_HELP, CommandIds::ID_DEFAULT_HELP, CommandIds::ID_CONTEXT_HELP}) {
    help->showTopic(QStringLiteral("markers"));
    m_frame->action(id)->trigger();
    EXPECT_EQ(help->currentSource().fragment(), id == CommandIds::ID_CONTEXT_HELP ? "24-hour" : "") << id;
  }
}

// A page that cannot be printed is said once, naming where it was going.
TEST_F(ReportFrameTest, AFailedPrintIsSaidAndChangesNothing) {
  fetch(TwentyFourHour);
  const QString unwritable = "/proc/no-such-folder/r.pdf";
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(unwritable);
  EXPECT_FALSE(m_frame->printTo(printer, m_frame.get()));
  EXPECT_EQ(m_prompts.texts,
            QStringList{"The report could not be printed to " + QDir::toNativeSeparators(unwritable) + "."});
  EXPECT_EQ(m_frame->activeView()->graphType(), TwentyFourHour);
}

}  // namespace
