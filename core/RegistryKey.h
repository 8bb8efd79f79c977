#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <optional>

class QSettings;

// A key of the settings tree in registry terms: named values and sub-keys,
// addressed by a group path inside one QSettings file. Reads never fail
// loudly: a missing value, or text where a number belongs, reads as absent and
// the caller keeps its built-in value. The key does not own the QSettings.
class RegistryKey {
public:
  RegistryKey() = default;  // a key that could not be opened
  RegistryKey(QSettings* settings, QString path);

  bool isOpen() const { return m_settings != nullptr; }
  const QString& path() const { return m_path; }

  // Sub-key by name (not created until a value is written below it).
  RegistryKey subKey(const QString& name) const;

  // Registry names are case-insensitive; INI groups are not. These find the
  // stored spelling of a sub-key or value, or return `name` unchanged.
  QString storedSubKeyName(const QString& name) const;
  QString storedValueName(const QString& name) const;

  // Sub-key and value names in registry order (case-insensitive alphabetical).
  QStringList subKeyNames() const;
  QStringList valueNames() const;
  // True when the key holds any value or sub-key.
  bool exists() const;

  // A 32-bit number; absent when missing or not a number.
  std::optional<int32_t> readDword(const QString& name) const;
  // A text of at most maxBytes - 1 bytes of UTF-8 (the size of the reader's
  // buffer, terminator included); longer texts are cut at a character boundary.
  std::optional<QString> readText(const QString& name, int maxBytes) const;
  QVariant readRaw(const QString& name) const;

  void writeDword(const QString& name, int32_t value);
  void writeText(const QString& name, const QString& value);
  void writeRaw(const QString& name, const QVariant& value);

  // Copies every value and sub-key of this key into `dest`, recursively.
  void copyTreeTo(RegistryKey& dest) const;

  // The name QSettings uses for a key's default (unnamed) value, as the
  // registry editor shows it.
  static QString defaultValueName() { return QStringLiteral("(Default)"); }

private:
  QString fullName(const QString& name) const;

  QSettings* m_settings = nullptr;
  QString m_path;
};
