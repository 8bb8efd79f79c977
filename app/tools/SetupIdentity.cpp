// quillon-setup-identity: writes the machine-wide settings a Nembra client
// installation provides (client folder and the scrambled server identity) into
// a configuration folder of the caller's choice, so a demo or a test never
// touches the machine's own /etc/xdg.
#include "core/IdentityScrambler.h"
#include "core/IniVariantScreen.h"

#include <termios.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

const char* const kUsage =
    "Usage: quillon-setup-identity --config-dir DIR --user NAME [--password TEXT] [--client-dir DIR]\n"
    "Writes DIR/Veltrix/PM.ini; run Quillon with XDG_CONFIG_DIRS=DIR to use it.\n"
    "Without --password the password is read from standard input (asked for, unechoed, on a\n"
    "terminal), so it does not show in the process list.\n";

// One line of standard input; on a terminal after a prompt and without echo.
std::string readPassword() {
  termios saved{};
  const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
  if (terminal) {
    std::fputs("Password: ", stderr);
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string line;
  std::getline(std::cin, line);
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputs("\n", stderr);
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QString dir, user, password, clientDir;
  bool passwordGiven = false;
  const QStringList args = app.arguments().mid(1);
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--help") || args[i] == QLatin1String("-h")) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (i + 1 >= args.size()) break;
    if (args[i] == QLatin1String("--config-dir"))
      dir = args[++i];
    else if (args[i] == QLatin1String("--user"))
      user = args[++i];
    else if (args[i] == QLatin1String("--password")) {
      password = args[++i];
      passwordGiven = true;
    } else if (args[i] == QLatin1String("--client-dir"))
      clientDir = args[++i];
  }
  if (!dir.isEmpty() && !user.isEmpty() && !passwordGiven) password = QString::fromLocal8Bit(readPassword());
  if (dir.isEmpty() || user.isEmpty() || password.isEmpty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const QString file = QDir(dir).filePath(QStringLiteral("Veltrix/PM.ini"));
  QDir().mkpath(QFileInfo(file).absolutePath());
  // The tool rewrites the whole file, so QSettings decodes every value in it first.
  if (IniVariantScreen::screenFile(file) < 0) {
    std::fprintf(stderr, "quillon-setup-identity: cannot write %s\n", qPrintable(file));
    return 1;
  }
  QSettings settings(file, QSettings::IniFormat);
  if (!clientDir.isEmpty()) settings.setValue(QStringLiteral("Client/NembraClientDir"), clientDir);
  // The stored texts are 8-bit; Latin-1 keeps every byte as one character.
  settings.setValue(QStringLiteral("Client/ServerInfo/Extra1"),
                    QString::fromLatin1(ScrambleIdentity(user.toStdString()).c_str()));
  settings.setValue(QStringLiteral("Client/ServerInfo/Extra2"),
                    QString::fromLatin1(ScrambleIdentity(password.toStdString()).c_str()));
  settings.sync();
  if (settings.status() != QSettings::NoError) {
    std::fprintf(stderr, "quillon-setup-identity: cannot write %s\n", qPrintable(file));
    return 1;
  }
  return 0;
}
