#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

class AutomationAdaptor;
class IAutomationTarget;

// Publishes one running instance's document on the session bus.
//
// Several instances run side by side, one per test port, so each owns a bus
// name of its own made from its process id: org.veltrix.Quillon.i<pid> (a bus
// name element may not start with a digit, hence the "i"). A launcher that
// started the process knows its pid and so the name; everything else can list
// the names with the prefix. The document sits at /Document with the interface
// QuillonView.Document.
class AutomationServer {
public:
  static constexpr const char* kBusNamePrefix = "org.veltrix.Quillon.i";
  static constexpr const char* kObjectPath = "/Document";
  static constexpr const char* kInterface = "QuillonView.Document";

  static QString busNameFor(qint64 pid);
  // True for names made by busNameFor, so listings skip unrelated services.
  static bool isInstanceBusName(const QString& name);

  AutomationServer();
  // Releases the name and the object; destroy it before the application object.
  ~AutomationServer();
  AutomationServer(const AutomationServer&) = delete;
  AutomationServer& operator=(const AutomationServer&) = delete;

  // Registers the object and this process's bus name. On failure nothing stays
  // registered and `error` (if given) says why; the program runs on without
  // automation.
  bool start(IAutomationTarget& target, QString* error);
  void stop();

  bool isRunning() const { return !m_busName.isEmpty(); }
  // Empty while not running.
  QString busName() const { return m_busName; }

private:
  std::unique_ptr<AutomationAdaptor> m_adaptor;
  QString m_busName;
  bool m_objectRegistered = false;
};
