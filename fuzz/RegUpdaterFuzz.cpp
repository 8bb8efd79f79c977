// The carry-over of an older release's settings, over a profile file made of
// the input. Checked: once the file is screened, QSettings decodes no value
// into anything but plain types (a second screen changes nothing); no value
// of the file is lost or changed, the copied tree arrives whole under the
// current version key, and a second start copies nothing (the file stays byte
// for byte as the first left it).
#include "core/CQLRegUpdater.h"
#include "core/IniVariantScreen.h"
#include "core/SettingsStore.h"
#include "fuzz/FuzzCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QMultiMap>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <cstdlib>

namespace {

struct Profile {
  QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/quillon-fuzz-XXXXXX")};
  QString file;
  Profile() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, dir.path() + QStringLiteral("/system"));
    file = QSettings(QSettings::IniFormat, QSettings::UserScope, SettingsStore::vendorName(),
                     SettingsStore::applicationName())
               .fileName();
    QDir().mkpath(QFileInfo(file).absolutePath());
  }
};

// A list of texts one of which holds a control character is written back by
// QSettings in its variant form and read as a list of variants: the same
// texts, another type. Compared as the texts they are.
QVariant comparable(const QVariant& v) {
  if (v.typeId() != QMetaType::QVariantList) return v;
  QStringList texts;
  for (const QVariant& item : v.toList()) {
    if (item.typeId() != QMetaType::QString) return v;
    texts.append(item.toString());
  }
  return texts;
}

// A hand-written "=value" line gives a key with an empty name, which
// QSettings reads but does not write back when it rewrites the file.
bool writable(const QString& key) {
  return !key.endsWith(QLatin1Char('/')) && !key.contains(QLatin1String("//"));
}

// What QSettings may hand over once the file is screened: its own text forms
// and the plain types a screened variant may carry.
bool isPlain(const QVariant& v, int depth = 0) {
  switch (v.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::QChar:
    case QMetaType::QString:
    case QMetaType::QStringList:
    case QMetaType::QByteArray:
    case QMetaType::QRect:
    case QMetaType::QSize:
    case QMetaType::QPoint: return true;
    case QMetaType::QVariantList:
      if (depth > 17) return false;
      for (const QVariant& item : v.toList())
        if (!isPlain(item, depth + 1)) return false;
      return true;
    default: return false;
  }
}

QMap<QString, QVariant> valuesOf(const QString& file) {
  QSettings s(file, QSettings::IniFormat);
  QMap<QString, QVariant> values;
  for (const QString& key : s.allKeys()) {
    const QVariant value = s.value(key);
    FUZZ_CHECK(isPlain(value));
    values.insert(key, comparable(value));
  }
  return values;
}

QByteArray contentOf(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static Profile profile;
  {
    QFile f(profile.file);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  FUZZ_CHECK(IniVariantScreen::screenFile(profile.file) >= 0);
  const QByteArray screened = contentOf(profile.file);
  FUZZ_CHECK(IniVariantScreen::screen(screened).screenedValues == 0);
  const QMap<QString, QVariant> before = valuesOf(profile.file);

  QString source;
  {
    CQLRegUpdater updater(SettingsStore::profileName(), SettingsStore::vendorName());
    FUZZ_CHECK(updater.isReady());
    FUZZ_CHECK(updater.Update());
    source = updater.sourceVersion();
  }
  const QMap<QString, QVariant> after = valuesOf(profile.file);
  for (auto it = before.begin(); it != before.end(); ++it) {
    if (!writable(it.key())) continue;
    FUZZ_CHECK(after.contains(it.key()));
    FUZZ_CHECK(after.value(it.key()) == it.value());
  }
  const QString current = SettingsStore::versionKeyName();
  if (!source.isEmpty() && source.compare(current, Qt::CaseInsensitive) != 0) {
    // Key names match without regard to case, as in the registry: source keys
    // that differ only in case land on one target key, holding one of them.
    QMultiMap<QString, QVariant> copied;
    for (auto it = after.begin(); it != after.end(); ++it) copied.insert(it.key().toLower(), it.value());
    const QString from = source + QLatin1Char('/');
    for (auto it = before.begin(); it != before.end(); ++it) {
      if (!it.key().startsWith(from)) continue;
      if (!writable(it.key())) continue;
      const QString to = (current + QLatin1Char('/') + it.key().mid(from.size())).toLower();
      FUZZ_CHECK(copied.contains(to));
      bool sameCaseFolded = false;
      for (auto b = before.begin(); b != before.end(); ++b)
        if (b.key().startsWith(from) && b.key().compare(it.key(), Qt::CaseInsensitive) == 0 &&
            copied.values(to).contains(b.value()))
          sameCaseFolded = true;
      FUZZ_CHECK(sameCaseFolded);
    }
  } else {
    FUZZ_CHECK(after == before);
  }

  const QByteArray settled = contentOf(profile.file);
  {
    CQLRegUpdater again(SettingsStore::profileName(), SettingsStore::vendorName());
    FUZZ_CHECK(again.Update());
  }
  FUZZ_CHECK(contentOf(profile.file) == settled);
  return 0;
}
