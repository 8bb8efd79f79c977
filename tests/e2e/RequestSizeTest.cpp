// The sizes the New Graph dialog accepts against what nembra-sim answers: the
// largest request of each type through the dialog and over loopback. Both
// sides count with the one RequestSize rule, whose limits its own tests pin.
// Runs with TZ=Europe/Berlin.
#include "app/CMainFrame.h"
#include "app/COrbiskDoc.h"
#include "app/ConnectedSession.h"
#include "app/ServerSession.h"
#include "core/ShellEvents.h"
#include "e2e/LoopbackSim.h"
#include "query/NewGraphRules.h"
#include "query/QueryTestUtil.h"
#include "resources/CommandIds.h"
#include "support/DemoDatabase.h"
#include "support/FixedClock.h"
#include "views/ReportView.h"

namespace {

using namespace std::chrono_literals;

// Two days after the autumn clock change, so 97 days back lie in summer time.
// The scans run on past it, so an end to the second finds one.
const QDateTime kEnd = utc(2026, 10, 27, 12, 0);
const QDateTime kNow = kEnd.addSecs(6 * 60 + 37);
const QDateTime kLastScan = kEnd.addSecs(3600);

// Average at 5 MHz, the record's reset values.
GraphQuery request(int type, int increment, const QDateTime& start, const QDateTime& end) {
  GraphQuery q;
  q.graphType = type;
  q.increment = increment;
  q.SetStart(at(start));
  q.SetEnd(at(end));
  return q;
}

using RequestSizeTest = TempSettingsTest;

// The largest request of each type, entered in the dialog and accepted by its
// OK, is fetched whole and shown: as many points or ribbons as it counted.
TEST_F(RequestSizeTest, TheLargestAcceptedRequestOfEachTypeIsAnsweredAndShown) {
  const struct {
    GraphQuery query;
    bool upToTheSecond;
    int expected;
  } cases[] = {
      {request(OneFreqTimeWindow, Increment::k1Hour, kEnd.addSecs(-30015 * 60), kEnd), false, 500},
      {request(OneFreqTimeWindow, Increment::k15Min, kEnd.addSecs(-7500 * 60), kEnd), true, 500},
      {request(TimeWindowDetail, Increment::k1Hour, kEnd.addSecs(-5835 * 60), kEnd), false, 97},
      {request(TimeWindowDetail, Increment::k15Min, kEnd.addSecs(-1440 * 60), kEnd), true, 97},
      // Both across the autumn change: 97 days and one hour.
      {request(TimeWindowDetail, Increment::k1Day, local(2026, 7, 22, 13, 0), kEnd), false, 97},
      {request(MultiDay, Increment::k1Day, local(2026, 7, 22, 0, 0), local(2026, 10, 27, 0, 0)), false, 97},
      {request(TwentyFourHour, Increment::k1Hour, local(2026, 10, 25, 0, 0), local(2026, 10, 26, 0, 0)),
       false, 25},
      // 10:00 to 11:00 on 98 days: 97 days and one hour.
      {request(MultiDayTimeWindow, Increment::k1Day, local(2026, 7, 22, 10, 0), local(2026, 10, 27, 11, 0)),
       false, 97},
  };
  writeIdentity(machineFile(), DemoSeeder::kUser, DemoSeeder::kPassword);
  ScopedFixedClock clock{kNow};
  RecordingPrompts prompts;
  ScopedPrompts installed{prompts};
  QObject guard;
  int closes = 0;
  QObject::connect(&ShellEvents::instance(), &ShellEvents::closeRequested, &guard, [&] { ++closes; });
  SimOptions options;
  options.dbPath = seededDemoDatabase(kLastScan.toSecsSinceEpoch(), 6);
  LoopbackSim sim(options);
  ServerSession session;
  COrbiskDoc doc{session};
  doc.setPacing(FetchPacing{20ms, 5ms, {}});
  doc.setPollInterval(10);
  doc.SetFreqRange(5.0, 65.0);
  ASSERT_TRUE(session.Connect(DemoSeeder::kQuietNode, ServerSession::kCommandLineDataClass,
                              QString::fromStdString(sim.address()), DemoSeeder::kToken, "Port 3"));
  CMainFrame frame(doc, session);
  frame.show();
  for (const auto& c : cases) {
    const int type = c.query.graphType;
    SCOPED_TRACE(testing::Message() << type << " " << c.query.increment << " " << c.upToTheSecond);
    prompts.texts.clear();
    frame.prefillNewGraph({c.query, c.upToTheSecond, true});
    answerNewGraph(&guard, QDialogButtonBox::Ok);
    frame.action(CommandIds::ID_GRAPH_NEW)->trigger();
    QCoreApplication::processEvents();
    const GraphQuery& shown = frame.currentQuery();
    // This request came through, not the previous one put back.
    ASSERT_EQ(shown.GetStart().ToSeconds(), c.query.GetStart().ToSeconds())
        << prompts.texts.join('|').toStdString();
    EXPECT_TRUE(prompts.texts.isEmpty()) << prompts.texts.join('|').toStdString();
    EXPECT_EQ(closes, 0);
    ASSERT_NE(frame.activeView(), nullptr);
    EXPECT_EQ(frame.activeView()->graphType(), type);
    EXPECT_EQ(NewGraphRules::graphSize(shown, c.upToTheSecond), c.expected);
    const int end = shown.GetEnd().ToSeconds();
    if (type == OneFreqTimeWindow) {
      const auto& series = doc.seriesStore().series[0];
      ASSERT_EQ(series.entryCount, c.expected);
      EXPECT_EQ(series.times[0], uint32_t(shown.GetStart().ToSeconds()));
      continue;
    }
    const RibbonSet& ribbons = doc.ribbonSet(type);
    ASSERT_EQ(ribbons.ribbonCount, c.expected);
    // The latest ribbon ends with the request, a day's with its last window.
    const int32_t lastEnd = ribbons.periodEnd(c.expected - 1);
    if (type == MultiDay || type == MultiDayTimeWindow)
      EXPECT_EQ(QDateTime::fromSecsSinceEpoch(lastEnd).time(), shown.GetEnd().toLocal().time());
    else
      EXPECT_EQ(lastEnd, end);
  }
  frame.close();
}

}  // namespace
