#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;
class QPushButton;

// The help window: one per program, not modal, so the user can read while
// working with a report. It shows the HTML help at a topic.
class HelpWindow : public QDialog {
  Q_OBJECT
public:
  // The help window, created on first use as a window of `parent` (so it
  // closes with the main window) and moved to the `parent` of each later
  // call, so that a modal dialog asking for help does not block it.
  static HelpWindow* instance(QWidget* parent);

  // Shows the window at `anchor` ("markers" or "#markers"); the start of the
  // help when empty.
  void showTopic(const QString& anchor);

  // The file shown, empty when none was found.
  QString helpFile() const { return m_file; }
  QUrl currentSource() const;
  QString shownText() const;

private:
  explicit HelpWindow(QWidget* parent);
  void showMissing();

  QTextBrowser* m_browser;
  QPushButton* m_back;
  QPushButton* m_forward;
  QPushButton* m_contents;
  QString m_file;
};
