#pragma once

#include "app/COrbiskDoc.h"
#include "app/ServerSession.h"
#include "core/IdentityScrambler.h"
#include "core/Prompts.h"
#include "query/CORBPropertiesDlg.h"
#include "support/FakeServerObjects.h"
#include "support/RecordingPrompts.h"
#include "support/TempSettings.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <functional>

// The logon the start-up reads from the machine-wide settings.
inline void writeIdentity(const QString& machineFile, const std::string& user, const std::string& password) {
  // Scrambled texts are 8-bit; QSettings stores them as Latin-1 characters.
  QSettings machine(machineFile, QSettings::IniFormat);
  machine.setValue("Client/ServerInfo/Extra1", QString::fromLatin1(ScrambleIdentity(user).c_str()));
  machine.setValue("Client/ServerInfo/Extra2", QString::fromLatin1(ScrambleIdentity(password).c_str()));
  machine.sync();
}

// Runs the event loop until `done` or the time runs out (sanitizer builds are slow).
inline bool waitFor(const std::function<bool()>& done, int ms = 30000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

// Answers the New Graph dialog with `which` from inside its own event loop,
// once or each time it comes up; `seen` looks at the program first. A dialog
// that refuses OK is cancelled, so a failing test cannot hang.
inline void answerNewGraph(QObject* owner, QDialogButtonBox::StandardButton which,
                           std::function<void()> seen = {}, bool once = true) {
  auto* poll = new QTimer(owner);
  QObject::connect(poll, &QTimer::timeout, poll, [=] {
    auto* dialog = qobject_cast<CORBPropertiesDlg*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    if (once) poll->stop();
    if (seen) seen();
    dialog->findChild<QDialogButtonBox*>()->button(which)->click();
    if (dialog->isVisible()) dialog->reject();
  });
  poll->start(10);
}

// A session connected to scripted server objects, and a document on it that
// fetches without pauses.
class ConnectedSessionTest : public TempSettingsTest {
protected:
  void SetUp() override {
    TempSettingsTest::SetUp();
    writeIdentity(machineFile(), "demo", "nembra-demo");
    ASSERT_TRUE(m_session.Connect(3, ServerSession::kCommandLineDataClass, "nembra01", 1001, "Port 3"));
    m_doc = std::make_unique<COrbiskDoc>(m_session);
    m_doc->setPollInterval(5);
    FetchPacing quick;
    quick.sleep = [](std::chrono::milliseconds) {};
    m_doc->setPacing(quick);
  }

  std::shared_ptr<FakeServerObjects> m_fake = std::make_shared<FakeServerObjects>();
  ServerSession m_session{[this](const std::string&, const ServerIdentity&) { return m_fake; },
                          [](std::chrono::milliseconds) {}};
  std::unique_ptr<COrbiskDoc> m_doc;
  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
};
