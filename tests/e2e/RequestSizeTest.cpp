// The sizes the New Graph dialog accepts against what nembra-sim answers:
// the largest request of each type through the dialog and over loopback, and
// a sweep of spans across each limit straight through the server's planning.
// Runs with TZ=Europe/Berlin.
#include "app/CMainFrame.h"
#include "app/COrbiskDoc.h"
#include "app/ConnectedSession.h"
#include "app/ServerSession.h"
#include "core/ShellEvents.h"
#include "e2e/LoopbackSim.h"
#include "query/DayWindow.h"
#include "query/NewGraphRules.h"
#include "query/QueryTestUtil.h"
#include "resources/CommandIds.h"
#include "sim/RequestPlan.h"
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

// What nembra-sim answers for the request the client sends: the blocks of a
// ribbon or day answer or the points of a series, or the refusal.
std::pair<HRESULT, int64_t> served(const GraphQuery& q) {
  static const std::vector<double> plan{5.0, 10.0};
  RequestPlan out;
  const int32_t start = q.GetStart().ToSeconds(), end = q.GetEnd().ToSeconds();
  const int32_t interval = Increment::seconds(q.increment);
  HRESULT h = hr::S_OK;
  if (q.graphType == OneFreqTimeWindow) {
    h = RequestPlan::frequency(start, end, interval, 0, q.frequency, plan, out);
  } else if (q.graphType == TimeWindowDetail) {
    h = RequestPlan::ribbon(start, end, interval, 0, out);
  } else {
    const DayWindow w = DayWindow::of(q.GetStart(), q.GetEnd());
    h = RequestPlan::day(w.firstDay, w.lastDay, w.windowStart, w.windowEnd, 0, out);
  }
  return {h, h == hr::S_OK ? int64_t(out.periods.size()) : 0};
}

// Every span the dialog accepts, a little below to a little beyond each
// limit, is answered with the dialog's count (one at the least).
TEST(RequestSizeSweep, EveryAcceptedSpanIsAnsweredWithTheDialogsCount) {
  const struct {
    int type, increment;
    bool upToTheSecond;
    QDateTime start;
    int64_t from, to, step;  // spans in seconds
    int slack = 0;           // blocks the answer may differ by
  } sweeps[] = {
      {OneFreqTimeWindow, Increment::k15Min, false, utc(2026, 1, 5, 0, 0), 498 * 900, 502 * 900, 900},
      {OneFreqTimeWindow, Increment::k15Min, true, utc(2026, 1, 5, 0, 0), 498 * 900, 502 * 900, 60},
      {OneFreqTimeWindow, Increment::k1Hour, true, utc(2026, 1, 5, 0, 0), 498 * 3600, 502 * 3600, 60},
      {OneFreqTimeWindow, Increment::k1Day, false, utc(2026, 1, 5, 0, 0), 498 * 86400, 502 * 86400, 900},
      {TimeWindowDetail, Increment::k15Min, true, utc(2026, 1, 5, 0, 0), 95 * 900, 99 * 900, 60},
      {TimeWindowDetail, Increment::k1Hour, false, utc(2026, 1, 5, 0, 0), 95 * 3600, 99 * 3600, 900},
      {TimeWindowDetail, Increment::k1Hour, true, utc(2026, 1, 5, 0, 0), 95 * 3600, 99 * 3600, 60},
      {TimeWindowDetail, Increment::k1Day, false, local(2026, 7, 20, 9, 0), 95 * 86400, 99 * 86400, 900},
      {MultiDay, Increment::k1Day, false, local(2026, 11, 1, 0, 0), 95 * 86400, 99 * 86400, 900},
      {MultiDayTimeWindow, Increment::k1Day, false, local(2026, 11, 1, 10, 0), 95 * 86400, 99 * 86400, 900},
      // Across the spring change a window of about 12 hours counts a day apart (docs/server.md).
      {MultiDayTimeWindow, Increment::k1Day, false, local(2027, 1, 1, 10, 0), 95 * 86400, 99 * 86400, 900, 1},
  };
  for (const auto& s : sweeps) {
    int accepted = 0, refused = 0;
    for (int64_t span = s.from; span <= s.to; span += s.step) {
      // An end to the second carries seconds; the fields' ends never do.
      const QDateTime end = s.start.addSecs(span + (s.upToTheSecond ? 37 : 0));
      const GraphQuery q = request(s.type, s.increment, s.start, end);
      NewGraphRules::CheckContext context{at(end), s.upToTheSecond, 0.0, 100.0};
      if (!NewGraphRules::runChecks(q, context).empty()) {
        ++refused;
        continue;
      }
      ++accepted;
      const int64_t counted = std::max<int64_t>(1, NewGraphRules::graphSize(q, s.upToTheSecond));
      const auto [h, blocks] = served(q);
      ASSERT_EQ(h, hr::S_OK) << s.type << " " << s.increment << " " << s.upToTheSecond << " " << span << " s";
      ASSERT_LE(std::abs(blocks - counted), s.slack) << s.type << " " << s.start.toString().toStdString()
                                                     << " " << span << " s: " << blocks << " for " << counted;
    }
    // Each sweep crosses its limit.
    EXPECT_GT(accepted, 0) << s.type << " " << s.increment;
    EXPECT_GT(refused, 0) << s.type << " " << s.increment;
  }
}

}  // namespace
