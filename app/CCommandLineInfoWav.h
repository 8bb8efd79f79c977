#pragma once

#include "app/LaunchParameters.h"

#include <QString>
#include <QStringList>

// Reads the program's command line: the KEY:VALUE parameters a launcher
// passes, Regserver, and the standard switches that mean something on Linux.
//
// Parameters are normally switches ("/TOKEN:1001" or "-TOKEN:1001"). A bare
// word ("TOKEN:1001") is taken exactly as its switch form would be, including
// its effect on the launched-with-parameters flag; no word is ever taken as a
// file to open.
class CCommandLineInfoWav {
public:
  // Separates the command line's own parameters from the arguments of
  // launcher mode ("quillon --launch METHOD key=value ...").
  static constexpr const char* kLaunchWord = "--launch";

  CCommandLineInfoWav() = default;

  // One parameter, with its switch character already stripped. `isSwitch`
  // tells whether it had one; `isLast` whether it is the last parameter.
  // Neither changes how the parameter is read: bare words count as switches
  // and nothing is left pending at the end.
  void ParseParam(const QString& param, bool isSwitch, bool isLast);

  // Parses a whole argument list as the application receives it (argv[0]
  // first, and skipped). Everything after "--launch" goes, untouched, to
  // launchArguments().
  static CCommandLineInfoWav parse(const QStringList& arguments);

  // The text of "quillon --help".
  static QString usage();
  // The text of "quillon --version": the program's name and version.
  static QString versionText();
  // What the program prints and ends with when its arguments ask only for
  // the usage or the version; empty when it should start. Decided from the
  // arguments alone, so the answer needs no display.
  static QString consoleAnswer(const QStringList& arguments);

  const LaunchParameters& launchParameters() const { return m_params; }
  LaunchParameters& launchParameters() { return m_params; }

  // Regserver: register and end without a window.
  bool registerServer() const { return m_registerServer; }
  // Unregserver / Unregister.
  bool unregisterServer() const { return m_unregisterServer; }
  // Automation / Embedding: started by a caller that will drive the program
  // through its automation interface.
  bool runAutomated() const { return m_runAutomated; }
  bool runEmbedded() const { return m_runEmbedded; }
  bool startedByAutomation() const { return m_runAutomated || m_runEmbedded; }
  // help, h or ? (as "--help", "-h", "/?" ...).
  bool helpRequested() const { return m_help; }
  // version (as "--version").
  bool versionRequested() const { return m_version; }

  // Whether "--launch" was given, and the words after it.
  bool launchRequested() const { return m_launchRequested; }
  const QStringList& launchArguments() const { return m_launchArguments; }

private:
  void parseKeyValue(const QString& key, const QString& value);
  void parseStandardSwitch(const QString& param);

  LaunchParameters m_params;
  bool m_registerServer = false;
  bool m_unregisterServer = false;
  bool m_runAutomated = false;
  bool m_runEmbedded = false;
  bool m_help = false;
  bool m_version = false;
  bool m_launchRequested = false;
  QStringList m_launchArguments;
};
