#pragma once

#include <QString>

// What registering the automation server means on Linux: a desktop entry in the
// user's applications folder that names this executable, so launchers and the
// desktop can find the program. Nothing is needed for D-Bus itself: every
// instance is started by its launcher and owns a per-process bus name, so
// there is no activation file to install.
class Registration {
public:
  struct Result {
    bool ok = false;
    // A sentence for the user, naming the file.
    QString message;
  };

  static constexpr const char* kDesktopFileName = "quillon.desktop";

  // $XDG_DATA_HOME/applications/quillon.desktop, ~/.local/share/... when
  // XDG_DATA_HOME is unset or not absolute.
  static QString desktopEntryPath();

  // The entry's text for `executable`, quoted as the desktop entry rules want.
  static QString desktopEntry(const QString& executable);

  // Writes (or rewrites) the entry for the running executable.
  static Result registerServer();
  static Result registerServer(const QString& executable);
  // Removing an entry that is not there succeeds: the end state is the one asked for.
  static Result unregisterServer();

  // One argument of an Exec line, quoted and escaped when it has to be.
  static QString execArgument(const QString& argument);
};
