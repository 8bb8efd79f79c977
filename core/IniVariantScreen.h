#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// QSettings decodes a value written as "@Variant(...)" or "@DateTime(...)"
// with QDataStream, which trusts the counts inside it: one damaged or
// hand-made line of a profile can ask for tens of gigabytes and end the
// program before its window opens. The screen reads the file the way
// QSettings does and turns every such value that is not a plain type whose
// counts fit in its own bytes into text holding the same characters (one "@"
// more in front, which QSettings reads back as the text). Readers then see a
// value that is not a number, as for any other bad value; nothing of the file
// is lost, and values that QSettings itself wrote pass unchanged.
class IniVariantScreen {
public:
  struct Result {
    QByteArray text;  // the file as it should be read
    int screenedValues = 0;
  };

  static Result screen(QByteArrayView file);

  // True when a payload (the text after "@Variant(" or "@DateTime(", as
  // Latin-1 bytes) decodes to a plain value within its own bytes.
  static bool isPlainPayload(QByteArrayView payload, bool dateTimeForm);

  // The screened content of a file; an unreadable file reads as empty.
  static Result screenFileText(const QString& path);

  // Screens a file in place, replacing it atomically when a value needed it.
  // Returns the number of values screened, or -1 when the file could not be
  // replaced (it is then left as it was).
  static int screenFile(const QString& path);
};
