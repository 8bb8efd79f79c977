#pragma once

#include <QDateTime>
#include <QString>

// What the about box says about this build.
namespace BuildInfo {

QString version();      // the project version, "1.0.0"
QDateTime buildTime();  // when the build info was compiled, local time

// The compiler's __DATE__ ("Mar  5 2024") and __TIME__ ("13:02:03") as a
// local date-time; invalid when either text is malformed.
QDateTime parseCompilerTimestamp(const char* date, const char* time);

}  // namespace BuildInfo
