// A fetch must survive whatever the user and the program do while its
// worker waits for the server: the document going away, the close box,
// Cancel while the keep-alive hangs, a worker that throws.
#include "ConnectedSession.h"
#include "app/MessageBoxPrompts.h"
#include "app/WaitCursor.h"
#include "core/ServerErrors.h"
#include "query/FetchJob.h"
#include "query/FetchTestBlocks.h"
#include "query/ProgressDialog.h"
#include "resources/Strings.h"

#include <QSemaphore>
#include <chrono>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class FetchSafetyTest : public ConnectedSessionTest {
protected:
  void TearDown() override {
    m_gate.release(100);
    m_doc.reset();
  }

  // A report whose worker hangs in its first server call until the gate opens (bounded,
  // so a broken test fails instead of hanging the suite); `during` runs under the progress box.
  bool runHanging(std::function<void(ProgressDialog*)> during) {
    m_fake->data->onCall = [this](const std::string& call) {
      if (call.rfind("Start", 0) == 0) m_gate.tryAcquire(1, 10000);
    };
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, during] {
      if (auto* dialog = qobject_cast<ProgressDialog*>(QApplication::activeModalWidget())) {
        timer->stop();
        timer->deleteLater();
        during(dialog);
      }
    });
    timer->start(5);
    return run();
  }
  bool run() {
    m_request.graphType = TimeWindowDetail;
    return m_doc->RunReport(m_request);
  }

  QSemaphore m_gate;
  GraphQuery m_request;
};

TEST_F(FetchSafetyTest, DocumentDestroyedMidFetchJoinsTheWorkerAndReturns) {
  EXPECT_FALSE(runHanging([this](ProgressDialog*) {
    m_doc.reset();  // the worker is still inside the server call
    m_gate.release();
  }));
  EXPECT_EQ(m_doc, nullptr);
  EXPECT_TRUE(m_prompts.texts.isEmpty());
}

// The close box, and Cancel while the keep-alive server hangs, answer at once
// and silently, and drop the answer.
TEST_F(FetchSafetyTest, CloseBoxAndCancelAnswerAtOnce) {
  QSemaphore keepAlive;
  m_fake->data->onKeepAlive = [&keepAlive] { keepAlive.tryAcquire(1, 10000); };
  for (const bool closeBox : {true, false}) {
    Clock::duration answered{};
    EXPECT_FALSE(runHanging([&](ProgressDialog* dialog) {
      const auto start = Clock::now();
      if (!closeBox) m_session.KeepAlive();  // the frame's keep-alive tick comes due
      closeBox ? (void)dialog->close() : dialog->reject();
      answered = Clock::now() - start;
      QTimer::singleShot(50, [this] { m_gate.release(); });
    }));
    EXPECT_LT(answered, milliseconds(100)) << closeBox;
    EXPECT_TRUE(m_doc->lastFetch()->flags().cancelled.load()) << closeBox;
  }
  EXPECT_TRUE(m_prompts.texts.isEmpty());
  keepAlive.release();
  m_session.Close();
}

TEST_F(FetchSafetyTest, AWorkerThatThrowsIsAFailedRequest) {
  m_fake->data->onCall = [](const std::string& call) {
    if (call.rfind("Start", 0) == 0) throw std::runtime_error("decoder bug");
  };
  EXPECT_FALSE(run());
  EXPECT_EQ(m_prompts.texts, QStringList{ServerErrors::MessageFor(
                                 hr::E_FAIL, Strings::LoadString(Strings::IDS_CTX_REQUEST_FAILED))});
}

// A second fetch is refused while one runs; a session replaced under a running worker
// leaves the job's own references to the old objects alive until the worker is done.
TEST_F(FetchSafetyTest, SecondFetchRefusedAndSessionReplacedMidFetch) {
  std::weak_ptr<FakeDataServer> old = m_fake->data;
  bool nested = true;
  runHanging([&](ProgressDialog*) {
    nested = run();
    EXPECT_TRUE(m_doc->isFetching());
    m_fake = std::make_shared<FakeServerObjects>();
    EXPECT_TRUE(m_session.Connect(4, ServerSession::kCommandLineDataClass, "nembra02", 1002, "Port 4"));
    EXPECT_FALSE(old.expired());
    m_gate.release();
  });
  EXPECT_FALSE(nested);
  EXPECT_FALSE(m_doc->isFetching());
  EXPECT_EQ(old.lock(), nullptr) << "released once the job was done";
}

// The wait cursor shows while the program works, not over the progress box
// with its Cancel or a message box; it comes back after them.
TEST_F(FetchSafetyTest, WaitCursorOnlyWhileTheProgramWorks) {
  m_fake->data->blocks.push_back(bytesOf(false, BlockSpec{.values = {1.5}, .axis = {5.0}}));
  QString seen;  // a digit a look: 1 when the wait cursor shows
  const auto look = [&] {
    const QCursor* c = QGuiApplication::overrideCursor();
    seen += c && c->shape() == Qt::WaitCursor ? '1' : '0';
  };
  m_fake->security->onCheck = look;
  QObject::connect(m_doc.get(), &COrbiskDoc::reportReady, look);
  EXPECT_TRUE(runHanging([&](ProgressDialog*) {
    look();
    m_gate.release();
  }));
  look();

  MessageBoxPrompts boxes;
  const ScopedPrompts installed(boxes);
  m_fake->security->granted = 0;  // the refusal's box comes up inside the next run
  QTimer::singleShot(0, [&] {
    look();
    QApplication::activeModalWidget()->close();
  });
  EXPECT_FALSE(run());
  look();
  // Permission check, progress box, report build, after; check, box, after.
  EXPECT_EQ(seen, "1010100");
}

}  // namespace
