#pragma once

// The left (level) axis of the 2D reports: a reference level at the top and
// eight divisions of `scale` dB below it, never reaching past -220 or 220.
struct LevelAxis {
  static constexpr int kDivisions = 8;
  static constexpr double kLimit = 220.0;

  double referenceLevel = 40.0;
  int scale = 10;
  int referenceStep = 10;
  double lowest = 200.0;    // smallest plotted level
  double highest = -200.0;  // largest plotted level below the hole value

  void resetExtremes() {
    lowest = 200.0;
    highest = -200.0;
  }
  // Takes a plotted level (offset included) into the extremes.
  void track(double level);

  // The reference level one division above the highest level, on a
  // multiple of the scale.
  static double autoReference(double highest, int scale);
  // The reference level kept inside the axis bounds for `scale`.
  static double clamp(double reference, int scale);

  void autoReference() { referenceLevel = clamp(autoReference(highest, scale), scale); }
  void raise() { referenceLevel = clamp(referenceLevel + referenceStep, scale); }
  void lower() { referenceLevel = clamp(referenceLevel - referenceStep, scale); }
  double bottom() const { return referenceLevel - kDivisions * scale; }

  // Against the axis ends the chart shows now.
  bool canRaise(double axisMinimum) const { return axisMinimum - referenceStep <= highest; }
  bool canLower(double axisMaximum) const { return axisMaximum + referenceStep >= lowest; }
};
