#pragma once

#include "app/COrbiskDoc.h"
#include "app/ServerSession.h"
#include "core/IdentityScrambler.h"
#include "core/Prompts.h"
#include "support/FakeServerObjects.h"
#include "support/RecordingPrompts.h"
#include "support/TempSettings.h"

// The logon the start-up reads from the machine-wide settings.
inline void writeIdentity(const QString& machineFile, const std::string& user, const std::string& password) {
  // Scrambled texts are 8-bit; QSettings stores them as Latin-1 characters.
  QSettings machine(machineFile, QSettings::IniFormat);
  machine.setValue("Client/ServerInfo/Extra1", QString::fromLatin1(ScrambleIdentity(user).c_str()));
  machine.setValue("Client/ServerInfo/Extra2", QString::fromLatin1(ScrambleIdentity(password).c_str()));
  machine.sync();
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
