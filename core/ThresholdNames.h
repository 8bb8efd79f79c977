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
  const QStringList& list() const { return m_names; }
  bool operator==(const ThresholdNames&) const = default;

private:
  QStringList m_names{QString(), QString(), QString(), QString()};
};
