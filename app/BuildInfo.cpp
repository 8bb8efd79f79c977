#include "app/BuildInfo.h"

#include <QStringList>

namespace BuildInfo {

QString version() {
  return QStringLiteral(QUILLON_VERSION);
}

// The compiler honours SOURCE_DATE_EPOCH, so package builds stay reproducible.
QDateTime buildTime() {
  return parseCompilerTimestamp(__DATE__, __TIME__);
}

QDateTime parseCompilerTimestamp(const char* date, const char* time) {
  static const QStringList kMonths = {QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"),
                                      QStringLiteral("Apr"), QStringLiteral("May"), QStringLiteral("Jun"),
                                      QStringLiteral("Jul"), QStringLiteral("Aug"), QStringLiteral("Sep"),
                                      QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
  if (!date || !time) return {};
  const QStringList parts = QString::fromLatin1(date).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (parts.size() != 3) return {};
  const int month = static_cast<int>(kMonths.indexOf(parts[0])) + 1;
  bool dayOk = false, yearOk = false;
  const QDate d(parts[2].toInt(&yearOk), month, parts[1].toInt(&dayOk));
  const QTime t = QTime::fromString(QString::fromLatin1(time), QStringLiteral("HH:mm:ss"));
  if (month == 0 || !dayOk || !yearOk || !d.isValid() || !t.isValid()) return {};
  return QDateTime(d, t);
}

}  // namespace BuildInfo
