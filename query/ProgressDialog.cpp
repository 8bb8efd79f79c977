#include "query/ProgressDialog.h"

#include "core/Prompts.h"
#include "core/ServerErrors.h"
#include "query/BusyIndicator.h"
#include "resources/Strings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>

namespace {
QString text(int id) { return Strings::LoadString(id); }
}  // namespace

ProgressDialog::ProgressDialog(QWidget* parent)
    : QDialog(parent),
      m_poll(new QTimer(this)),
      m_progressTimer(new QTimer(this)),
      m_busy(new BusyIndicator(this)),
      m_status(new QLabel(this)),
      m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(text(Strings::IDS_UI_CANCEL), this)) {
  setWindowTitle(text(Strings::IDS_UI_PLEASE_WAIT));
  setAccessibleName(windowTitle());
  setModal(true);

  auto* row = new QHBoxLayout;
  row->addWidget(m_busy, 0, Qt::AlignTop);
  auto* column = new QVBoxLayout;
  auto* title = new QLabel(text(Strings::IDS_UI_PLEASE_WAIT), this);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  column->addWidget(title);
  column->addWidget(m_status);
  column->addWidget(m_bar);
  row->addLayout(column, 1);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
  auto* root = new QVBoxLayout(this);
  root->addLayout(row);
  root->addWidget(buttons);
  setMinimumWidth(340);

  m_bar->setTextVisible(false);
  m_bar->setAccessibleName(windowTitle());
  m_cancel->setAccessibleName(m_cancel->text());
  m_cancel->setObjectName(QStringLiteral("cancel"));
  connect(buttons, &QDialogButtonBox::rejected, this, &ProgressDialog::reject);

  m_poll->setInterval(kPollMs);
  connect(m_poll, &QTimer::timeout, this, &ProgressDialog::onPoll);
  // The bar moves faster than the done flag is polled, so a long fetch
  // visibly progresses.
  m_progressTimer->setInterval(100);
  connect(m_progressTimer, &QTimer::timeout, this, &ProgressDialog::onProgressTick);
}

ProgressDialog::~ProgressDialog() { finishWorker(); }

bool ProgressDialog::runFetch() {
  finishWorker();
  m_flags.reset();
  m_closedByBox = false;
  m_cancel->setEnabled(true);
  m_status->clear();
  m_bar->setRange(0, 0);  // busy until the worker knows its size
  prepareFetch();
  m_handOff.lend(m_target.data);
  m_worker = std::thread([this] {
    const int ok = fetch();
    m_flags.dataOk = (ok == 1 && m_flags.running.load() == 1) ? 1 : 0;
    m_flags.done = 1;
  });
  m_busy->start();
  m_poll->start();
  m_progressTimer->start();
  exec();
  m_poll->stop();
  m_progressTimer->stop();
  m_busy->stop();
  finishWorker();
  return m_flags.dataOk.load() == 1 && !m_closedByBox;
}

void ProgressDialog::finishWorker() {
  if (!m_worker.joinable()) return;
  // Normally the box closes only after done; when it was torn down another
  // way (the program quitting), ask the worker to stop and let any message
  // it is waiting to show through, so it cannot block on this thread.
  if (!m_flags.done.load()) m_flags.running = 0;
  while (!m_flags.done.load()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  m_worker.join();
}

void ProgressDialog::onPoll() {
  if (m_flags.done.load()) accept();
}

void ProgressDialog::onProgressTick() {
  const int steps = m_flags.steps.load();
  if (steps <= 0) return;
  const int step = std::min(m_flags.step.load(), steps);
  m_bar->setRange(0, steps);
  m_bar->setValue(step);
  m_status->setText(progressText(step, steps));
}

QString ProgressDialog::progressText(int step, int steps) const {
  return text(Strings::IDS_UI_PROGRESS_BLOCK).arg(step).arg(steps);
}

void ProgressDialog::cancel() {
  m_busy->stop();
  m_cancel->setEnabled(false);
  m_flags.running = 0;
  m_flags.cancelled = 1;
  m_flags.dataOk = 0;
}

void ProgressDialog::reject() {
  // The box stays until the worker has stopped; the next poll closes it.
  cancel();
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (m_flags.done.load()) {
    // The worker finished, but the user closed the box rather than waiting
    // for it: its answer is not shown.
    m_closedByBox = true;
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kCloseWaitMs);
  while (!m_flags.done.load() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  m_closedByBox = true;
  cancel();
}

void ProgressDialog::onUiThread(const std::function<void()>& f) {
  if (QThread::currentThread() == thread())
    f();
  else
    QMetaObject::invokeMethod(this, f, Qt::BlockingQueuedConnection);
}

void ProgressDialog::reportServerError(HRESULT code, int contextStringId) {
  onUiThread([code, contextStringId] { ReportServerError(code, text(contextStringId)); });
}

void ProgressDialog::showNoData() {
  onUiThread([this] { Prompts::current().message(this, text(Strings::IDS_NO_DATA)); });
}
