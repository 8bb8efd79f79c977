#pragma once

// The Follow Live settings, in a group of their own in the profile: the
// refresh interval and, per report type, whether the user last chose to
// follow it.
namespace LiveFollowSettings {

constexpr int kDefaultMinutes = 15;  // the monitoring points' scan interval
constexpr int kMinimumMinutes = 1;
constexpr int kMaximumMinutes = 60;

// The stored interval, within its bounds; the default when missing or damaged.
int intervalMinutes();
bool chosen(int graphType);
void setChosen(int graphType, bool on);

}  // namespace LiveFollowSettings
