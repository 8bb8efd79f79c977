#pragma once

#include <QDialog>

class BusyIndicator;
class FetchJob;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// The modal "Please wait..." box of a fetch: shows how far the job has come,
// shows the messages its worker leaves, asks it to stop on Cancel, and closes
// once the worker is done. It owns nothing of the fetch; every handler
// answers at once, so the box never stops responding while the worker waits
// for the server.
class ProgressDialog : public QDialog {
  Q_OBJECT
public:
  static constexpr int kPollMs = 500;

  // `progressTextId`: "Block %1 of %2" or "Statistic %1 of %2".
  ProgressDialog(int progressTextId, QWidget* parent = nullptr);

  // Shows the box modally while `job` runs (the caller keeps it alive and
  // has started it); true when the job fetched everything and the box was
  // not closed by its close box. False as well when the box itself was
  // destroyed meanwhile.
  [[nodiscard]] bool run(FetchJob& job);

  // How often the done flag is polled (tests shorten it).
  void setPollInterval(int ms);
  bool closedByBox() const { return m_closedByBox; }
  // A fetch whose failure must not end the program (a comparison's): a
  // server failure shows its message with this note under it, and the
  // program goes on. 0 (the default) is a report's rule.
  void setFailureNote(int noteTextId) { m_failureNoteId = noteTextId; }

public slots:
  void reject() override;  // Esc and Cancel ask the worker to stop

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void onPoll();
  void onProgressTick();
  void cancel();
  // Shows what the worker has said so far; true when nothing is left.
  bool showMessages();

  int m_progressTextId;
  FetchJob* m_job = nullptr;
  bool m_closedByBox = false;
  bool m_showingMessage = false;
  int m_failureNoteId = 0;
  QTimer* m_poll;
  QTimer* m_progressTimer;
  BusyIndicator* m_busy;
  QLabel* m_status;
  QProgressBar* m_bar;
  QPushButton* m_cancel;
};
