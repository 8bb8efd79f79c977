// Follow Live against nembra-sim on loopback, a scan every second: the report
// follows the newest scans with no user action, keeps the view the user set,
// and rides out the server going away and coming back without a box.
#include "app/CMainFrame.h"
#include "app/ConnectedSession.h"
#include "app/LiveFollower.h"
#include "app/LiveStatus.h"
#include "chart/CChart3D.h"
#include "e2e/LoopbackSim.h"
#include "resources/CommandIds.h"
#include "sim/SimContext.h"
#include "sim/SimDatabase.h"
#include "views/C3DReportView.h"
#include "views/MarkerSet.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

namespace {

using namespace std::chrono_literals;
using namespace CommandIds;

class FollowLiveTest : public TempSettingsTest {
protected:
  void SetUp() override {
    TempSettingsTest::SetUp();
    writeIdentity(machineFile(), DemoSeeder::kUser, DemoSeeder::kPassword);
    auto seeded = SimDatabase::open(db(), nullptr);
    ASSERT_TRUE(seeded &&
                DemoSeeder(static_cast<int32_t>(SimContext::nowSeconds() - 3600), 1).seed(*seeded, nullptr));
    serve(0);
    ASSERT_TRUE(m_session.Connect(DemoSeeder::kQuietNode, ServerSession::kCommandLineDataClass,
                                  QString::fromStdString(m_sim->address()), DemoSeeder::kToken, "Port 3"));
    m_doc.setPacing(FetchPacing{20ms, 5ms, {}});
    m_doc.setPollInterval(5);
    m_frame = std::make_unique<CMainFrame>(m_doc, m_session);
    m_frame->follower().setIntervalMs(700);
    m_frame->follower().setFirstRetryMs(200);
  }
  void TearDown() override { m_frame.reset(); }

  std::string db() const { return m_dir.filePath("live.db").toStdString(); }
  void serve(int port) {
    SimOptions options;
    options.dbPath = db();
    options.scanInterval = 1;
    m_sim = std::make_unique<LoopbackSim>(options, ServiceOptions{}, port);
  }
  // An hour up to the second, as the dialog's "Up to the Second" sends it.
  void fetchUpToNow(int type) {
    int64_t now = SimContext::nowSeconds();
    if (now % 900 == 0) --now;
    GraphQuery q;
    q.graphType = type;
    q.SetStart(CNBDateTime::FromSeconds(static_cast<int32_t>(now - 3600)));
    q.SetEnd(CNBDateTime::FromSeconds(static_cast<int32_t>(now)));
    ASSERT_TRUE(m_doc.RunReport(q)) << m_prompts.texts.join('|').toStdString();
  }
  void follow() {
    QAction* a = m_frame->action(ID_VIEW_FOLLOW_LIVE);
    m_frame->updateCommands();
    ASSERT_TRUE(a->isEnabled());
    a->trigger();
    m_frame->updateCommands();
    ASSERT_TRUE(a->isChecked());
  }
  bool refreshedTimes(int n) {
    const int goal = m_frame->follower().refreshes() + n;
    return waitFor([&] { return m_frame->follower().refreshes() >= goal; });
  }
  int32_t end() const { return m_doc.reportQuery().GetEnd().ToSeconds(); }

  QTemporaryDir m_dir;
  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
  std::unique_ptr<LoopbackSim> m_sim;
  ServerSession m_session;
  COrbiskDoc m_doc{m_session};
  std::unique_ptr<CMainFrame> m_frame;
};

TEST_F(FollowLiveTest, NewestScansArriveAndTheViewIsKept) {
  fetchUpToNow(TimeWindowDetail);
  auto& view = *static_cast<C3DReportView*>(m_frame->activeView());
  view.chart().setMagnification(1.8);
  view.chart().setRotation(200.0);
  view.raiseReferenceLevel();
  const int top = view.level().top;
  const int32_t before = end();
  const int ribbons = m_doc.ribbonSet(TimeWindowDetail).ribbonCount;
  follow();
  ASSERT_TRUE(refreshedTimes(2)) << m_frame->liveStatus().text().toStdString();
  EXPECT_GT(end(), before);
  const RibbonSet& set = m_doc.ribbonSet(TimeWindowDetail);
  EXPECT_EQ(set.ribbonCount, ribbons);
  const auto& newest = set.values(set.ribbonCount - 1);
  EXPECT_TRUE(std::any_of(newest.begin(), newest.begin() + set.entryCount(set.ribbonCount - 1),
                          [](double v) { return v < Blocks::NO_DATA; }));
  EXPECT_EQ(std::tuple(view.chart().view().magnification, view.chart().view().rotation, view.level().top),
            std::tuple(1.8, 200.0, top));
  EXPECT_TRUE(m_frame->liveStatus().text().startsWith("Updated "))
      << m_frame->liveStatus().text().toStdString();

  // Switched off, the report stays as it is and the type is no longer followed.
  m_frame->action(ID_VIEW_FOLLOW_LIVE)->trigger();
  const int32_t stopped = end();
  QTest::qWait(1500);
  EXPECT_EQ(end(), stopped);

  // A time marker stays on its point while the window slides under it.
  fetchUpToNow(OneFreqTimeWindow);
  EXPECT_FALSE(m_frame->follower().following());
  m_frame->action(ID_MARKER_AVERAGE)->trigger();
  MarkerSet& markers = m_frame->markers();
  markers.step(1);
  const int index = markers.marker(1).index;
  const double at = markers.anchors()[0];
  const int32_t from = end();
  follow();
  ASSERT_TRUE(refreshedTimes(1));
  EXPECT_TRUE(markers.marker(1).on());
  EXPECT_EQ(markers.marker(1).index, index);
  EXPECT_NEAR(markers.anchors()[0], at, end() - from);
  EXPECT_TRUE(m_prompts.texts.isEmpty()) << m_prompts.texts.join('|').toStdString();
}

TEST_F(FollowLiveTest, ARefreshFailsWhileTheServerIsGoneAndSucceedsOnceItIsBack) {
  fetchUpToNow(TimeWindowSummary);
  const int port = m_sim->port();
  follow();
  ASSERT_TRUE(refreshedTimes(1));
  m_sim.reset();
  ASSERT_TRUE(waitFor([&] { return m_frame->liveStatus().text().startsWith("Reconnecting failed at "); }))
      << m_frame->liveStatus().text().toStdString();
  EXPECT_GE(m_frame->follower().failures(), 1);
  EXPECT_EQ(m_frame->activeView()->graphType(), TimeWindowSummary);  // what was drawn stays
  serve(port);
  ASSERT_TRUE(refreshedTimes(1)) << m_frame->liveStatus().text().toStdString();
  EXPECT_TRUE(m_frame->follower().following());
  EXPECT_TRUE(m_prompts.texts.isEmpty()) << m_prompts.texts.join('|').toStdString();
}

}  // namespace
