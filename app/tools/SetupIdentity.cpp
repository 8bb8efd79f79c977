// quillon-setup-identity: writes the machine-wide settings a Nembra client
// installation provides (client folder and the scrambled server identity) into
// a configuration folder of the caller's choice, so a demo or a test never
// touches the machine's own /etc/xdg.
#include "core/IdentityScrambler.h"
#include "core/IniVariantScreen.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QString dir, user, password, clientDir;
  const QStringList args = app.arguments().mid(1);
  for (int i = 0; i + 1 < args.size(); i += 2) {
    if (args[i] == QLatin1String("--config-dir"))
      dir = args[i + 1];
    else if (args[i] == QLatin1String("--user"))
      user = args[i + 1];
    else if (args[i] == QLatin1String("--password"))
      password = args[i + 1];
    else if (args[i] == QLatin1String("--client-dir"))
      clientDir = args[i + 1];
  }
  if (dir.isEmpty() || user.isEmpty() || password.isEmpty()) {
    std::fputs(
        "Usage: quillon-setup-identity --config-dir DIR --user NAME --password TEXT [--client-dir DIR]\n"
        "Writes DIR/Veltrix/PM.ini; run Quillon with XDG_CONFIG_DIRS=DIR to use it.\n",
        stderr);
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
