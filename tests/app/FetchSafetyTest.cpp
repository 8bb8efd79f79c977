// A fetch must survive whatever the user and the program do while its
// worker waits for the server: the document going away, the close box,
// Cancel while the keep-alive hangs, a worker that throws.
#include "ConnectedSession.h"
#include "core/ServerErrors.h"
#include "query/FetchJob.h"
#include "query/ProgressDialog.h"
#include "resources/Strings.h"

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <future>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A server call that does not return until the test lets it.
class Gate {
public:
  void open() {
    if (!m_opened.exchange(true)) m_promise.set_value();
  }
  // Bounded, so a broken test fails instead of hanging the suite.
  void wait() const { m_future.wait_for(std::chrono::seconds(10)); }

private:
  std::promise<void> m_promise;
  std::shared_future<void> m_future = m_promise.get_future().share();
  std::atomic<bool> m_opened{false};
};

class FetchSafetyTest : public ConnectedSessionTest {
protected:
  void TearDown() override {
    m_gate.open();
    m_doc.reset();
  }

  // The worker's first call to the server hangs until the gate opens.
  void hangTheFetch() {
    m_fake->data->onCall = [this](const std::string& call) {
      if (call.rfind("Start", 0) == 0) m_gate.wait();
    };
  }
  static GraphQuery request() {
    GraphQuery q;
    q.Reset();
    q.graphType = TimeWindowDetail;
    return q;
  }
  static ProgressDialog* shownProgress() {
    return qobject_cast<ProgressDialog*>(QApplication::activeModalWidget());
  }
  // Runs `f` once the progress box is up.
  static void whenShown(std::function<void(ProgressDialog*)> f) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, f] {
      if (ProgressDialog* dialog = shownProgress()) {
        timer->stop();
        timer->deleteLater();
        f(dialog);
      }
    });
    timer->start();
  }

  Gate m_gate;
};

TEST_F(FetchSafetyTest, DocumentDestroyedMidFetchJoinsTheWorkerAndReturns) {
  hangTheFetch();
  whenShown([this](ProgressDialog*) {
    m_doc.reset();  // the worker is still inside the server call
    m_gate.open();
  });
  COrbiskDoc* doc = m_doc.get();
  EXPECT_FALSE(doc->RunReport(request()));
  EXPECT_EQ(m_doc, nullptr);
  EXPECT_TRUE(m_prompts.texts.isEmpty());
}

TEST_F(FetchSafetyTest, CloseBoxAnswersAtOnceAndDropsTheAnswer) {
  hangTheFetch();
  Clock::duration answered{};
  whenShown([&](ProgressDialog* dialog) {
    const auto start = Clock::now();
    dialog->close();
    answered = Clock::now() - start;
    QTimer::singleShot(50, [this] { m_gate.open(); });
  });
  EXPECT_FALSE(m_doc->RunReport(request()));
  EXPECT_LT(answered, milliseconds(100));
  EXPECT_TRUE(m_doc->lastFetch()->flags().cancelled.load());
}

TEST_F(FetchSafetyTest, CancelAnswersWhileTheKeepAliveServerHangs) {
  hangTheFetch();
  Gate keepAlive;
  m_fake->data->onKeepAlive = [&keepAlive] { keepAlive.wait(); };
  Clock::duration answered{};
  whenShown([&](ProgressDialog* dialog) {
    const auto start = Clock::now();
    m_session.KeepAlive();  // the frame's keep-alive tick comes due
    dialog->reject();       // Cancel
    answered = Clock::now() - start;
    m_gate.open();
  });
  EXPECT_FALSE(m_doc->RunReport(request()));
  EXPECT_LT(answered, milliseconds(100));
  EXPECT_TRUE(m_prompts.texts.isEmpty()) << "Cancel is silent";
  keepAlive.open();
  m_session.Close();
}

TEST_F(FetchSafetyTest, AWorkerThatThrowsIsAFailedRequest) {
  m_fake->data->onCall = [](const std::string& call) {
    if (call.rfind("Start", 0) == 0) throw std::runtime_error("decoder bug");
  };
  EXPECT_FALSE(m_doc->RunReport(request()));
  ASSERT_EQ(m_prompts.texts.size(), 1);
  EXPECT_EQ(m_prompts.texts[0],
            ServerErrors::MessageFor(hr::E_FAIL, Strings::LoadString(Strings::IDS_CTX_REQUEST_FAILED)));
}

TEST_F(FetchSafetyTest, ASecondFetchIsRefusedWhileOneRuns) {
  hangTheFetch();
  bool nested = true;
  whenShown([&](ProgressDialog*) {
    nested = m_doc->RunReport(request());
    EXPECT_TRUE(m_doc->isFetching());
    m_gate.open();
  });
  m_doc->RunReport(request());
  EXPECT_FALSE(nested);
  EXPECT_FALSE(m_doc->isFetching());
}

// The session replaced under a running worker: the job's own references keep
// the old objects alive until the worker is done with them.
TEST_F(FetchSafetyTest, SessionReplacedMidFetchLeavesTheWorkerItsObjects) {
  hangTheFetch();
  std::weak_ptr<FakeDataServer> old = m_fake->data;
  whenShown([&](ProgressDialog*) {
    m_fake = std::make_shared<FakeServerObjects>();
    EXPECT_TRUE(m_session.Connect(4, ServerSession::kCommandLineDataClass, "nembra02", 1002, "Port 4"));
    EXPECT_FALSE(old.expired());
    m_gate.open();
  });
  m_doc->RunReport(request());
  EXPECT_EQ(old.lock(), nullptr) << "released once the job was done";
}

}  // namespace
