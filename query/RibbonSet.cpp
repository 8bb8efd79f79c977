#include "query/RibbonSet.h"

const Blocks::Values& RibbonSet::values(int k) const {
  return kind == Kind::Day ? days.at(k).values : ribbons.at(k).values;
}

const Blocks::Values& RibbonSet::frequencies(int k) const {
  return kind == Kind::Day ? days.at(k).frequencies : ribbons.at(k).frequencies;
}

int RibbonSet::entryCount(int k) const {
  return kind == Kind::Day ? days.at(k).entryCount : ribbons.at(k).entryCount;
}

int32_t RibbonSet::periodStart(int k) const {
  return kind == Kind::Day ? days.at(k).periodStart : ribbons.at(k).periodStart;
}

int32_t RibbonSet::periodEnd(int k) const {
  return kind == Kind::Day ? days.at(k).periodEnd : ribbons.at(k).periodEnd;
}
