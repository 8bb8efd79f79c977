#include "query/GraphQuery.h"

#include "core/Clock.h"
#include "core/RegistryKey.h"
#include "query/NewGraphRules.h"

#include <charconv>
#include <cmath>

namespace {

const QString kSelectionKey = QStringLiteral("Settings");
const QString kGraphType = QStringLiteral("Graph Type");
const QString kFrequency = QStringLiteral("Frequency");
const QString kIncrement = QStringLiteral("Increment:");
const QString kRadio = QStringLiteral("Radio");
// Value names of the seven statistic flags, in Statistic order.
const QString kStatisticNames[Statistic::kCount] = {
    QStringLiteral("Average"),    QStringLiteral("Maximum"),   QStringLiteral("Minimum"),
    QStringLiteral("Upper High"), QStringLiteral("Upper Low"), QStringLiteral("Lower High"),
    QStringLiteral("Lower Low")};
constexpr int kFrequencyTextBytes = 200;

// The leading number of a text, as a "%lf" scan reads it; the C locale's
// decimal point whatever the user's locale.
std::optional<double> parseLeadingDouble(const QString& text) {
  const QByteArray utf8 = text.trimmed().toUtf8();
  const char* first = utf8.constData();
  const char* last = first + utf8.size();
  if (first != last && *first == '+') ++first;
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr == first || !std::isfinite(value)) return std::nullopt;
  return value;
}

CNBDateTime fromQ(const QDateTime& t) { return CNBDateTime::FromQDateTime(t); }

}  // namespace

GraphQuery::GraphQuery() { Reset(); }

void GraphQuery::Reset() {
  const QDateTime lastQuarter = NewGraphRules::lastQuarterHour(Clock::nowUtc());
  const QDateTime localQuarter = lastQuarter.toLocalTime();
  // "One day before" is a calendar day of the user's clock, so a window that
  // crosses a daylight-saving switch keeps its clock times.
  const CNBDateTime dayBefore = CNBDateTime::FromLocal(localQuarter.date().addDays(-1), localQuarter.time());

  graphType = TimeWindowSummary;
  end = end24Hour = endMultiDayTimeWindow = fromQ(lastQuarter);
  start = start24Hour = dayBefore;
  startMultiDayTimeWindow = dayBefore.addDays(-1.0 / 24.0);
  endMultiDay = CNBDateTime::FromLocal(localQuarter.date(), QTime(0, 0));
  startMultiDay = CNBDateTime::FromLocal(localQuarter.date().addDays(-1), QTime(0, 0));
  statistics = {1, 0, 0, 0, 0, 0, 0};
  increment = Increment::k15Min;
  statisticIndex = Statistic::kAverage;
  frequency = 5.0;
}

void GraphQuery::Reset(const CNBDateTime& referenceTime) {
  Reset();
  const QDateTime now = Clock::nowUtc();
  const QDateTime lastQuarter = NewGraphRules::lastQuarterHour(now);
  QDateTime reference = NewGraphRules::roundToQuarter(referenceTime.toUtc(), true);
  if (!reference.isValid() || !(reference < now)) reference = lastQuarter;
  start = fromQ(reference.addSecs(-3600));
  end = fromQ(std::min(reference.addSecs(3600), lastQuarter));
}

CNBDateTime GraphQuery::GetStart() const {
  switch (graphType) {
    case TwentyFourHour: return start24Hour;
    case MultiDay: return startMultiDay;
    case MultiDayTimeWindow: return startMultiDayTimeWindow;
    default: return start;
  }
}

CNBDateTime GraphQuery::GetEnd() const {
  switch (graphType) {
    case TwentyFourHour: return end24Hour;
    case MultiDay: return endMultiDay;
    case MultiDayTimeWindow: return endMultiDayTimeWindow;
    default: return end;
  }
}

void GraphQuery::SetStart(const CNBDateTime& t) {
  switch (graphType) {
    case TwentyFourHour: start24Hour = t; break;
    case MultiDay: startMultiDay = t; break;
    case MultiDayTimeWindow: startMultiDayTimeWindow = t; break;
    default: start = t; break;
  }
}

void GraphQuery::SetEnd(const CNBDateTime& t) {
  switch (graphType) {
    case TwentyFourHour: end24Hour = t; break;
    case MultiDay: endMultiDay = t; break;
    case MultiDayTimeWindow: endMultiDayTimeWindow = t; break;
    default: end = t; break;
  }
}

void GraphQuery::LoadFromRegistry(const RegistryKey& section, bool resetTypeAndIncrement) {
  if (resetTypeAndIncrement) {
    graphType = TimeWindowSummary;
    increment = Increment::k15Min;
  }
  const RegistryKey key = section.subKey(kSelectionKey);
  if (!key.exists()) return;
  // Values outside their range (a hand-edited or damaged file) are ignored
  // like missing ones, so the dialog never opens on a type it cannot show.
  if (!resetTypeAndIncrement) {
    if (auto v = key.readDword(kGraphType); v && isValidGraphType(*v)) graphType = *v;
    if (auto v = key.readDword(kIncrement); v && Increment::isValid(*v)) increment = *v;
  }
  if (auto text = key.readText(kFrequency, kFrequencyTextBytes))
    if (auto f = parseLeadingDouble(*text)) frequency = *f;
  for (int i = 0; i < Statistic::kCount; ++i)
    if (auto v = key.readDword(kStatisticNames[i])) statistics[i] = *v != 0 ? 1 : 0;
  if (auto v = key.readDword(kRadio); v && Statistic::isValid(*v)) statisticIndex = *v;
}

void GraphQuery::SaveToRegistry(RegistryKey& section) const {
  RegistryKey key = section.subKey(kSelectionKey);
  key.writeDword(kGraphType, graphType);
  if (std::isfinite(frequency)) key.writeText(kFrequency, QString::asprintf("%.2f", frequency));
  key.writeDword(kIncrement, increment);
  for (int i = 0; i < Statistic::kCount; ++i) key.writeDword(kStatisticNames[i], statistics[i]);
  key.writeDword(kRadio, statisticIndex);
}
