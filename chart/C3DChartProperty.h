#pragma once

#include "chart/AppearanceField.h"
#include "chart/Chart3DAppearance.h"

#include <QString>

class CChart3D;
class RegistryKey;

// The stored look of one 3D report's chart: read from and written to the
// report's key below "Settings", taken from the chart and given back to it.
class C3DChartProperty {
public:
  C3DChartProperty();

  // "TWDChart Properties", "TFHChart Properties", "MDChart Properties",
  // "MDTWCHart Properties" for the 3D types 2 to 5; empty for any other.
  static QString keyName(int graphType);

  // Reads the report's key; a key that is absent leaves the record unloaded
  // and a missing value keeps the field as it was.
  void load(const RegistryKey& settingsSection, int graphType);
  // Writes every value into the report's key, the legend title last.
  void save(RegistryKey& settingsSection, int graphType) const;
  void capture(const CChart3D& chart);
  void apply(CChart3D& chart) const;
  // The built-in look on the chart; the record stays as it is.
  static void applyDefaults(CChart3D& chart);

  bool loaded() const { return m_loaded; }
  // The record holds a look the user chose, to be applied like a stored one.
  void markLoaded() { m_loaded = true; }
  const Chart3DAppearance& look() const { return m_look; }
  Chart3DAppearance& look() { return m_look; }

  // The values the appearance pages edit, pointing into this record.
  AppearanceFields fields();

private:
  bool m_loaded = true;
  Chart3DAppearance m_look;
  int m_titleSize = 0;  // bytes of the stored title with its terminator
};
