#include "app/LaunchRequest.h"

#include "resources/Strings.h"

#include <QDateTime>
#include <cmath>
#include <limits>

void LaunchRequest::Apply(const LaunchParameters& params, GraphQuery& query, bool& upToTheSecond,
                          CNBDateTime& launchStart, bool& datesSupplied) {
  // The window is stored before the graph type is: SetStart and SetEnd file
  // the dates under the request's current type, which after a reset is Time
  // Window Summary. The launched times therefore land in the window shared by
  // types 0 to 2, and a QUERY of 3 to 5 opens on that type's own reset window
  // (the shared window, kept as the launch start, still drives the reset).
  if (params.startTime != -1) {
    const CNBDateTime start = CNBDateTime::FromSeconds(params.startTime);
    query.SetStart(start);
    launchStart = start;
    if (params.stopTime != -1) datesSupplied = true;
  }
  if (params.stopTime != -1) query.SetEnd(CNBDateTime::FromSeconds(params.stopTime));
  if (params.graphType != -1) query.graphType = params.graphType;
  if (params.frequency != -1.0) query.frequency = params.frequency;
  if (params.upToTheSecond != -1) upToTheSecond = params.upToTheSecond != 0;
  if (params.increment != -1) query.increment = params.increment;
  if (params.statistics != -1) ApplyStatisticsMask(params.statistics, query);
}

namespace {

struct MethodSpec {
  const char* name;
  QStringList keys;  // in the order the help and errors list them
  QStringList required;
};

const QList<MethodSpec>& methods() {
  static const QList<MethodSpec> kMethods = [] {
    const QStringList orb{"node", "class", "host", "token", "label", "units"};
    const QStringList orbRequired{"node", "host", "token"};
    const QStringList dates = orb + QStringList{"start", "end"};
    const QStringList datesRequired = orbRequired + QStringList{"start"};
    return QList<MethodSpec>{
        {"LaunchORB", orb, orbRequired},
        {"LaunchWithDates", dates, datesRequired},
        {"LaunchORBWithThreshNames", orb + QStringList{"names"}, orbRequired + QStringList{"names"}},
        {"LaunchWithDatesAndThreshNames", dates + QStringList{"names"}, datesRequired + QStringList{"names"}},
        {"SetFreqRange", {"low", "high"}, {"low", "high"}},
    };
  }();
  return kMethods;
}

QString text(int id) {
  return Strings::LoadString(id);
}

std::optional<double> toDate(const QString& value) {
  bool isSeconds = false;
  const qlonglong seconds = value.toLongLong(&isSeconds);
  if (isSeconds) {
    if (seconds < std::numeric_limits<int32_t>::min() || seconds > std::numeric_limits<int32_t>::max())
      return std::nullopt;
    return CNBDateTime::FromSeconds(static_cast<int32_t>(seconds)).value();
  }
  QDateTime dt = QDateTime::fromString(value, Qt::ISODate);
  if (!dt.isValid()) return std::nullopt;
  // Launchers speak UTC; a time written without a zone is taken as UTC too
  // rather than as this machine's local time.
  if (dt.timeSpec() == Qt::LocalTime) dt.setTimeSpec(Qt::UTC);
  const CNBDateTime converted = CNBDateTime::FromQDateTime(dt);
  if (!converted.isValid()) return std::nullopt;
  return converted.value();
}

}  // namespace

std::optional<AutomationCall> AutomationCall::parseLaunch(const QStringList& args, QString* error) {
  const auto fail = [error](const QString& message) -> std::optional<AutomationCall> {
    if (error) *error = message;
    return std::nullopt;
  };

  if (args.isEmpty()) return fail(text(Strings::IDS_UI_LAUNCH_NO_METHOD));
  const MethodSpec* entry = nullptr;
  for (const MethodSpec& m : methods()) {
    if (args[0].compare(QLatin1String(m.name), Qt::CaseInsensitive) == 0) entry = &m;
  }
  if (!entry) return fail(text(Strings::IDS_UI_LAUNCH_UNKNOWN_METHOD).arg(args[0]));

  AutomationCall call;
  call.method = QString::fromLatin1(entry->name);
  QStringList seen;
  bool endGiven = false;

  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& word = args[i];
    const qsizetype eq = word.indexOf(u'=');
    if (eq <= 0) return fail(text(Strings::IDS_UI_LAUNCH_NOT_KEY_VALUE).arg(word));
    const QString key = word.left(eq).toLower();
    const QString value = word.mid(eq + 1);
    if (!entry->keys.contains(key)) {
      return fail(text(Strings::IDS_UI_LAUNCH_UNKNOWN_KEY)
                      .arg(call.method, word.left(eq), entry->keys.join(QStringLiteral(", "))));
    }
    if (seen.contains(key)) return fail(text(Strings::IDS_UI_LAUNCH_DUPLICATE_KEY).arg(key));
    seen.append(key);

    bool ok = true;
    if (key == u"node") {
      call.node = value.toInt(&ok);
    } else if (key == u"token") {
      call.token = value.toInt(&ok);
    } else if (key == u"units") {
      call.units = value.toShort(&ok);
    } else if (key == u"low" || key == u"high") {
      const double v = value.toDouble(&ok);
      ok = ok && std::isfinite(v);
      (key == u"low" ? call.low : call.high) = v;
    } else if (key == u"start" || key == u"end") {
      const std::optional<double> date = toDate(value);
      if (!date) return fail(text(Strings::IDS_UI_LAUNCH_BAD_DATE).arg(key, value));
      (key == u"start" ? call.start : call.end) = *date;
      endGiven = endGiven || key == u"end";
    } else if (key == u"class") {
      call.serverClass = value;
    } else if (key == u"host") {
      call.host = value;
    } else if (key == u"label") {
      call.label = value;
    } else if (key == u"names") {
      // "names=" is no names at all; otherwise empty names keep their place.
      call.names = value.isEmpty() ? QStringList() : value.split(u',');
    }
    if (!ok) return fail(text(Strings::IDS_UI_LAUNCH_BAD_NUMBER).arg(key, value));
  }

  for (const QString& key : entry->required) {
    if (!seen.contains(key)) return fail(text(Strings::IDS_UI_LAUNCH_MISSING_KEY).arg(call.method, key));
  }
  // The end of a dated launch is carried but never used, so it may be left out.
  if (!endGiven) call.end = call.start;
  return call;
}
