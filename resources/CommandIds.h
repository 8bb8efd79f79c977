#pragma once

#include <span>

#include "resources/Strings.h"

// Command ids of the menus and accelerators. The numbers are the program's
// resource ids; launchers post 32777 to start a report, so they must not change.
namespace CommandIds {

// &Graph
constexpr int ID_GRAPH_NEW = 32777;     // "New...\tCtrl+N", Ctrl+N; automation launches post it too
constexpr int ID_GRAPH_EXPORT = 32772;  // "&Export..."
constexpr int ID_GRAPH_COPY = 32799;    // "&Copy\tCtrl + C", Ctrl+C; chart image to the clipboard
// Our own: the chart with its header as PNG, SVG or PDF.
constexpr int ID_GRAPH_SAVE_IMAGE = 32812;    // "Save Chart &Image..."
constexpr int ID_FILE_PAGE_SETUP = 57605;     // "Page Set&up..."
constexpr int ID_FILE_PRINT = 57607;          // "&Print...\tCtrl+P", Ctrl+P
constexpr int ID_FILE_PRINT_PREVIEW = 57609;  // "Print Pre&view"
constexpr int ID_APP_EXIT = 57665;            // "E&xit"
// Our own: the report set against an earlier period of itself.
constexpr int ID_GRAPH_COMPARE_WITH = 33010;       // "Compa&re With..."
constexpr int ID_GRAPH_CLEAR_COMPARISON = 33011;   // "C&lear Comparison"
constexpr int ID_GRAPH_EXPORT_COMPARISON = 33012;  // "Export Co&mparison..."

// &View
constexpr int ID_VIEW_ZOOM_IN = 32792;            // "&Increase Zoom", Ctrl+I; 3D only
constexpr int ID_VIEW_ZOOM_OUT = 32794;           // "&Decrease Zoom", Ctrl+D; 3D only
constexpr int ID_VIEW_ZOOM_RESET = 32780;         // "&Reset Zoom", Ctrl+R; 3D only
constexpr int ID_VIEW_ROTATE_UP = 32796;          // "Rotate &Up", Alt+Up
constexpr int ID_VIEW_ROTATE_DOWN = 32782;        // "Rotate Do&wn", Alt+Down
constexpr int ID_VIEW_ROTATE_RIGHT = 32783;       // "Rotate &Right", Alt+Right
constexpr int ID_VIEW_ROTATE_LEFT = 32784;        // "Rotate &Left", Alt+Left
constexpr int ID_VIEW_RESET_ORIENTATION = 32785;  // "Reset &Orientation"
// A higher reference level moves the traces down on screen, hence Ctrl+Down for
// raising it and Ctrl+Up for lowering it.
constexpr int ID_VIEW_REF_LEVEL_UP = 32773;    // "I&ncrease  Ref Level", Ctrl+Down
constexpr int ID_VIEW_REF_LEVEL_DOWN = 32771;  // "De&crease Ref Level", Ctrl+Up
constexpr int ID_VIEW_AUTO_REFERENCE = 32809;  // "&Auto Reference"
constexpr int ID_VIEW_PROPERTIES = 32795;      // "&Properties", Alt+Enter
// Number of our own: this command never had one, and the gap between its neighbours is free.
constexpr int ID_VIEW_RESET_CHART_PROPERTIES = 32810;  // "&Reset Chart Properties"
// Our own: the ribbon reports drawn flat as a colour map; placed after the
// T&hresholds submenu.
constexpr int ID_VIEW_HEAT_MAP = 32843;  // "&Heat Map"
// Our own: a report that ends now keeps itself current; after Heat Map.
constexpr int ID_VIEW_FOLLOW_LIVE = 33000;  // "&Follow Live"

// &View > T&hresholds (handled by the Time Window Summary report). The four
// "Threshold &n" items here and under &Marker take the port's threshold names.
constexpr int ID_THRESHOLDS_DISPLAY = 32800;   // "&Display"
constexpr int ID_THRESHOLDS_ALL = 32801;       // "&All"
constexpr int ID_THRESHOLDS_1 = 32802;         // "Threshold &1"
constexpr int ID_THRESHOLDS_2 = 32803;         // "Threshold &2"
constexpr int ID_THRESHOLDS_3 = 32804;         // "Threshold &3"
constexpr int ID_THRESHOLDS_4 = 32805;         // "Threshold &4"
constexpr int ID_THRESHOLDS_INTERVAL = 32806;  // "&Interval Threshold"

// &Marker (2D reports); the trace commands select traces 0 to 6 in this order.
constexpr int ID_MARKER_AVERAGE = 32786;      // "&Average Trace"
constexpr int ID_MARKER_MAXIMUM = 32787;      // "&Maximum Trace"
constexpr int ID_MARKER_MINIMUM = 32788;      // "M&inimum Trace"
constexpr int ID_MARKER_THRESHOLD_1 = 32789;  // "Threshold &1"
constexpr int ID_MARKER_THRESHOLD_2 = 32790;  // "Threshold &2"
constexpr int ID_MARKER_THRESHOLD_3 = 32791;  // "Threshold &3"
constexpr int ID_MARKER_THRESHOLD_4 = 32793;  // "Threshold &4" (32792 is zoom in)
constexpr int ID_MARKER_CENTER = 32797;       // "&Center Marker"
constexpr int ID_MARKER_DELTA = 32811;        // "&Delta"
// Our own: peak search for the active marker.
constexpr int ID_MARKER_TO_PEAK = 32840;          // "Marker to &Peak", Ctrl+K
constexpr int ID_MARKER_NEXT_PEAK_LEFT = 32841;   // "Next Peak &Left", Ctrl+Shift+Left
constexpr int ID_MARKER_NEXT_PEAK_RIGHT = 32842;  // "Next Peak Ri&ght", Ctrl+Shift+Right

// &Help
constexpr int ID_HELP_QUILLON = 32774;  // "Orlane Quillon &Help"
constexpr int ID_APP_ABOUT = 57664;     // "&About Quillon..."
// Standard help commands; context help opens at the topic of the report on
// show, every other one at the start, like ID_HELP_QUILLON.
constexpr int ID_HELP_INDEX = 57666;
constexpr int ID_HELP_FINDER = 57667;
constexpr int ID_CONTEXT_HELP = 57669;  // help for the control under the pointer
constexpr int ID_HELP = 57670;          // also the Help button of the graph property dialog
constexpr int ID_DEFAULT_HELP = 57671;

inline constexpr int kHelpAliases[] = {ID_HELP_INDEX, ID_HELP_FINDER, ID_CONTEXT_HELP, ID_HELP,
                                       ID_DEFAULT_HELP};

// How a menu item is shown.
enum CommandFlag : unsigned {
  kCheckable = 1,
  kSeparatorBefore = 2,
  kBelowSubmenu = 4,  // after the menu's submenu, where our own items follow the described ones
};

// One menu item: its command, its text in the string table, its key sequence in
// QKeySequence's portable form ("" for none) and its flags. A text may show its
// key after a tab.
struct CommandInfo {
  int id;
  int textId;
  const char* shortcut;
  unsigned flags = 0;
};

inline constexpr CommandInfo kGraphMenu[] = {
    {ID_GRAPH_NEW, Strings::IDS_MENU_NEW, "Ctrl+N"},
    {ID_GRAPH_EXPORT, Strings::IDS_MENU_EXPORT, ""},
    {ID_GRAPH_COPY, Strings::IDS_MENU_COPY, "Ctrl+C"},
    {ID_GRAPH_SAVE_IMAGE, Strings::IDS_MENU_SAVE_CHART_IMAGE, ""},
    {ID_FILE_PAGE_SETUP, Strings::IDS_MENU_PAGE_SETUP, "", kSeparatorBefore},
    {ID_FILE_PRINT_PREVIEW, Strings::IDS_MENU_PRINT_PREVIEW, ""},
    {ID_FILE_PRINT, Strings::IDS_MENU_PRINT, "Ctrl+P"},
    {ID_APP_EXIT, Strings::IDS_MENU_EXIT, "", kSeparatorBefore},
    {ID_GRAPH_COMPARE_WITH, Strings::IDS_MENU_COMPARE_WITH, "", kSeparatorBefore},
    {ID_GRAPH_CLEAR_COMPARISON, Strings::IDS_MENU_CLEAR_COMPARISON, ""},
    {ID_GRAPH_EXPORT_COMPARISON, Strings::IDS_MENU_EXPORT_COMPARISON, ""},
};

inline constexpr CommandInfo kViewMenu[] = {
    {ID_VIEW_ZOOM_IN, Strings::IDS_MENU_ZOOM_IN, "Ctrl+I"},
    {ID_VIEW_ZOOM_OUT, Strings::IDS_MENU_ZOOM_OUT, "Ctrl+D"},
    {ID_VIEW_ZOOM_RESET, Strings::IDS_MENU_ZOOM_RESET, "Ctrl+R"},
    {ID_VIEW_REF_LEVEL_UP, Strings::IDS_MENU_REF_LEVEL_UP, "Ctrl+Down", kSeparatorBefore},
    {ID_VIEW_REF_LEVEL_DOWN, Strings::IDS_MENU_REF_LEVEL_DOWN, "Ctrl+Up"},
    {ID_VIEW_AUTO_REFERENCE, Strings::IDS_MENU_AUTO_REFERENCE, ""},
    {ID_VIEW_ROTATE_UP, Strings::IDS_MENU_ROTATE_UP, "Alt+Up", kSeparatorBefore},
    {ID_VIEW_ROTATE_DOWN, Strings::IDS_MENU_ROTATE_DOWN, "Alt+Down"},
    {ID_VIEW_ROTATE_RIGHT, Strings::IDS_MENU_ROTATE_RIGHT, "Alt+Right"},
    {ID_VIEW_ROTATE_LEFT, Strings::IDS_MENU_ROTATE_LEFT, "Alt+Left"},
    {ID_VIEW_RESET_ORIENTATION, Strings::IDS_MENU_RESET_ORIENTATION, ""},
    {ID_VIEW_PROPERTIES, Strings::IDS_MENU_PROPERTIES, "Alt+Return", kSeparatorBefore},
    {ID_VIEW_RESET_CHART_PROPERTIES, Strings::IDS_MENU_RESET_CHART_PROPERTIES, ""},
    {ID_VIEW_HEAT_MAP, Strings::IDS_MENU_HEAT_MAP, "", kCheckable | kBelowSubmenu},
    {ID_VIEW_FOLLOW_LIVE, Strings::IDS_MENU_FOLLOW_LIVE, "", kCheckable | kBelowSubmenu},
};

inline constexpr CommandInfo kThresholdsMenu[] = {
    {ID_THRESHOLDS_DISPLAY, Strings::IDS_MENU_THRESHOLDS_DISPLAY, "", kCheckable},
    {ID_THRESHOLDS_ALL, Strings::IDS_MENU_THRESHOLDS_ALL, ""},
    {ID_THRESHOLDS_1, Strings::IDS_MENU_THRESHOLD_1, "", kCheckable | kSeparatorBefore},
    {ID_THRESHOLDS_2, Strings::IDS_MENU_THRESHOLD_2, "", kCheckable},
    {ID_THRESHOLDS_3, Strings::IDS_MENU_THRESHOLD_3, "", kCheckable},
    {ID_THRESHOLDS_4, Strings::IDS_MENU_THRESHOLD_4, "", kCheckable},
    {ID_THRESHOLDS_INTERVAL, Strings::IDS_MENU_INTERVAL_THRESHOLD, "", kCheckable},
};

inline constexpr CommandInfo kMarkerMenu[] = {
    {ID_MARKER_AVERAGE, Strings::IDS_MENU_AVERAGE_TRACE, "", kCheckable},
    {ID_MARKER_MAXIMUM, Strings::IDS_MENU_MAXIMUM_TRACE, "", kCheckable},
    {ID_MARKER_MINIMUM, Strings::IDS_MENU_MINIMUM_TRACE, "", kCheckable},
    {ID_MARKER_THRESHOLD_1, Strings::IDS_MENU_THRESHOLD_1, "", kCheckable | kSeparatorBefore},
    {ID_MARKER_THRESHOLD_2, Strings::IDS_MENU_THRESHOLD_2, "", kCheckable},
    {ID_MARKER_THRESHOLD_3, Strings::IDS_MENU_THRESHOLD_3, "", kCheckable},
    {ID_MARKER_THRESHOLD_4, Strings::IDS_MENU_THRESHOLD_4, "", kCheckable},
    {ID_MARKER_CENTER, Strings::IDS_MENU_CENTER_MARKER, "", kSeparatorBefore},
    {ID_MARKER_DELTA, Strings::IDS_MENU_DELTA, "", kCheckable},
    {ID_MARKER_TO_PEAK, Strings::IDS_MENU_MARKER_TO_PEAK, "Ctrl+K", kSeparatorBefore},
    {ID_MARKER_NEXT_PEAK_LEFT, Strings::IDS_MENU_NEXT_PEAK_LEFT, "Ctrl+Shift+Left"},
    {ID_MARKER_NEXT_PEAK_RIGHT, Strings::IDS_MENU_NEXT_PEAK_RIGHT, "Ctrl+Shift+Right"},
};

inline constexpr CommandInfo kHelpMenu[] = {
    {ID_HELP_QUILLON, Strings::IDS_MENU_HELP_TOPICS, ""},
    {ID_APP_ABOUT, Strings::IDS_MENU_ABOUT, "", kSeparatorBefore},
};

// The status bar text a command shows while its menu item is highlighted.
struct StatusText {
  int id;
  int textId;
};

inline constexpr StatusText kStatusTexts[] = {
    {ID_VIEW_PROPERTIES, Strings::IDS_MENU_PROPERTIES_TIP},
    {ID_VIEW_FOLLOW_LIVE, Strings::IDS_FOLLOW_TIP},
};

struct MenuInfo {
  int titleTextId;
  std::span<const CommandInfo> items;
};

// Menu bar order. T&hresholds is a submenu placed at the end of &View.
inline constexpr MenuInfo kMenus[] = {
    {Strings::IDS_MENU_GRAPH, kGraphMenu},
    {Strings::IDS_MENU_VIEW, kViewMenu},
    {Strings::IDS_MENU_THRESHOLDS, kThresholdsMenu},
    {Strings::IDS_MENU_MARKER, kMarkerMenu},
    {Strings::IDS_MENU_HELP, kHelpMenu},
};

}  // namespace CommandIds
