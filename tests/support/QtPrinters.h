#pragma once

#include <QDateTime>
#include <QString>
#include <ostream>

// Readable failure messages for the Qt values the tests compare.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QDateTime& t, std::ostream* os) {
  *os << t.toString(Qt::ISODateWithMs).toStdString();
}
