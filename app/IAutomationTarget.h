#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// What the automation methods do to the running program. The D-Bus adaptor
// only translates calls into these; the application implements them.
class IAutomationTarget {
public:
  virtual ~IAutomationTarget() = default;

  // Dates are date values (days since 1899-12-30, UTC); level units are the
  // 16-bit code (0 dBmV, 1 dBm, 2 dBuV).
  virtual void LaunchORB(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                         const QString& label, int16_t levelUnits) = 0;
  virtual void LaunchWithDates(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                               const QString& label, double start, double end, int16_t levelUnits) = 0;
  virtual void LaunchORBWithThreshNames(int32_t node, const QString& serverClass, const QString& host,
                                        int32_t token, const QString& label, int16_t levelUnits,
                                        const QStringList& thresholdNames) = 0;
  virtual void LaunchWithDatesAndThreshNames(int32_t node, const QString& serverClass, const QString& host,
                                             int32_t token, const QString& label, double start, double end,
                                             int16_t levelUnits, const QStringList& thresholdNames) = 0;
  virtual void SetFreqRange(double low, double high) = 0;
  // A report is being fetched: launches are refused until it has arrived.
  virtual bool isFetching() const { return false; }
};
