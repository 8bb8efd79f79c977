#pragma once

#include "server/Blocks.h"

#include <QString>
#include <vector>

// The answer of a Time Window Detail, 24 Hour, Multi-Day or Multi-Day Time
// Window request, as the views read it: ribbon k is the k-th time step from
// the start, ribbon R-1 the latest (the first block the server sent).
struct RibbonSet {
  enum class Kind { Ribbon, Day };

  Kind kind = Kind::Ribbon;
  int ribbonCount = 0;     // R
  int frequencyCount = 0;  // N, from the first block
  bool percent = false;    // values are percentages of time beyond a threshold
  // One block per ribbon, of the set's kind; gaps already filled.
  std::vector<RibbonBlock> ribbons;
  std::vector<DayBlock> days;
  // Start and end label of each ribbon's period (local time: times for the
  // ribbon kinds, dates for the day kinds).
  std::vector<QString> startLabels;
  std::vector<QString> endLabels;
  // Labels of the whole period, from the first and the last ribbon.
  QString periodStartLabel;
  QString periodEndLabel;

  void clear() { *this = RibbonSet{}; }
  bool empty() const { return ribbonCount == 0; }
  // Values, frequencies and entry count of ribbon k, whatever the kind.
  const Blocks::Values& values(int k) const;
  const Blocks::Values& frequencies(int k) const;
  int entryCount(int k) const;
  int32_t periodStart(int k) const;
  int32_t periodEnd(int k) const;
};
