#include "views/ReferenceLevel.h"

void ReferenceLevel::autoReference() {
  const int s = safeStep();
  top = static_cast<int>(dataMaximum) + (percent ? 0 : s);
  bottom = static_cast<int>(dataMinimum) - s;
  normalise();
}

void ReferenceLevel::raise() {
  top += safeStep();
  bottom += safeStep();
  normalise();
}

void ReferenceLevel::lower() {
  top -= safeStep();
  bottom -= safeStep();
  normalise();
}

void ReferenceLevel::normalise() {
  const int s = safeStep();
  if (top % s != 0) {
    while (top - 1 > dataMaximum) {
      --top;
      if (top % s == 0) break;
    }
    while (top % s != 0) ++top;
  }
  if (bottom % s != 0) {
    while (bottom + 1 < dataMinimum) {
      ++bottom;
      if (bottom % s == 0) break;
    }
    while (bottom % s != 0) --bottom;
  }
  while (top - bottom < kMinimumSpan) {
    top += s;
    bottom -= s;
  }
  bool lowerNext = true;
  while (top - bottom < span) {
    if (lowerNext)
      bottom -= s;
    else
      top += s;
    lowerNext = !lowerNext;
  }
  if (percent) {
    while (!(top >= dataMaximum && top % s == 0)) {
      ++top;
      --bottom;
    }
  }
  span = top - bottom;
  if (percent && (span > 100 || top > 100)) {
    span = 100;
    top = 100;
    bottom = 0;
  }
}

bool ReferenceLevel::canRaise(double axisMinimum, double axisMaximum) const {
  const int s = safeStep();
  if (percent && bottom + s == 0) return true;
  if (!(axisMinimum + s < dataMinimum)) return false;
  return !percent || (dataMaximum + s < 100.0 && axisMaximum < 100.0);
}

bool ReferenceLevel::canLower(double axisMaximum) const { return axisMaximum - safeStep() >= dataMaximum; }

bool ReferenceLevel::canAutoReference(double axisMinimum, double axisMaximum) const {
  return !percent || canRaise(axisMinimum, axisMaximum) || canLower(axisMaximum);
}
