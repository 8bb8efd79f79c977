#include "chart/CChartProperty.h"

#include "chart/CChart2D.h"
#include "core/RegistryKey.h"
#include "query/GraphType.h"
#include "resources/Strings.h"

namespace {

QString text(int id) { return Strings::LoadString(id); }
QStringList choices(int id) { return text(id).split(QLatin1Char('\n')); }

// Colours of the default look, 0x00BBGGRR.
constexpr int kAverageColour = 0x00D8D8;
constexpr int kMaximumColour = 0xFF8C00;
constexpr int kMinimumColour = 0xFFFF00;
constexpr int kMarker1Colour = 0x00FF00;
constexpr int kMarker2Colour = 0xFF00FF;
constexpr int kReadoutValueColour = 0x00A5FF;  // labels 2, 4, 6 and 8
constexpr int kThresholdColours[5] = {0x3C14DC, 0x008CFF, 0xB469FF, 0x32CD32, 0xEBCE87};

CChartProperty::Series line(int colour, int width, int pattern = 1) { return {pattern, width, colour, 0, 5, colour}; }
CChartProperty::Series points(int colour) { return {0, 1, colour, 9, 7, colour}; }

}  // namespace

QString CChartProperty::keyName(int graphType) {
  if (graphType == TimeWindowSummary) return QStringLiteral("TWSChart Properties");
  if (graphType == OneFreqTimeWindow) return QStringLiteral("SFChart Properties");
  return {};
}

void CChartProperty::forEachValue(const std::function<void(const QString&, int&)>& visit) {
  visit(QStringLiteral("CB_Type"), borderType);
  visit(QStringLiteral("CB_WIDTH"), borderWidth);
  visit(QStringLiteral("CI_BGColor"), interiorBackground);
  visit(QStringLiteral("CI_FGColor"), interiorForeground);
  const QString axes[2] = {QStringLiteral("X"), QStringLiteral("Y")};
  for (size_t a = 0; a < 2; ++a) {
    visit(QStringLiteral("AG_Pattern%1").arg(axes[a]), grid[a].pattern);
    visit(QStringLiteral("AG_Width%1").arg(axes[a]), grid[a].width);
    visit(QStringLiteral("AG_Color%1").arg(axes[a]), grid[a].color);
  }
  for (size_t g = 0; g < kGroups; ++g)
    for (size_t s = 0; s < kSeries; ++s) {
      const QString prefix = QStringLiteral("CSG%1_S%2_").arg(g + 1).arg(s + 1);
      Series& r = series[g][s];
      visit(prefix + QStringLiteral("LSPattern"), r.linePattern);
      visit(prefix + QStringLiteral("LSWidth"), r.lineWidth);
      visit(prefix + QStringLiteral("LSColor"), r.lineColor);
      visit(prefix + QStringLiteral("SSShape"), r.symbolShape);
      visit(prefix + QStringLiteral("SSSize"), r.symbolSize);
      visit(prefix + QStringLiteral("SSColor"), r.symbolColor);
    }
  visit(QStringLiteral("CAI_BGColor"), areaBackground);
  visit(QStringLiteral("CAI_FGColor"), areaForeground);
  visit(QStringLiteral("PAI_BGColor"), plotBackground);
  visit(QStringLiteral("PAI_FGColor"), plotForeground);
}

void CChartProperty::load(const RegistryKey& settings, int graphType) {
  const RegistryKey key = settings.subKey(settings.storedSubKeyName(keyName(graphType)));
  if (!settings.isOpen() || !key.exists()) {
    loaded = 0;
    return;
  }
  loaded = 1;
  forEachValue([&](const QString& name, int& field) {
    if (const auto v = key.readDword(name)) field = *v;
  });
}

void CChartProperty::save(RegistryKey& settings, int graphType) const {
  RegistryKey key = settings.subKey(settings.storedSubKeyName(keyName(graphType)));
  CChartProperty copy = *this;
  copy.forEachValue([&](const QString& name, int& field) { key.writeDword(name, field); });
}

void CChartProperty::capture(const CChart2D& chart) {
  const Chart2DState& s = chart.state();
  const Chart2DState::Look& look = s.look;
  borderType = look.borderType;
  borderWidth = look.borderWidth;
  interiorBackground = look.interiorBackground;
  interiorForeground = look.interiorForeground;
  for (size_t a = 0; a < 2; ++a) grid[a] = {look.grid[a].pattern, look.grid[a].width, look.grid[a].color};
  for (size_t g = 0; g < kGroups; ++g)
    for (size_t i = 0; i < kSeries; ++i) {
      const Chart2DState::SeriesStyle& st = s.groups[g].series[i].style;
      series[g][i] = {st.linePattern, st.lineWidth, st.lineColor, st.symbolShape, st.symbolSize, st.symbolColor};
    }
  areaBackground = look.areaBackground;
  areaForeground = look.areaForeground;
  plotBackground = look.plotBackground;
  plotForeground = look.plotForeground;
}

void CChartProperty::apply(CChart2D& chart) const {
  chart.setBatch(true);
  Chart2DState& s = chart.edit();
  Chart2DState::Look& look = s.look;
  look.borderWidth = borderWidth;
  look.borderType = borderType;
  look.interiorBackground = interiorBackground;
  look.interiorForeground = interiorForeground;
  for (size_t a = 0; a < 2; ++a) look.grid[a] = {grid[a].pattern, grid[a].width, grid[a].color};
  // Every slot, not only those the report fills now: a slot filled later
  // (a marker, a threshold line) must not come up in the widget's own look.
  for (size_t g = 0; g < kGroups; ++g)
    for (size_t i = 0; i < kSeries; ++i) {
      const Series& r = series[g][i];
      s.groups[g].series[i].style = {r.linePattern, r.lineWidth, r.lineColor, r.symbolShape, r.symbolSize, r.symbolColor};
    }
  look.areaBackground = areaBackground;
  look.areaForeground = areaForeground;
  look.plotBackground = plotBackground;
  look.plotForeground = plotForeground;
  // The record holds no label colours: the readout values stand out in one
  // colour, their names follow the chart area's text.
  for (int i = 1; i <= Chart2DState::kLabels; ++i)
    s.label(i).color = i % 2 == 0 ? kReadoutValueColour : areaForeground;
  chart.setBatch(false);
}

CChartProperty CChartProperty::defaults(int graphType) {
  CChartProperty p;
  p.borderType = 1;
  p.borderWidth = 1;
  p.interiorBackground = 0x000000;
  p.interiorForeground = 0x808080;
  p.grid[0] = {3, 1, 0x606060};
  p.grid[1] = {3, 1, 0x606060};
  p.areaBackground = 0x000000;
  p.areaForeground = 0xE0E0E0;
  p.plotBackground = 0x141414;
  p.plotForeground = 0xE0E0E0;
  for (auto& group : p.series) group.fill(line(0xC0C0C0, 1));
  auto& g1 = p.series[0];
  auto& g2 = p.series[1];
  g1[0] = line(kAverageColour, 2);
  g1[1] = line(kMaximumColour, 2);
  g1[2] = line(kMinimumColour, 2);
  for (int k = 0; k < 4; ++k) g2[static_cast<size_t>(k)] = line(kThresholdColours[k], 2);
  if (graphType == OneFreqTimeWindow) {
    g1[3] = points(kAverageColour);
    g1[4] = points(kMaximumColour);
    g1[5] = points(kMinimumColour);
    g1[6] = line(kMarker1Colour, 1);
    g1[7] = line(kMarker2Colour, 1);
    for (int k = 0; k < 4; ++k) g2[static_cast<size_t>(k + 4)] = points(kThresholdColours[k]);
  } else {
    g1[3] = line(kMarker1Colour, 1);
    g1[14] = line(kMarker2Colour, 1);
    // The two lines of a threshold share its colour; the second is dashed.
    for (int k = 0; k < 5; ++k) {
      g1[static_cast<size_t>(2 * k + 4)] = line(kThresholdColours[k], 1);
      g1[static_cast<size_t>(2 * k + 5)] = line(kThresholdColours[k], 1, 2);
    }
  }
  return p;
}

void CChartProperty::applyDefaults(CChart2D& chart, int graphType) { defaults(graphType).apply(chart); }

AppearanceFields CChartProperty::fields(const QList<SeriesInUse>& inUse) {
  using Kind = AppearanceField::Kind;
  AppearanceFields out;
  const QString border = text(Strings::IDS_UI_PAGE_BORDER);
  out.push_back({border, text(Strings::IDS_UI_FIELD_TYPE), Kind::Choice, &borderType, nullptr, choices(Strings::IDS_UI_CHOICES_BORDER)});
  out.push_back({border, text(Strings::IDS_UI_FIELD_WIDTH), Kind::Number, &borderWidth, nullptr, {}, 0, 4});
  const auto colours = [&](int page, int* background, int* foreground) {
    out.push_back({text(page), text(Strings::IDS_UI_FIELD_BACKGROUND), Kind::Colour, background});
    out.push_back({text(page), text(Strings::IDS_UI_FIELD_FOREGROUND), Kind::Colour, foreground});
  };
  colours(Strings::IDS_UI_PAGE_INTERIOR, &interiorBackground, &interiorForeground);
  colours(Strings::IDS_UI_PAGE_CHART_AREA, &areaBackground, &areaForeground);
  colours(Strings::IDS_UI_PAGE_PLOT_AREA, &plotBackground, &plotForeground);
  const QString gridPage = text(Strings::IDS_UI_PAGE_GRID_LINES);
  const int axisNames[2] = {Strings::IDS_UI_AXIS_X, Strings::IDS_UI_AXIS_Y};
  for (size_t a = 0; a < 2; ++a) {
    const QString axis = text(axisNames[a]);
    out.push_back({gridPage, text(Strings::IDS_UI_FIELD_AXIS_PATTERN).arg(axis), Kind::Choice, &grid[a].pattern, nullptr,
                   choices(Strings::IDS_UI_CHOICES_PATTERN)});
    out.push_back({gridPage, text(Strings::IDS_UI_FIELD_AXIS_WIDTH).arg(axis), Kind::Number, &grid[a].width, nullptr, {}, 0, 5});
    out.push_back({gridPage, text(Strings::IDS_UI_FIELD_AXIS_COLOUR).arg(axis), Kind::Colour, &grid[a].color});
  }
  QList<SeriesInUse> pages = inUse;
  if (pages.isEmpty())
    for (int g = 1; g <= kGroups; ++g)
      for (int s = 1; s <= kSeries; ++s) pages.push_back({g, s, text(Strings::IDS_UI_SERIES_SLOT).arg(g).arg(s)});
  for (const SeriesInUse& use : pages) {
    if (use.group < 1 || use.group > kGroups || use.series < 1 || use.series > kSeries) continue;
    Series& r = series[static_cast<size_t>(use.group - 1)][static_cast<size_t>(use.series - 1)];
    out.push_back({use.name, text(Strings::IDS_UI_FIELD_LINE_PATTERN), Kind::Choice, &r.linePattern, nullptr,
                   choices(Strings::IDS_UI_CHOICES_PATTERN)});
    out.push_back({use.name, text(Strings::IDS_UI_FIELD_LINE_WIDTH), Kind::Number, &r.lineWidth, nullptr, {}, 0, 8});
    out.push_back({use.name, text(Strings::IDS_UI_FIELD_LINE_COLOUR), Kind::Colour, &r.lineColor});
    out.push_back({use.name, text(Strings::IDS_UI_FIELD_SYMBOL_SHAPE), Kind::Choice, &r.symbolShape, nullptr,
                   choices(Strings::IDS_UI_CHOICES_SHAPE)});
    out.push_back({use.name, text(Strings::IDS_UI_FIELD_SYMBOL_SIZE), Kind::Number, &r.symbolSize, nullptr, {}, 1, 20});
    out.push_back({use.name, text(Strings::IDS_UI_FIELD_SYMBOL_COLOUR), Kind::Colour, &r.symbolColor});
  }
  return out;
}
