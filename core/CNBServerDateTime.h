#pragma once

#include "core/CNBDateTime.h"

#include <functional>

class IServerObjects;

// The date-time whose "now" is the monitoring server's clock. The objects come
// from a callback so this stays free of the session that owns them. With no
// server clock (not connected, or the call failed) now is 0.0: 1899-12-30 00:00.
class CNBServerDateTime : public CNBDateTime {
public:
  using ObjectsSource = std::function<IServerObjects*()>;
  explicit CNBServerDateTime(ObjectsSource objects) : m_objects(std::move(objects)) {}

  CNBDateTime Now() const override;
  void PeriodBefore(CNBDateTime& result, int period, const CNBDateTime* dt) const override;
  // A date and a time in local form, of the server's now when none is given.
  virtual int32_t FormatServerDate(QString& out, const CNBDateTime* dt, bool shortForm) const;
  virtual int32_t FormatServerTime(QString& out, const CNBDateTime* dt, bool withSeconds) const;

private:
  ObjectsSource m_objects;
};
