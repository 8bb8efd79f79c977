#pragma once

#include "core/CNBDateTime.h"
#include "support/QtPrinters.h"

#include <QDateTime>

// Instants written the way the cases read: UTC or the test zone's local time.
inline QDateTime utc(int y, int mo, int d, int h, int mi, int s = 0) {
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}
inline QDateTime local(int y, int mo, int d, int h, int mi, int s = 0) {
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}
inline CNBDateTime at(const QDateTime& t) {
  return CNBDateTime::FromQDateTime(t);
}
