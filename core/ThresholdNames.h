#pragma once

#include <QString>
#include <QStringList>

// The names of a port's four thresholds as a launcher passes them: always
// four, missing ones empty and extra ones dropped, so every reader can index
// them without a check.
class ThresholdNames {
public:
  static constexpr int kCount = 4;

  ThresholdNames() = default;
  explicit ThresholdNames(const QStringList& names);

  QString at(int i) const { return m_names.value(i); }
  // The name as the menus show it: a launch that named no threshold leaves
  // the items' own "Threshold &n".
  QString menuText(int i) const;
  // The same without the mnemonic, for legends and readouts.
  QString displayName(int i) const;
  const QStringList& list() const { return m_names; }
  bool operator==(const ThresholdNames&) const = default;

private:
  QStringList m_names{QString(), QString(), QString(), QString()};
};
