#include "app/HelpWindow.h"

#include "app/HelpLocation.h"
#include "resources/Strings.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}
QString withoutMnemonic(QString s) {
  return s.remove(QLatin1Char('&'));
}

QPushButton* makeButton(int textId, QWidget* parent) {
  auto* b = new QPushButton(text(textId), parent);
  b->setAccessibleName(withoutMnemonic(b->text()));
  b->setAutoDefault(false);
  return b;
}

QPointer<HelpWindow>& theWindow() {
  static QPointer<HelpWindow> window;
  return window;
}

}  // namespace

HelpWindow* HelpWindow::instance(QWidget* parent) {
  QPointer<HelpWindow>& window = theWindow();
  if (!window) {
    window = new HelpWindow(parent);
  } else if (parent && window->parentWidget() != parent) {
    // A modal dialog blocks every window but its own, so help asked from one
    // moves under it; it stays where the user had it.
    const QRect where = window->geometry();
    const bool wasShown = window->isVisible();
    window->setParent(parent, window->windowFlags());
    if (wasShown) window->setGeometry(where);
  }
  return window;
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), m_file(HelpLocation::installedFile()) {
  setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setModal(false);
  setWindowTitle(text(Strings::IDS_UI_HELP_TITLE));
  setAccessibleName(windowTitle());

  m_browser = new QTextBrowser(this);
  m_browser->setAccessibleName(windowTitle());
  m_browser->setOpenExternalLinks(true);
  m_browser->document()->setDocumentMargin(fontMetrics().averageCharWidth() * 2);
  m_back = makeButton(Strings::IDS_UI_HELP_BACK, this);
  m_forward = makeButton(Strings::IDS_UI_HELP_FORWARD, this);
  m_contents = makeButton(Strings::IDS_UI_HELP_CONTENTS, this);
  m_back->setEnabled(false);
  m_forward->setEnabled(false);

  connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
  connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
  connect(m_contents, &QPushButton::clicked, this, [this] { showTopic(QString()); });
  connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
  connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QPushButton::setEnabled);

  auto* bar = new QHBoxLayout;
  bar->addWidget(m_back);
  bar->addWidget(m_forward);
  bar->addWidget(m_contents);
  bar->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(m_browser, 1);

  const QFontMetrics fm = fontMetrics();
  resize(fm.averageCharWidth() * 125, fm.height() * 42);
  if (m_file.isEmpty()) showMissing();
}

void HelpWindow::showTopic(const QString& anchor) {
  if (!m_file.isEmpty()) {
    QUrl url = QUrl::fromLocalFile(m_file);
    QString fragment = anchor;
    if (fragment.startsWith(QLatin1Char('#'))) fragment.remove(0, 1);
    if (!fragment.isEmpty()) url.setFragment(fragment);
    if (m_browser->source() != url) m_browser->setSource(url);
    // Asked again after the user scrolled away: back to the topic.
    if (fragment.isEmpty())
      m_browser->verticalScrollBar()->setValue(0);
    else
      m_browser->scrollToAnchor(fragment);
  }
  show();
  raise();
  activateWindow();
}

QUrl HelpWindow::currentSource() const {
  return m_browser->source();
}

QString HelpWindow::shownText() const {
  return m_browser->toPlainText();
}

void HelpWindow::showMissing() {
  QString html = QStringLiteral("<p>") + text(Strings::IDS_UI_HELP_NOT_FOUND).toHtmlEscaped() +
                 QStringLiteral("</p><ul>");
  for (const QString& place : HelpLocation::installedCandidates())
    html +=
        QStringLiteral("<li>") + QDir::toNativeSeparators(place).toHtmlEscaped() + QStringLiteral("</li>");
  html += QStringLiteral("</ul>");
  m_browser->setHtml(html);
  m_contents->setEnabled(false);
}
