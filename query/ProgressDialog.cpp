#include "query/ProgressDialog.h"

#include "core/Prompts.h"
#include "core/ServerErrors.h"
#include "query/BusyIndicator.h"
#include "query/FetchJob.h"
#include "resources/Strings.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QString text(int id) {
  return Strings::LoadString(id);
}
}  // namespace

ProgressDialog::ProgressDialog(int progressTextId, QWidget* parent)
    : QDialog(parent),
      m_progressTextId(progressTextId),
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

void ProgressDialog::setPollInterval(int ms) {
  m_poll->setInterval(ms);
}

bool ProgressDialog::run(FetchJob& job) {
  const QPointer<ProgressDialog> self(this);
  m_job = &job;
  m_closedByBox = false;
  m_cancel->setEnabled(true);
  m_status->clear();
  m_bar->setRange(0, 0);  // busy until the worker knows its size
  m_busy->start();
  m_poll->start();
  m_progressTimer->start();
  exec();
  if (!self) return false;
  m_poll->stop();
  m_progressTimer->stop();
  m_busy->stop();
  job.join();
  showMessages();
  m_job = nullptr;
  return job.succeeded() && !m_closedByBox;
}

bool ProgressDialog::showMessages() {
  if (!m_job) return true;
  // A message box runs its own event loop, in which the timers keep firing.
  if (m_showingMessage) return false;
  m_showingMessage = true;
  const QPointer<ProgressDialog> self(this);
  for (const FetchJob::Message& m : m_job->takeMessages()) {
    if (m.kind == FetchJob::Message::Kind::NoData)
      Prompts::current().message(this, text(Strings::IDS_NO_DATA));
    else if (m_failureNoteId != 0)
      Prompts::current().message(this, ServerErrors::MessageFor(m.code, text(m.contextStringId)),
                                 text(m_failureNoteId));
    else
      ReportServerError(m.code, text(m.contextStringId));
    if (!self) return false;
  }
  m_showingMessage = false;
  return true;
}

void ProgressDialog::onPoll() {
  if (!m_job || !m_job->finished()) return;
  if (showMessages() && isVisible()) accept();
}

void ProgressDialog::onProgressTick() {
  if (!m_job) return;
  showMessages();
  const int steps = m_job->flags().steps.load();
  if (steps <= 0) return;
  const int step = std::min(m_job->flags().step.load(), steps);
  m_bar->setRange(0, steps);
  m_bar->setValue(step);
  m_status->setText(text(m_progressTextId).arg(step).arg(steps));
}

void ProgressDialog::cancel() {
  m_busy->stop();
  m_cancel->setEnabled(false);
  if (m_job) m_job->cancel();
}

void ProgressDialog::reject() {
  // The box stays until the worker has stopped; the next poll closes it.
  cancel();
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
  // Closed by its box, the answer is not shown, whether or not the worker
  // had finished; the box goes at the next poll.
  event->ignore();
  m_closedByBox = true;
  cancel();
}
