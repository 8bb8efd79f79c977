#pragma once

#include "query/DataServerHandOff.h"
#include "query/FetchFlags.h"
#include "query/FetchPacing.h"
#include "query/FetchTarget.h"
#include "query/GraphQuery.h"
#include "query/IFetchReporter.h"

#include <QDialog>
#include <thread>

class BusyIndicator;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// What the three progress dialogs share: a modal "Please wait..." box that
// runs one worker thread per request, polls its done flag every 500 ms, shows
// how far it has come, and asks it to stop on Cancel. The worker never touches
// a widget; its messages are run on the UI thread while the box stays up.
class ProgressDialog : public QDialog, protected IFetchReporter {
  Q_OBJECT
public:
  static constexpr int kPollMs = 500;
  // How long the close box waits for the worker before it acts as Cancel.
  static constexpr int kCloseWaitMs = 2500;

  explicit ProgressDialog(QWidget* parent = nullptr);
  ~ProgressDialog() override;

  // Shows the box modally while the worker fetches; true when the worker
  // fetched everything (and the box was not closed by its close box).
  bool runFetch();

  // The request and the session's side of it, copied before each fetch.
  void setQuery(const GraphQuery& query) { m_query = query; }
  void setTarget(const FetchTarget& target) { m_target = target; }

  const FetchFlags& flags() const { return m_flags; }
  // Replaces the waits between polls of the server (tests).
  void setPacing(const FetchPacing& pacing) { m_pacing = pacing; }

public slots:
  void reject() override;  // Esc and Cancel ask the worker to stop

protected:
  // Runs on the worker thread: the fetch itself; answers data ok (1 or 0).
  virtual int fetch() = 0;
  // Called on the UI thread before the worker starts.
  virtual void prepareFetch() {}
  // "Block 3 of 97" and the like.
  virtual QString progressText(int step, int steps) const;

  void reportServerError(HRESULT code, int contextStringId) override;
  void showNoData() override;
  void closeEvent(QCloseEvent* event) override;

  // The worker's data object, taken from the hand-off slot.
  std::shared_ptr<INembraDataServer> takeDataServer() { return m_handOff.take(); }

  GraphQuery m_query;
  FetchTarget m_target;
  FetchFlags m_flags;
  FetchPacing m_pacing;

private:
  void onPoll();
  void onProgressTick();
  void cancel();
  void finishWorker();
  // Runs `f` on the UI thread and waits for it (at once when already there).
  void onUiThread(const std::function<void()>& f);

  DataServerHandOff m_handOff;
  std::thread m_worker;
  bool m_closedByBox = false;
  QTimer* m_poll;
  QTimer* m_progressTimer;
  BusyIndicator* m_busy;
  QLabel* m_status;
  QProgressBar* m_bar;
  QPushButton* m_cancel;
};
