#pragma once

#include <QString>
#include <functional>

class QIODevice;
class QTextStream;

// Writes an exported report. The data goes to a temporary file in the target
// folder that replaces the target only once everything was written, so a
// failed export never leaves a half file behind or destroys an older one.
class ExportFile {
public:
  using Writer = std::function<void(QTextStream&)>;

  struct Result {
    bool ok = false;
    QString error;  // for the user; names the file and the reason
    explicit operator bool() const { return ok; }
  };

  static Result write(const QString& path, const Writer& writer);

  // The same for binary content: the writer fills the device and answers
  // false when it could not (the reason, if any, in `reason`).
  using DeviceWriter = std::function<bool(QIODevice&, QString& reason)>;
  static Result writeDevice(const QString& path, const DeviceWriter& writer);
};
