#include "core/LoadableModule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <cstdio>

QStringList LoadableModule::candidates(const QString& fileName, const QString& programFolder,
                                       const QString& fromProgram, const QString& buildCopy) {
  QStringList places;
  if (!programFolder.isEmpty()) {
    const QDir program(programFolder);
    places << program.filePath(fileName);
    places << QDir::cleanPath(program.filePath(fromProgram + QLatin1Char('/') + fileName));
  }
  places << buildCopy;
  return places;
}

void* LoadableModule::resolve(const QStringList& places, const char* symbol, const char* what) {
  QStringList tried;
  for (const QString& place : places) {
    if (!QFileInfo(place).isFile()) continue;
    QLibrary module(place);
    if (QFunctionPointer entry = module.resolve(symbol)) return reinterpret_cast<void*>(entry);
    tried << module.errorString();
  }
  if (tried.isEmpty()) tried << QStringLiteral("not found in %1").arg(places.join(QStringLiteral(", ")));
  std::fprintf(stderr, "quillon: cannot load %s: %s\n", what,
               tried.join(QStringLiteral("; ")).toLocal8Bit().constData());
  return nullptr;
}
