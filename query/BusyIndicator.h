#pragma once

#include <QWidget>

class QTimer;

// The "Please wait..." animation: a ring of dots with one bright head
// running round, drawn in the palette's colours so it suits any theme.
class BusyIndicator : public QWidget {
  Q_OBJECT
public:
  explicit BusyIndicator(QWidget* parent = nullptr);

  void start();
  void stop();
  bool isRunning() const;
  // Stopped, it draws its quiet ring, or nothing at all where it stands in a
  // status bar and shows only while work runs.
  void setBlankWhenStopped(bool blank) { m_blankWhenStopped = blank; }
  QSize sizeHint() const override { return {48, 48}; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QTimer* m_timer;
  int m_head = 0;
  bool m_blankWhenStopped = false;
};
