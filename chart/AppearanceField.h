#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// One editable value of a chart's appearance record, as the appearance
// dialog shows it. The pointers reach into a record the caller owns and
// keeps alive while the dialog runs; colours are 0x00BBGGRR values.
struct AppearanceField {
  enum class Kind { Colour, Number, Choice, Flag, Text };

  QString page{};  // the tab the field sits on
  QString label{};
  Kind kind = Kind::Number;
  int* value = nullptr;     // Colour, Number, Choice (the item index), Flag (0 or 1)
  QString* text = nullptr;  // Text
  QStringList choices{};    // Choice
  int minimum = 0;          // Number
  int maximum = 100;
};

using AppearanceFields = QVector<AppearanceField>;
