#pragma once

#include <QVector>

// What the graph property dialog hands to a view: the 3D reports read the
// range and the frequencies, the 2D reports the scale and the frequencies
// (Time Window Summary) or the scale alone (One Frequency).
struct ViewSettings {
  int range = 40;               // dB or %, 40 to 100
  double startFrequency = 0.0;  // MHz, a frequency of the result
  double stopFrequency = 0.0;
  int referenceStep = 10;  // 10, 5 or 2
  int scale = 10;          // dB per division, 10, 5 or 2
};

// What the dialog starts from, as the view on show knows it.
struct ViewSettingsSource {
  QVector<double> frequencies;  // the result's frequencies, ascending (MHz)
  double startFrequency = 0.0;  // the range shown now
  double stopFrequency = 0.0;
  double singleFrequency = 0.0;  // One Frequency: the report's frequency
  int range = 40;
  int minimumRange = 40;  // the smallest range that still shows the data
  bool percent = false;   // a 3D report of a percentage statistic
};
