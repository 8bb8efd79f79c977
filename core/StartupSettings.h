#pragma once

#include <QString>

class SettingsStore;

// The reference-level step of the report views, stored as an index. One
// mapping serves both directions (index 0 = 10, 1 = 5, 2 = 2), the same order
// as the step combo of the graph property dialog; an older release wrote the
// reverse order at exit, which made steps 2 and 10 swap on every restart.
namespace ReferenceStep {
constexpr int kDefault = 10;
constexpr int kSteps[] = {10, 5, 2};
// The step for a stored index; any other index gives the default step.
int fromIndex(int index);
// The index of a step; a step that is not in the list stores the default's.
int toIndex(int step);
}  // namespace ReferenceStep

// What start-up reads from the "Settings" section and exit writes back.
struct StartupSettings {
  QString reportText;            // the print label; empty when absent
  bool chartProperties = false;  // on when the stored text begins with "1"
  int referenceStep = ReferenceStep::kDefault;
  // The 2D reports' dB per division; the property dialog sets it for the
  // rest of the session, the 2D views read it on every activation, nothing
  // stores it.
  int scale = ReferenceStep::kDefault;

  // Reads the report text, the chart-properties switch and the step, in that
  // order; each value that cannot be read keeps its built-in value.
  static StartupSettings Load(SettingsStore& store);
  // Writes the report text, then the step. The chart switch is never written.
  void Save(SettingsStore& store) const;
  // Writes the step alone, as the property dialog's OK does.
  void SaveStep(SettingsStore& store) const;
};
