#pragma once

#include "core/CNBDateTime.h"
#include "server/Blocks.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

struct GraphQuery;

// The rules of the New Graph request: quarter-hour rounding and stepping, the
// frequency spin, the graph-size limits and the four checks run on OK. Plain
// functions, so the dialog only binds them to its controls.
namespace NewGraphRules {

constexpr int kMaxPoints = 500;                  // points of a 2D report
constexpr int kMaxRibbons = Blocks::kMaxBlocks;  // ribbons of Time Window Detail and 24 Hour
constexpr int kMaxDays = Blocks::kMaxBlocks;     // days of the two Multi-Day reports
constexpr double kFrequencyStep = 0.005;         // MHz per spin notch

// Nearest quarter hour: minutes 0-7 -> :00, 8-22 -> :15, 23-37 -> :30,
// 38-52 -> :45, 53-59 -> :00 of the next hour (the date moves with it).
// With `roundSeconds` 30 seconds or more first add a minute; without, the
// seconds are simply dropped (the dialog's rule).
QDateTime roundToQuarter(const QDateTime& t, bool roundSeconds);

// The latest quarter-hour boundary strictly before `nowUtc`.
QDateTime lastQuarterHour(const QDateTime& nowUtc);

// The minute after one spin of a time field's minutes from `previousMinute`
// to `newMinute`: a quarter hour down when the minute fell (or is 59, the wrap
// from :00), up when it rose, unchanged when equal. The hour never carries.
int quarterStep(int previousMinute, int newMinute);

// One notch of the frequency spin: the frequency moves by `delta` steps of
// 0.005 MHz in the spin's position sense (a negative delta raises it), then is
// limited to the upper and then the lower limit.
double stepFrequency(double frequency, int delta, double lower, double upper);

// A frequency as the New Graph field shows it: the shortest text that reads
// back as the same number, with at least three decimals ("5.000", "55.0625").
QString frequencyText(double mhz);

// The size the record's type is limited by: points of a 2D report (types 0
// and 1), ribbons of Time Window Detail and 24 Hour (one more when the end is
// taken to the second), days of the Multi-Day reports; 0 for another type.
// The server answers the same count (server/RequestSize).
int64_t graphSize(const GraphQuery& q, bool upToTheSecond);

// How the request's fields follow each other while the user edits them: the
// end's clock time follows the start's for a 24 Hour report and for a daily
// increment (whole days from the start on); a 24 Hour report ends the day
// after its start date; a daily increment cannot run to the second.
bool endTimeFollowsStart(int32_t graphType, int32_t increment);
bool endDateFollowsStart(int32_t graphType);
bool incrementClearsUpToTheSecond(int32_t graphType, int32_t increment);

// One failed check: its string id and the text to show.
struct Failure {
  int stringId;
  QString text;
  bool operator==(const Failure&) const = default;
};

// The date check (first failure only).
std::optional<Failure> checkDates(const GraphQuery& q, const CNBDateTime& nowUtc);
// At least one statistic for the check-box types.
std::optional<Failure> checkStatistics(const GraphQuery& q);
// The graph-size limit of the record's type.
std::optional<Failure> checkGraphSize(const GraphQuery& q, bool upToTheSecond);
// The single frequency of One Frequency Time Window within [lower, upper].
std::optional<Failure> checkFrequency(const GraphQuery& q, double lower, double upper);

struct CheckContext {
  CNBDateTime nowUtc;
  bool upToTheSecond = false;
  double lowerFrequency = 0.0;
  double upperFrequency = 0.0;
};

// The four checks in their order; every failure is listed, so one OK can
// show several messages. Empty when the request may run.
std::vector<Failure> runChecks(const GraphQuery& q, const CheckContext& context);

}  // namespace NewGraphRules
