// Runs with TZ=America/New_York: behind UTC, switching on other dates and hours.
#include "core/CNBDateTime.h"

#include <gtest/gtest.h>

namespace {

CNBDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return CNBDateTime::FromFields(y, mo, d, h, mi, s);
}

TEST(CNBDateTimeNewYork, UtcAndLocalAcrossTheSwitchesIncludingSkippedAndRepeatedHours) {
  const struct {
    CNBDateTime utc;
    CNBDateTime local;
    CNBDateTime backToUtc;
    int offsetSeconds;
  } cases[] = {
      {at(2024, 3, 10, 6, 59, 59), at(2024, 3, 10, 1, 59, 59), at(2024, 3, 10, 6, 59, 59), -5 * 3600},
      {at(2024, 3, 10, 7, 0, 0), at(2024, 3, 10, 3, 0, 0), at(2024, 3, 10, 7, 0, 0), -4 * 3600},
      // Early UTC hours still fall on the previous local date.
      {at(2024, 3, 10, 3, 0, 0), at(2024, 3, 9, 22, 0, 0), at(2024, 3, 10, 3, 0, 0), -5 * 3600},
      {at(2024, 11, 3, 5, 59, 59), at(2024, 11, 3, 1, 59, 59), at(2024, 11, 3, 6, 59, 59), -4 * 3600},
      {at(2024, 11, 3, 6, 0, 0), at(2024, 11, 3, 1, 0, 0), at(2024, 11, 3, 6, 0, 0), -5 * 3600},
      {at(2024, 11, 3, 7, 0, 0), at(2024, 11, 3, 2, 0, 0), at(2024, 11, 3, 7, 0, 0), -5 * 3600},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utc.toUtc().toString(Qt::ISODate).toStdString());
    EXPECT_EQ(c.utc.UtcToLocal(), c.local);
    EXPECT_EQ(c.local.LocalToUtc(), c.backToUtc);
    EXPECT_EQ(CNBDateTime::FromLocal(c.local.date(), c.local.time()), c.backToUtc);
    EXPECT_EQ(c.utc.toLocal().offsetFromUtc(), c.offsetSeconds);
  }
  // Skipped hour: read with the standard offset, so it lands an hour later on the clock.
  EXPECT_EQ(CNBDateTime::FromLocal(QDate(2024, 3, 10), QTime(2, 30)), at(2024, 3, 10, 7, 30, 0));
}

}  // namespace
