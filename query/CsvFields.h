#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <cstdint>

// Field texts shared by the CSV writers. Numbers are always written in the C
// locale ("%g", decimal point), whatever the user's locale, so a file reads
// the same on every machine and its commas stay separators.
class CsvFields {
public:
  static QString separator();
  static QString lineFeed();
  static QString integer(int32_t v);
  static QString number(double v);
  // Empty for a missing sample, else the value as it is.
  static QString value(double v);
  // Empty for a missing sample, else the value with `offset` added.
  static QString level(double v, double offset);
  // The three lines every export starts with: the label, the UID prefix
  // (string `uidTextId`) with the node, and the report type's name.
  static void writeHeading(QTextStream& out, const QString& label, int uidTextId, int32_t node,
                           int typeNameId);
};
