#include "query/CsvFields.h"

#include "query/GraphType.h"
#include "query/NoData.h"
#include "resources/Strings.h"

#include <QByteArray>
#include <cmath>

namespace {

// A 97-ribbon export formats close to 50,000 numbers; the format texts are
// looked up once.
const QByteArray& numberFormat() {
  static const QByteArray format = Strings::LoadString(Strings::IDS_NUMBER_FORMAT).toLatin1();
  return format;
}

const QByteArray& integerFormat() {
  static const QByteArray format = Strings::LoadString(Strings::IDS_INTEGER_FORMAT).toLatin1();
  return format;
}

}  // namespace

QString CsvFields::separator() {
  return Strings::LoadString(Strings::IDS_CSV_SEPARATOR);
}

QString CsvFields::lineFeed() {
  return Strings::LoadString(Strings::IDS_LINE_FEED);
}

// QString::asprintf formats with the C locale, never the user's.
QString CsvFields::integer(int32_t v) {
  return QString::asprintf(integerFormat().constData(), static_cast<int>(v));
}

QString CsvFields::number(double v) {
  return QString::asprintf(numberFormat().constData(), v);
}

QString CsvFields::value(double v) {
  return isNoData(v) ? QString() : number(v);
}

QString CsvFields::level(double v, double offset) {
  return isNoData(v) ? QString() : number(v + offset);
}

void CsvFields::writeHeading(QTextStream& out, const QString& label, int uidTextId, int32_t node,
                             int typeNameId) {
  out << label << lineFeed();
  out << Strings::LoadString(uidTextId) << integer(node) << lineFeed();
  out << Strings::LoadString(typeNameId) << lineFeed();
}
