#include "core/CNBServerDateTime.h"

#include "server/IServerObjects.h"
#include "server/INembraClock.h"

CNBDateTime CNBServerDateTime::Now() const {
  IServerObjects* objects = m_objects ? m_objects() : nullptr;
  if (!objects) return CNBDateTime(0.0);
  std::shared_ptr<INembraClock> clock;
  if (objects->CreateClock(clock) != hr::S_OK || !clock) return CNBDateTime(0.0);
  double time = 0.0;
  if (clock->GetTime(&time) != hr::S_OK) return CNBDateTime(0.0);
  return CNBDateTime(time);
}

// Each asks the server for its clock only when no date-time is given.
void CNBServerDateTime::PeriodBefore(CNBDateTime& result, int period, const CNBDateTime* dt) const {
  if (dt) return CNBDateTime::PeriodBefore(result, period, dt);
  const CNBDateTime now = Now();
  CNBDateTime::PeriodBefore(result, period, &now);
}

int32_t CNBServerDateTime::FormatServerDate(QString& out, const CNBDateTime* dt, bool shortForm) const {
  if (dt) return FormatDate(out, dt, shortForm, true);
  const CNBDateTime now = Now();
  return FormatDate(out, &now, shortForm, true);
}

int32_t CNBServerDateTime::FormatServerTime(QString& out, const CNBDateTime* dt, bool withSeconds) const {
  if (dt) return FormatTime(out, dt, withSeconds, true);
  const CNBDateTime now = Now();
  return FormatTime(out, &now, withSeconds, true);
}
