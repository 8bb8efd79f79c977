#pragma once

#include <array>

// What the frame knows when it decides which commands are on: the report on
// screen and what its view says of itself. Views fill the view part; until a
// view exists it stays at its defaults and the view commands stay off.
struct FrameState {
  int graphType = 6;       // the report shown; 6 before the first one
  bool viewReady = false;  // the report's view has drawn its chart
  bool canRaiseLevel = false;
  bool canLowerLevel = false;
  bool autoReference = false;
  std::array<bool, 7> traceDrawn{};  // 2D reports: statistic traces drawn
  int marker1Trace = -1;             // trace marker 1 sits on; -1 off
  bool marker2On = false;
  std::array<bool, 7> thresholdShown{};  // Time Window Summary threshold lines, by trace (3 to 6)
  bool intervalShown = false;            // the interval threshold's line
  bool thresholdDisplay = false;         // threshold lines switched on
  bool levelDrawn = false;               // 2D reports: a level trace is drawn
  bool activeMarkerOn = false;           // 2D reports: a marker is the active one
  bool heatMapShown = false;             // ribbon reports: drawn flat instead of in 3D
  bool endsNow = false;                  // the report's window ends at the current time
  bool following = false;                // Follow Live is on
  bool comparisonShown = false;          // the report is set against an earlier period
};

struct CommandState {
  bool enabled = false;
  bool checked = false;
  bool operator==(const CommandState&) const = default;
};

// The trace (statistic index) a marker trace command stands for; -1 for any
// other command.
int markerTraceOf(int commandId);

// The one place where the frame's commands are enabled and checked.
CommandState commandState(int commandId, const FrameState& state);
