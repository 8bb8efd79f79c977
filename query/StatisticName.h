#pragma once

#include <QString>
#include <QStringList>

// A statistic as the reports and exports name it: "Average", "Maximum",
// "Minimum", or "% Exceeding <name>" for statistics 3 to 6 with the name of
// threshold 1 to 4 (a missing name reads empty).
QString statisticName(int statistic, const QStringList& thresholdNames);
