#include "core/RegistryKey.h"

#include <QSettings>
#include <algorithm>

namespace {

void registryOrder(QStringList& names) {
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
}

QString findCaseInsensitive(const QStringList& names, const QString& name) {
  if (names.contains(name)) return name;
  for (const QString& n : names)
    if (n.compare(name, Qt::CaseInsensitive) == 0) return n;
  return name;
}

QString cutToBytes(const QString& text, int maxBytes) {
  if (maxBytes <= 0) return {};
  QString out;
  qsizetype used = 0;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
    const QString piece = text.mid(i, len);
    const qsizetype bytes = piece.toUtf8().size();
    if (used + bytes > maxBytes) break;
    out += piece;
    used += bytes;
    i += len;
  }
  return out;
}

}  // namespace

RegistryKey::RegistryKey(QSettings* settings, QString path) : m_settings(settings), m_path(std::move(path)) {}

QString RegistryKey::fullName(const QString& name) const {
  return m_path.isEmpty() ? name : m_path + QLatin1Char('/') + name;
}

RegistryKey RegistryKey::subKey(const QString& name) const {
  if (!m_settings) return {};
  return RegistryKey(m_settings, fullName(storedSubKeyName(name)));
}

QString RegistryKey::storedSubKeyName(const QString& name) const {
  return findCaseInsensitive(subKeyNames(), name);
}

QString RegistryKey::storedValueName(const QString& name) const {
  return findCaseInsensitive(valueNames(), name);
}

QStringList RegistryKey::subKeyNames() const {
  if (!m_settings) return {};
  m_settings->beginGroup(m_path);
  QStringList names = m_settings->childGroups();
  m_settings->endGroup();
  // A hand-edited "[a//b]" or "a//b=" gives a group without a name, which
  // opens as its parent again: a tree walk would never end. Keys have names.
  names.removeAll(QString());
  registryOrder(names);
  return names;
}

QStringList RegistryKey::valueNames() const {
  if (!m_settings) return {};
  m_settings->beginGroup(m_path);
  QStringList names = m_settings->childKeys();
  m_settings->endGroup();
  // "=value" has no name; the unnamed value is stored as "(Default)".
  names.removeAll(QString());
  registryOrder(names);
  return names;
}

bool RegistryKey::exists() const {
  if (!m_settings) return false;
  m_settings->beginGroup(m_path);
  const bool any = !m_settings->childKeys().isEmpty() || !m_settings->childGroups().isEmpty();
  m_settings->endGroup();
  return any;
}

QVariant RegistryKey::readRaw(const QString& name) const {
  if (!m_settings) return {};
  return m_settings->value(fullName(storedValueName(name)));
}

std::optional<int32_t> RegistryKey::readDword(const QString& name) const {
  const QVariant v = readRaw(name);
  if (!v.isValid()) return std::nullopt;
  bool ok = false;
  const qlonglong n = v.toString().trimmed().toLongLong(&ok);
  // A DWORD is 32 bits; values stored as unsigned wrap the way the registry
  // hands them to a signed reader.
  if (!ok || n < INT32_MIN || n > static_cast<qlonglong>(UINT32_MAX)) return std::nullopt;
  return static_cast<int32_t>(static_cast<uint32_t>(n));
}

std::optional<QString> RegistryKey::readText(const QString& name, int maxBytes) const {
  const QVariant v = readRaw(name);
  if (!v.isValid()) return std::nullopt;
  // A list value is not text; reading it as text would join its items.
  if (v.typeId() == QMetaType::QStringList) return std::nullopt;
  return cutToBytes(v.toString(), maxBytes - 1);
}

void RegistryKey::writeRaw(const QString& name, const QVariant& value) {
  if (m_settings) m_settings->setValue(fullName(storedValueName(name)), value);
}

void RegistryKey::writeDword(const QString& name, int32_t value) {
  writeRaw(name, value);
}

void RegistryKey::writeText(const QString& name, const QString& value) {
  writeRaw(name, value);
}

void RegistryKey::copyTreeTo(RegistryKey& dest) const {
  if (!m_settings || !dest.m_settings) return;
  // Each key's names are listed once: looking every name up again lists the
  // whole file's keys per value, which made a large profile's first start
  // quadratic. A name written with no match of any case joins the list as
  // the only one of its kind, so its place in the order does not matter.
  QStringList destNames = dest.valueNames();
  for (const QString& name : valueNames()) {
    const QString target = findCaseInsensitive(destNames, name);
    if (!destNames.contains(target)) destNames.append(target);
    dest.m_settings->setValue(dest.fullName(target), m_settings->value(fullName(name)));
  }
  for (const QString& sub : subKeyNames()) {
    RegistryKey target = dest.subKey(sub);
    RegistryKey(m_settings, fullName(sub)).copyTreeTo(target);
  }
}
