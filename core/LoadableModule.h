#pragma once

#include <QString>
#include <QStringList>

// A part of the program kept out of its start and loaded on first use: a
// shared module looked for beside the program, then in the installed module
// folder relative to it, then where the build tree made it. Never unloaded:
// what it makes may live until the process ends.
namespace LoadableModule {

// The places to look, in order. `fromProgram` is the installed folder
// relative to the program's; `buildCopy` the build tree's file.
QStringList candidates(const QString& fileName, const QString& programFolder, const QString& fromProgram,
                       const QString& buildCopy);

// The entry point `symbol` of the first place that has it. When none has, null,
// and the reason (each loader error, or every place searched) goes to
// standard error as "quillon: cannot load <what>: ...".
void* resolve(const QStringList& places, const char* symbol, const char* what);

}  // namespace LoadableModule
