#pragma once

// The value axis of a 3D report: its top (the reference level) and bottom,
// kept on multiples of the step, at least 40 apart and covering the data.
class ReferenceLevel {
public:
  static constexpr int kMinimumSpan = 40;

  int step = 10;
  int span = 40;
  int top = 0;
  int bottom = 0;
  bool percent = false;
  double dataMaximum = 0.0;
  double dataMinimum = 0.0;

  // Top and bottom one step beyond the data, then normalised.
  void autoReference();
  void raise();
  void lower();
  // Moves top and bottom onto the step, widens to the minimum span and to
  // `span`, then keeps a percentage axis within 0..100; `span` becomes the
  // result's span.
  void normalise();

  // The rules of "I&ncrease  Ref Level", "De&crease Ref Level" and "&Auto
  // Reference", from the axis range the chart shows.
  bool canRaise(double axisMinimum, double axisMaximum) const;
  bool canLower(double axisMaximum) const;
  bool canAutoReference(double axisMinimum, double axisMaximum) const;

private:
  int safeStep() const { return step > 0 ? step : 10; }
};
