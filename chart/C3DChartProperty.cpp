#include "chart/C3DChartProperty.h"

#include "chart/CChart3D.h"
#include "core/RegistryKey.h"
#include "resources/Strings.h"

namespace {

const char* const kAxisNames[3] = {"X", "Y", "Z"};

QString axisValue(const char* stem, size_t axis) {
  return QString::fromLatin1(stem) + QString::fromLatin1(kAxisNames[axis]);
}

// The record's dword values beside the per-axis grid and the legend title:
// one list, so loading and saving cannot name different keys.
struct DwordValue {
  const char* name;
  int Chart3DAppearance::*number;
  std::uint32_t Chart3DAppearance::*colour;
};
constexpr DwordValue kDwordValues[] = {
    {"CB_Type", &Chart3DAppearance::borderType, nullptr},
    {"CB_WIDTH", &Chart3DAppearance::borderWidth, nullptr},
    {"CI_BGColor", nullptr, &Chart3DAppearance::interiorBackground},
    {"CI_FGColor", nullptr, &Chart3DAppearance::interiorForeground},
    {"CAI_BGColor", nullptr, &Chart3DAppearance::chartAreaBackground},
    {"CAI_FGColor", nullptr, &Chart3DAppearance::chartAreaForeground},
    {"PC_BGColor", nullptr, &Chart3DAppearance::plotCubeBackground},
    {"LG_Anchor", &Chart3DAppearance::legendAnchor, nullptr},
    {"LG_Orientation", &Chart3DAppearance::legendOrientation, nullptr},
    {"LG_Type", &Chart3DAppearance::legendType, nullptr},
    {"LG_Range", &Chart3DAppearance::legendRange, nullptr},
    {"LG_ISShowing", &Chart3DAppearance::legendShown, nullptr},
};

}  // namespace

C3DChartProperty::C3DChartProperty() {
  // A new record is all zeros except the legend, which shows.
  m_look = Chart3DAppearance{};
  m_look.legendShown = 1;
}

QString C3DChartProperty::keyName(int graphType) {
  switch (graphType) {
    case 2: return QStringLiteral("TWDChart Properties");
    case 3: return QStringLiteral("TFHChart Properties");
    case 4: return QStringLiteral("MDChart Properties");
    case 5: return QStringLiteral("MDTWCHart Properties");
    default: return {};
  }
}

void C3DChartProperty::load(const RegistryKey& section, int graphType) {
  const QString name = keyName(graphType);
  const RegistryKey key =
      name.isEmpty() || !section.isOpen() ? RegistryKey() : section.subKey(section.storedSubKeyName(name));
  if (!key.isOpen() || !key.exists()) {
    m_loaded = false;
    return;
  }
  m_loaded = true;
  Chart3DAppearance& a = m_look;
  for (const DwordValue& v : kDwordValues) {
    const auto d = key.readDword(QString::fromLatin1(v.name));
    if (!d) continue;
    if (v.number)
      a.*v.number = *d;
    else
      a.*v.colour = static_cast<std::uint32_t>(*d);
  }
  for (size_t i = 0; i < 3; ++i) {
    if (const auto v = key.readDword(axisValue("AG_Pattern", i))) a.grid[i].pattern = *v;
    if (const auto v = key.readDword(axisValue("AG_Width", i))) a.grid[i].width = *v;
    if (const auto v = key.readDword(axisValue("AG_Color", i)))
      a.grid[i].colour = static_cast<std::uint32_t>(*v);
  }
  if (const auto v = key.readDword(QStringLiteral("LT_TitleSize"))) m_titleSize = *v;
  // The title is read into a buffer of the stored size: a title that does
  // not fit is not read at all, as a too small buffer refuses the value.
  const QVariant raw = key.readRaw(QStringLiteral("LT_Text"));
  if (raw.isValid()) {
    const QString title = raw.toString();
    if (title.toUtf8().size() + 1 <= m_titleSize) a.legendTitle = title;
  }
}

void C3DChartProperty::save(RegistryKey& section, int graphType) const {
  const QString name = keyName(graphType);
  if (name.isEmpty() || !section.isOpen()) return;
  RegistryKey key = section.subKey(section.storedSubKeyName(name));
  const Chart3DAppearance& a = m_look;
  for (const DwordValue& v : kDwordValues)
    key.writeDword(QString::fromLatin1(v.name), v.number ? a.*v.number : static_cast<int32_t>(a.*v.colour));
  for (size_t i = 0; i < 3; ++i) {
    key.writeDword(axisValue("AG_Pattern", i), a.grid[i].pattern);
    key.writeDword(axisValue("AG_Width", i), a.grid[i].width);
    key.writeDword(axisValue("AG_Color", i), static_cast<int32_t>(a.grid[i].colour));
  }
  key.writeDword(QStringLiteral("LT_TitleSize"), static_cast<int>(a.legendTitle.toUtf8().size()) + 1);
  key.writeText(QStringLiteral("LT_Text"), a.legendTitle);
}

void C3DChartProperty::capture(const CChart3D& chart) {
  m_look = chart.appearance();
}

void C3DChartProperty::apply(CChart3D& chart) const {
  chart.setBatch(true);
  chart.setAppearance(m_look);
  chart.setBatch(false);
}

void C3DChartProperty::applyDefaults(CChart3D& chart) {
  chart.setBatch(true);
  chart.setAppearance(Chart3DAppearance::defaults());
  chart.setBatch(false);
}

AppearanceFields C3DChartProperty::fields() {
  using Kind = AppearanceField::Kind;
  const auto t = [](int id) { return Strings::LoadString(id); };
  const auto items = [&](int id) { return t(id).split(QLatin1Char('\n')); };
  // The pages edit colours as int values; an int and a uint32 of the same
  // size may alias.
  const auto colour = [](std::uint32_t& c) { return reinterpret_cast<int*>(&c); };
  Chart3DAppearance& a = m_look;
  const QString border = t(Strings::IDS_CHART3D_PAGE_BORDER);
  const QString colours = t(Strings::IDS_CHART3D_PAGE_COLOURS);
  const QString grid = t(Strings::IDS_CHART3D_PAGE_GRID);
  const QString legend = t(Strings::IDS_CHART3D_PAGE_LEGEND);
  AppearanceFields f;
  f.append({border, t(Strings::IDS_CHART3D_BORDER_TYPE), Kind::Choice, &a.borderType, nullptr,
            items(Strings::IDS_CHART3D_BORDER_TYPES)});
  f.append({border, t(Strings::IDS_CHART3D_BORDER_WIDTH), Kind::Number, &a.borderWidth, nullptr, {}, 0, 20});
  f.append({colours, t(Strings::IDS_CHART3D_INTERIOR_BACK), Kind::Colour, colour(a.interiorBackground)});
  f.append({colours, t(Strings::IDS_CHART3D_INTERIOR_FORE), Kind::Colour, colour(a.interiorForeground)});
  f.append({colours, t(Strings::IDS_CHART3D_AREA_BACK), Kind::Colour, colour(a.chartAreaBackground)});
  f.append({colours, t(Strings::IDS_CHART3D_AREA_FORE), Kind::Colour, colour(a.chartAreaForeground)});
  f.append({colours, t(Strings::IDS_CHART3D_CUBE_BACK), Kind::Colour, colour(a.plotCubeBackground)});
  for (size_t i = 0; i < 3; ++i) {
    const QString axis = QString::fromLatin1(kAxisNames[i]);
    f.append({grid, t(Strings::IDS_CHART3D_GRID_PATTERN).arg(axis), Kind::Choice, &a.grid[i].pattern, nullptr,
              items(Strings::IDS_CHART3D_GRID_PATTERNS)});
    f.append({grid,
              t(Strings::IDS_CHART3D_GRID_WIDTH).arg(axis),
              Kind::Number,
              &a.grid[i].width,
              nullptr,
              {},
              0,
              10});
    f.append({grid, t(Strings::IDS_CHART3D_GRID_COLOUR).arg(axis), Kind::Colour, colour(a.grid[i].colour)});
  }
  f.append({legend, t(Strings::IDS_CHART3D_LEGEND_SHOWN), Kind::Flag, &a.legendShown});
  f.append({legend, t(Strings::IDS_CHART3D_LEGEND_ANCHOR), Kind::Choice, &a.legendAnchor, nullptr,
            items(Strings::IDS_CHART3D_LEGEND_ANCHORS)});
  f.append({legend, t(Strings::IDS_CHART3D_LEGEND_ORIENTATION), Kind::Choice, &a.legendOrientation, nullptr,
            items(Strings::IDS_CHART3D_LEGEND_ORIENTATIONS)});
  f.append({legend, t(Strings::IDS_CHART3D_LEGEND_TITLE), Kind::Text, nullptr, &a.legendTitle});
  return f;
}
