#pragma once

#include "core/CNBDateTime.h"
#include "app/LaunchParameters.h"
#include "query/GraphQuery.h"
#include "server/ServerIds.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace LaunchRequest {

// Pre-fills the New Graph request of a command-line launch. `query` is the
// dialog's request, already reset. Only the parameters that were given are
// applied; the out-parameters are left untouched when their parameter is
// absent, and `datesSupplied` is only ever set, never cleared.
//
//   upToTheSecond  the dialog's "Up to the Second" tick (UPTOTHESEC)
//   launchStart    the session's launch start (TIMESTART)
//   datesSupplied  set when TIMESTART and TIMESTOP are both given
void Apply(const LaunchParameters& params, GraphQuery& query, bool& upToTheSecond, CNBDateTime& launchStart,
           bool& datesSupplied);

}  // namespace LaunchRequest

// One automation call as "quillon --launch METHOD key=value ..." describes
// it, ready to be made on a running instance. Fields a method does not take
// keep their defaults.
struct AutomationCall {
  QString method{};  // one of the five names, spelt as the interface spells it
  int32_t node = 0;
  // The data server's class id; launchers rarely name another.
  QString serverClass = QLatin1String(ServerIds::kDataServerClass.data(),
                                      static_cast<qsizetype>(ServerIds::kDataServerClass.size()));
  QString host{};
  int32_t token = -1;
  QString label{};
  int16_t units = 0;   // level-unit code
  double start = 0.0;  // date values (days since 1899-12-30, UTC)
  double end = 0.0;
  QStringList names{};  // threshold names, in threshold order
  double low = 0.0;     // MHz
  double high = 0.0;

  // Reads the words after "--launch": the method name (any letter case)
  // followed by key=value words. On a mistake answers nothing and, when
  // `error` is given, a message naming it.
  static std::optional<AutomationCall> parseLaunch(const QStringList& args, QString* error);

  bool operator==(const AutomationCall&) const = default;
};
