#pragma once

#include <QIcon>
#include <QWidget>

class BusyIndicator;
class QLabel;
class QToolButton;

// Follow Live's part of the status bar: a small busy sign while a refresh
// or a reconnection runs, the last thing that happened, and a button that
// cancels the refresh and stops following.
class LiveStatus : public QWidget {
  Q_OBJECT
public:
  explicit LiveStatus(QWidget* parent = nullptr);

  void showStatus(bool busy, const QString& text);
  QString text() const;
  bool busy() const;

signals:
  void cancelRequested();

private:
  BusyIndicator* m_busy;
  QLabel* m_text;
  QToolButton* m_cancel;
  QIcon m_cancelIcon;
};
