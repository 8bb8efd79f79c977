#include "app/Registration.h"

#include "resources/Strings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace {

// Escapes of the key file's string values; applied after Exec quoting, which
// is why a backslash inside quotes ends up doubled twice.
QString escapeValue(const QString& value) {
  QString out;
  out.reserve(value.size());
  for (const QChar c : value) {
    switch (c.unicode()) {
      case '\\': out += QLatin1String("\\\\"); break;
      case '\n': out += QLatin1String("\\n"); break;
      case '\t': out += QLatin1String("\\t"); break;
      case '\r': out += QLatin1String("\\r"); break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

QString Registration::desktopEntryPath() {
  QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
  if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
    dataHome = QDir::homePath() + QLatin1String("/.local/share");
  return QDir::cleanPath(dataHome + QLatin1String("/applications/") + QLatin1String(kDesktopFileName));
}

QString Registration::execArgument(const QString& argument) {
  static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#`()");
  const bool quote = argument.isEmpty() || std::any_of(argument.begin(), argument.end(),
                                                       [](QChar c) { return reserved.contains(c); });
  QString out;
  if (quote) out += QLatin1Char('"');
  for (const QChar c : argument) {
    if (quote &&
        (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\')))
      out += QLatin1Char('\\');
    // A lone % would start a field code.
    if (c == QLatin1Char('%')) out += QLatin1Char('%');
    out += c;
  }
  if (quote) out += QLatin1Char('"');
  return out;
}

QString Registration::desktopEntry(const QString& executable) {
  // No field codes after the program: Quillon takes key:value switches from
  // its launcher, never files or URLs from the desktop. The entry has the
  // installed entry's name, so for this user it replaces that one; the icon
  // is the installed theme icon.
  return QStringLiteral(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Version=1.4\n"
             "Name=%1\n"
             "Comment=%2\n"
             "Exec=%3\n"
             "TryExec=%4\n"
             "Icon=quillon\n"
             "Terminal=false\n"
             "NoDisplay=true\n")
      .arg(escapeValue(Strings::LoadString(Strings::IDS_APP_TITLE)),
           escapeValue(Strings::LoadString(Strings::IDS_UI_DESKTOP_COMMENT)),
           escapeValue(execArgument(executable)), escapeValue(executable));
}

Registration::Result Registration::registerServer() {
  return registerServer(QCoreApplication::applicationFilePath());
}

Registration::Result Registration::registerServer(const QString& executable) {
  const QString path = desktopEntryPath();
  QDir().mkpath(QFileInfo(path).absolutePath());
  // Written aside and renamed, so a failed write never leaves half an entry.
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly)) {
    file.write(desktopEntry(executable).toUtf8());
    if (file.commit())
      return {true, Strings::LoadString(Strings::IDS_UI_REGISTERED).arg(QDir::toNativeSeparators(path))};
  }
  return {false, Strings::LoadString(Strings::IDS_UI_REGISTER_FAILED)
                     .arg(QDir::toNativeSeparators(path), file.errorString())};
}

Registration::Result Registration::unregisterServer() {
  const QString path = desktopEntryPath();
  QFile file(path);
  if (!file.exists())
    return {true, Strings::LoadString(Strings::IDS_UI_NOT_REGISTERED).arg(QDir::toNativeSeparators(path))};
  if (!file.remove())
    return {false, Strings::LoadString(Strings::IDS_UI_UNREGISTER_FAILED)
                       .arg(QDir::toNativeSeparators(path), file.errorString())};
  return {true, Strings::LoadString(Strings::IDS_UI_UNREGISTERED).arg(QDir::toNativeSeparators(path))};
}
