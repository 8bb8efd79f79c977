#include "resources/Strings.h"

#include <algorithm>
#include <iterator>

namespace Strings {
namespace {

struct Entry {
  int id;
  const char16_t* text;
};

// Sorted by id: a lookup is a binary search over static data, with no start-up work.
constexpr Entry kTable[] = {
    {IDS_DOC_TEMPLATE, u"QuillonView\n\nQuillon\n\n\nQuillonView.Document\nQuillon Document"},
    {IDS_UI_NO_TOKEN, u"You must supply a valid security token."},
    {IDS_UI_PERMISSION_UNKNOWN, u"Permission check failed. Unknown error"},
    {IDS_UI_FACILITY_ITF_TEXT,
     u"This is a FACILITY_ITF error that is specific to the interface that returned this error. "
     u"See the documentation of the interface that returned this error for information about this "
     u"HRESULT."},
    {IDS_UI_FACILITY_CONTROL_TEXT,
     u"This is a FACILITY_CONTROL error that is specific to the control's interface that returned "
     u"this error. See the documentation of the interface that returned this error for "
     u"information about this HRESULT."},
    {IDS_UI_UNKNOWN_FACILITY, u"Unknown or new FACILITY code"},
    {IDS_UI_UNKNOWN_ERROR_NAME, u"Unknown or new error"},
    {IDS_UI_OK, u"OK"},
    {IDS_UI_CANCEL, u"Cancel"},
    {IDS_UI_HELP, u"Help"},
    {IDS_UI_PLEASE_WAIT, u"Please wait..."},
    {IDS_UI_TITLE_PREFIX, u"Quillon - "},
    {IDS_UI_NEW_GRAPH_TITLE, u"New Graph"},
    {IDS_UI_GRAPH_TYPE_LABEL, u"Graph type:"},
    {IDS_UI_START_LABEL, u"Start:"},
    {IDS_UI_END_LABEL, u"End:"},
    {IDS_UI_STATISTICS_GROUP, u"Statistics"},
    {IDS_UI_UP_TO_THE_SECOND, u"Up to the Second"},
    {IDS_UI_AVERAGE, u"Average"},
    {IDS_UI_MAXIMUM, u"Maximum"},
    {IDS_UI_MINIMUM, u"Minimum"},
    {IDS_UI_TYPE_TIME_WINDOW_SUMMARY, u"Time Window Summary"},
    {IDS_UI_TYPE_ONE_FREQ_TIME_WINDOW, u"One Freq. Time Window"},
    {IDS_UI_TYPE_TIME_WINDOW_DETAIL, u"Time Window Detail"},
    {IDS_UI_TYPE_24_HOUR, u"24 Hour"},
    {IDS_UI_TYPE_MULTI_DAY, u"Multi-Day"},
    {IDS_UI_TYPE_MULTI_DAY_TIME_WINDOW, u"Multi-Day Time Window"},
    {IDS_UI_INCREMENT_15_MIN, u"15 Min"},
    {IDS_UI_INCREMENT_1_HOUR, u"1 Hour"},
    {IDS_UI_INCREMENT_1_DAY, u"1 Day"},
    {IDS_UI_MHZ, u"MHz"},
    {IDS_UI_PROPS_2D_TITLE, u"2D Graph Properties"},
    {IDS_UI_PROPS_3D_TITLE, u"3D Graph Properties"},
    {IDS_UI_FREQUENCIES_GROUP, u"Frequencies"},
    {IDS_UI_AMPLITUDE_GROUP, u"Amplitude"},
    {IDS_UI_EXCEEDING_THRESHOLD_GROUP, u"% Exceeding Threshold"},
    {IDS_UI_START_FREQUENCY_LABEL, u"&Start Frequency (MHz):"},
    {IDS_UI_STOP_FREQUENCY_LABEL, u"St&op Frequency (MHz):"},
    {IDS_UI_SINGLE_FREQUENCY_LABEL, u"&Single Frequency (MHz):"},
    {IDS_UI_RANGE_DB_LABEL, u"Range (dB):"},
    {IDS_UI_RANGE_PERCENT_LABEL, u"Range (%):"},
    {IDS_UI_SCALE_LABEL, u"Scale (dB/Div):"},
    {IDS_UI_REF_STEP_TEMPLATE_LABEL, u"&Ref. Level Step (dB):"},
    {IDS_UI_REF_STEP_DB_LABEL, u"Ref Level Step (dB):"},
    {IDS_UI_REF_STEP_PERCENT_LABEL, u"Ref Level Step (%):"},
    {IDS_UI_STEP_10, u"10"},
    {IDS_UI_STEP_5, u"5"},
    {IDS_UI_STEP_2, u"2"},
    {IDS_UI_START_FREQ_OUT_OF_RANGE, u"Start frequency is out of range."},
    {IDS_UI_STOP_FREQ_OUT_OF_RANGE, u"Stop frequency is out of range."},
    {IDS_UI_STOP_NOT_ABOVE_START, u"Stop frequency must be greater than start frequency."},
    {IDS_UI_UNIT_DBMV, u"dBmV"},
    {IDS_UI_UNIT_DBM, u"dBm"},
    {IDS_UI_UNIT_DBUV, u"dBuV"},
    {IDS_UI_UNIT_PERCENT, u"%"},
    {IDS_UI_RANGE_SEPARATOR, u" - "},
    {IDS_UI_MARKER_PREFIX, u"Marker: "},
    {IDS_UI_UNAVAILABLE, u"Unavailable"},
    {IDS_UI_MP_VERSION, u"MP Ver:"},
    {IDS_UI_CSV_UID, u"UID: "},
    {IDS_UI_HDR_PLAN_REV, u"Monitoring Plan Rev:"},
    {IDS_UI_HDR_MAX_INPUT, u"Max Input Level:"},
    {IDS_UI_HDR_LEVEL_UNITS, u"Level Units:"},
    {IDS_UI_HDR_TIME, u"Time:"},
    {IDS_UI_HDR_LOCATION, u"Physical Location"},
    {IDS_UI_HDR_ID_NUMBER, u"ID Number:"},
    {IDS_UI_HDR_SLOT, u"Slot"},
    {IDS_UI_HDR_PORT, u"Port"},
    {IDS_UI_HDR_SCAN_SUMMARY, u"Each scan summarizes"},
    {IDS_UI_HDR_DATE, u"Date:"},
    {IDS_UI_HDR_START, u"Start date, time:"},
    {IDS_UI_HDR_END, u"End date, time:"},
    {IDS_UI_TIME_WINDOW_GROUP, u"Time window"},
    {IDS_UI_DATE, u"date"},
    {IDS_UI_TIME, u"time"},
    {IDS_UI_PROGRESS_BLOCK, u"Block %1 of %2"},
    {IDS_UI_PROGRESS_STATISTIC, u"Statistic %1 of %2"},
    {IDS_UI_FETCHED_RIBBONS, u"Fetched: %1 ribbons of %2 frequencies."},
    {IDS_UI_FETCHED_SERIES, u"Fetched: %1 statistics of %2 points."},
    {IDS_UI_EXPORT_WRITE_FAILED, u"Could not write file %1: %2"},
    {IDS_UI_EXPORT_TITLE, u"Export"},
    {IDS_UI_WRITE_INCOMPLETE, u"the data could not be written completely"},
    {IDS_UI_PAGE_SETUP_TITLE, u"Page Setup"},
    {IDS_UI_REPORT_TEXT_LABEL, u"&Report text:"},
    {IDS_UI_REPORT_TEXT_HINT, u"Printed at the top of every report page, before the port's label."},
    {IDS_UI_PRINTED_ON, u"Printed %1"},
    {IDS_UI_HELP_TITLE, u"Quillon Help"},
    {IDS_UI_HELP_NOT_FOUND, u"The help file could not be found. Quillon looked for it here:"},
    {IDS_UI_HELP_BACK, u"&Back"},
    {IDS_UI_HELP_FORWARD, u"&Forward"},
    {IDS_UI_HELP_CONTENTS, u"&Contents"},
    {IDS_UI_ABOUT_TITLE, u"About Quillon"},
    {IDS_UI_ABOUT_VERSION, u"Version %1"},
    {IDS_UI_ABOUT_BUILT, u"Built %1"},
    {IDS_UI_ABOUT_TEXT,
     u"Reports the history of one test port of the Nembra monitoring system: signal levels "
     u"across frequency and time, and the share of time spent beyond each threshold."},
    {IDS_UI_PRINT_FAILED, u"The report could not be printed to %1."},
    {IDS_UI_USAGE_INTRO,
     u"Quillon draws reports of the measurements of one Nembra monitoring port.\n"
     u"\n"
     u"Usage: quillon [/KEY:VALUE ...] [/SWITCH ...]\n"
     u"  or:  quillon --launch METHOD key=value ...\n"},
    {IDS_UI_USAGE_KEYS,
     u"Launch parameters, written /KEY:VALUE or -KEY:VALUE (a bare KEY:VALUE works too).\n"
     u"Keys are case-sensitive capitals; the value is everything after the first colon.\n"
     u"  IP:host          server host, name or name:port (none: this machine)\n"
     u"  TOKEN:n          security token (a launch without it is refused)\n"
     u"  LABEL:text       the port's label\n"
     u"  NODE:n           the port's node number (default 0)\n"
     u"  TIMESTART:s      start of the request, seconds since 1970-01-01 00:00 UTC\n"
     u"  TIMESTOP:s       end of the request, seconds since 1970-01-01 00:00 UTC\n"
     u"  QUERY:n          report type: 0 Time Window Summary, 1 One Freq. Time Window,\n"
     u"                   2 Time Window Detail, 3 24 Hour, 4 Multi-Day,\n"
     u"                   5 Multi-Day Time Window\n"
     u"  UPTOTHESEC:n     \"Up to the Second\": 0 off, any other number on\n"
     u"  SFTWFREQ:f       single frequency in MHz\n"
     u"  STAT:mask        statistics, the sum of: 1 Average, 2 Maximum, 4 Minimum,\n"
     u"                   8, 16, 32, 64 % time beyond threshold 1, 2, 3, 4\n"
     u"  INC:n            increment: 0 15 Min, 1 1 Hour, 2 1 Day\n"
     u"Numbers are read from the start of the value: text that is not a number counts\n"
     u"as 0, and TOKEN:12:34 gives 12. Other keys are ignored. When the last parameter\n"
     u"carries a colon, Quillon connects at once and opens the New Graph dialog filled\n"
     u"in with the values given.\n"},
    {IDS_UI_USAGE_SWITCHES,
     u"Switches, written with /, - or -- in any letter case:\n"
     u"  Regserver                 register Quillon as an automation server and end\n"
     u"  Unregserver, Unregister   remove that registration and end\n"
     u"  Automation, Embedding     started by an automation caller: Quillon waits for\n"
     u"                            a method call before it shows a report\n"
     u"  help, h, ?                show this text\n"
     u"  version                   print the name and version\n"},
    {IDS_UI_USAGE_LAUNCH,
     u"Launcher mode starts Quillon and calls one of its automation methods:\n"
     u"  LaunchORB                      node= host= token= [class=] [label=] [units=]\n"
     u"  LaunchWithDates                as LaunchORB, plus start= [end=]\n"
     u"  LaunchORBWithThreshNames       as LaunchORB, plus names=a,b,c,d\n"
     u"  LaunchWithDatesAndThreshNames  as LaunchWithDates, plus names=a,b,c,d\n"
     u"  SetFreqRange                   low= high= (MHz)\n"
     u"class= is the server's data class id, {E1E1F603-5464-11D1-B74D-00A0C909E2DC} when\n"
     u"left out. units= is the level unit: 0 dBmV (default), 1 dBm, 2 dBuV. start= and\n"
     u"end= are UTC times in ISO 8601 (2026-11-30T12:00:00Z) or seconds since 1970; the\n"
     u"end defaults to the start. names= gives the four threshold names.\n"
     u"\n"
     u"  quillon --launch LaunchORB node=3 class={E1E1F603-5464-11D1-B74D-00A0C909E2DC} "
     u"host=127.0.0.1 token=1001 label=\"Port 3\" units=0\n"
     u"\n"
     u"  quillon --launch LaunchWithDates node=3 host=127.0.0.1 token=1001 "
     u"start=2026-11-30T12:00:00Z end=2026-11-30T18:00:00Z\n"
     u"\n"
     u"  quillon --launch LaunchORBWithThreshNames node=3 host=127.0.0.1 token=1001 "
     u"names=High,Warn,Low,Floor\n"
     u"\n"
     u"  quillon --launch SetFreqRange low=5.0 high=42.0\n"},
    {IDS_UI_USAGE_EXAMPLE,
     u"Example, as a Nembra launcher starts Quillon on a port:\n"
     u"  quillon /IP:127.0.0.1 /TOKEN:1001 /NODE:3 \"/LABEL:Port 3\" /QUERY:0\n"},
    {IDS_UI_LAUNCH_NO_METHOD,
     u"--launch needs a method: LaunchORB, LaunchWithDates, LaunchORBWithThreshNames, "
     u"LaunchWithDatesAndThreshNames or SetFreqRange."},
    {IDS_UI_LAUNCH_UNKNOWN_METHOD,
     u"Unknown method \"%1\". The methods are LaunchORB, LaunchWithDates, "
     u"LaunchORBWithThreshNames, LaunchWithDatesAndThreshNames and SetFreqRange."},
    {IDS_UI_LAUNCH_NOT_KEY_VALUE, u"\"%1\" is not a key=value argument."},
    {IDS_UI_LAUNCH_UNKNOWN_KEY, u"%1 takes no argument \"%2\". It takes: %3."},
    {IDS_UI_LAUNCH_DUPLICATE_KEY, u"The argument %1= is given twice."},
    {IDS_UI_LAUNCH_MISSING_KEY, u"%1 needs the argument %2=."},
    {IDS_UI_LAUNCH_BAD_NUMBER, u"%1=%2 is not a valid number."},
    {IDS_UI_LAUNCH_BAD_DATE,
     u"%1=%2 is not a date: give a UTC time in ISO 8601 (2026-11-30T12:00:00Z) or seconds "
     u"since 1970."},
    {IDS_UI_AUTOMATION_NO_SESSION_BUS, u"Automation is not available: there is no D-Bus session bus (%1)."},
    {IDS_UI_AUTOMATION_PATH_IN_USE,
     u"Automation is not available: the object path %1 is already in use in this program."},
    {IDS_UI_AUTOMATION_NAME_FAILED,
     u"Automation is not available: the bus name %1 could not be registered (%2)."},
    {IDS_UI_AUTOMATION_NAME_OWNED, u"another program owns it"},
    {IDS_UI_AUTOMATION_CALL_FAILED, u"The call %1 to %2 failed: %3 (%4)"},
    {IDS_UI_REGISTERED, u"Quillon is registered for launchers: %1 was written."},
    {IDS_UI_REGISTER_FAILED, u"Quillon could not be registered: %1 cannot be written (%2)."},
    {IDS_UI_UNREGISTERED, u"Quillon is no longer registered: %1 was removed."},
    {IDS_UI_NOT_REGISTERED, u"Quillon was not registered: %1 does not exist."},
    {IDS_UI_UNREGISTER_FAILED, u"Quillon could not be unregistered: %1 cannot be removed (%2)."},
    {IDS_UI_DESKTOP_COMMENT, u"Reports on one Nembra test port, started by the Nembra client programs"},
    {IDS_UI_AUTOMATION_BUSY, u"A report is being fetched. Try again when it has arrived."},
    {IDS_UI_IMAGE_TITLE, u"Save Chart Image"},
    {IDS_UI_IMAGE_FILTER,
     u"PNG Image (*.png) | *.png | SVG Drawing (*.svg) | *.svg | PDF Document (*.pdf) | *.pdf ||"},
    {IDS_UI_IMAGE_UNKNOWN_TYPE, u"the name must end in .png, .svg or .pdf"},
    {IDS_UI_APPEARANCE_TITLE, u"Chart Properties"},
    {IDS_MENU_GRAPH, u"&Graph"},
    {IDS_MENU_VIEW, u"&View"},
    {IDS_MENU_THRESHOLDS, u"T&hresholds"},
    {IDS_MENU_MARKER, u"&Marker"},
    {IDS_MENU_HELP, u"&Help"},
    {IDS_MENU_NEW, u"New...\tCtrl+N"},
    {IDS_MENU_EXPORT, u"&Export..."},
    {IDS_MENU_COPY, u"&Copy\tCtrl + C"},
    {IDS_MENU_PAGE_SETUP, u"Page Set&up..."},
    {IDS_MENU_PRINT_PREVIEW, u"Print Pre&view"},
    {IDS_MENU_PRINT, u"&Print...\tCtrl+P"},
    {IDS_MENU_EXIT, u"E&xit"},
    {IDS_MENU_HELP_TOPICS, u"Orlane Quillon &Help"},
    {IDS_MENU_ABOUT, u"&About Quillon..."},
    {IDS_MENU_ZOOM_IN, u"&Increase Zoom"},
    {IDS_MENU_ZOOM_OUT, u"&Decrease Zoom"},
    {IDS_MENU_ZOOM_RESET, u"&Reset Zoom"},
    {IDS_MENU_ROTATE_UP, u"Rotate &Up"},
    {IDS_MENU_ROTATE_DOWN, u"Rotate Do&wn"},
    {IDS_MENU_ROTATE_RIGHT, u"Rotate &Right"},
    {IDS_MENU_ROTATE_LEFT, u"Rotate &Left"},
    {IDS_MENU_RESET_ORIENTATION, u"Reset &Orientation"},
    // two blanks kept verbatim
    {IDS_MENU_REF_LEVEL_UP, u"I&ncrease  Ref Level"},
    {IDS_MENU_REF_LEVEL_DOWN, u"De&crease Ref Level"},
    {IDS_MENU_AUTO_REFERENCE, u"&Auto Reference"},
    {IDS_MENU_PROPERTIES, u"&Properties"},
    {IDS_MENU_PROPERTIES_TIP, u"Edits the graph's properties"},
    {IDS_MENU_RESET_CHART_PROPERTIES, u"&Reset Chart Properties"},
    {IDS_MENU_THRESHOLDS_DISPLAY, u"&Display"},
    {IDS_MENU_THRESHOLDS_ALL, u"&All"},
    {IDS_MENU_THRESHOLD_1, u"Threshold &1"},
    {IDS_MENU_THRESHOLD_2, u"Threshold &2"},
    {IDS_MENU_THRESHOLD_3, u"Threshold &3"},
    {IDS_MENU_THRESHOLD_4, u"Threshold &4"},
    {IDS_MENU_INTERVAL_THRESHOLD, u"&Interval Threshold"},
    {IDS_MENU_AVERAGE_TRACE, u"&Average Trace"},
    // text not given; chosen to match its use
    {IDS_MENU_MAXIMUM_TRACE, u"&Maximum Trace"},
    // text not given; chosen to match its use
    {IDS_MENU_MINIMUM_TRACE, u"M&inimum Trace"},
    {IDS_MENU_CENTER_MARKER, u"&Center Marker"},
    {IDS_MENU_DELTA, u"&Delta"},
    {IDS_MENU_FOLLOW_LIVE, u"&Follow Live"},
    {IDS_MENU_COMPARE_WITH, u"Compa&re With..."},
    {IDS_MENU_CLEAR_COMPARISON, u"C&lear Comparison"},
    {IDS_MENU_EXPORT_COMPARISON, u"Export Co&mparison..."},
    {IDS_MENU_SAVE_CHART_IMAGE, u"Save Chart &Image..."},
    {IDS_UI_DELTA_PREFIX, u"Delta: "},
    {IDS_UI_CHART_PROPERTIES_MENU, u"Chart Properties..."},
    {IDS_UI_NO_DATA_NOTE, u"No data to draw for this report."},
    {IDS_UI_PAGE_BORDER, u"Border"},
    {IDS_UI_PAGE_INTERIOR, u"Interior"},
    {IDS_UI_PAGE_CHART_AREA, u"Chart Area"},
    {IDS_UI_PAGE_PLOT_AREA, u"Plot Area"},
    {IDS_UI_PAGE_GRID_LINES, u"Grid Lines"},
    {IDS_UI_FIELD_TYPE, u"Type"},
    {IDS_UI_FIELD_WIDTH, u"Width"},
    {IDS_UI_FIELD_BACKGROUND, u"Background"},
    {IDS_UI_FIELD_FOREGROUND, u"Foreground"},
    {IDS_UI_FIELD_AXIS_PATTERN, u"%1 Pattern"},
    {IDS_UI_FIELD_AXIS_WIDTH, u"%1 Width"},
    {IDS_UI_FIELD_AXIS_COLOUR, u"%1 Colour"},
    {IDS_UI_CHOICES_BORDER, u"None\nPlain\nRaised\nLowered"},
    {IDS_UI_CHOICES_PATTERN, u"None\nSolid\nDash\nDot\nDash Dot\nDash Dot Dot"},
    {IDS_UI_CHOICES_SHAPE,
     u"None\nDot\nBox\nTriangle\nDiamond\nStar\nVertical Bar\nHorizontal Bar\nCross\nCircle\nSquare"},
    {IDS_UI_FIELD_LINE_PATTERN, u"Line Pattern"},
    {IDS_UI_FIELD_LINE_WIDTH, u"Line Width"},
    {IDS_UI_FIELD_LINE_COLOUR, u"Line Colour"},
    {IDS_UI_FIELD_SYMBOL_SHAPE, u"Symbol Shape"},
    {IDS_UI_FIELD_SYMBOL_SIZE, u"Symbol Size"},
    {IDS_UI_FIELD_SYMBOL_COLOUR, u"Symbol Colour"},
    {IDS_UI_SERIES_MARKER_1, u"Marker 1"},
    {IDS_UI_SERIES_MARKER_2, u"Marker 2"},
    {IDS_UI_SERIES_POINTS, u"%1 Points"},
    {IDS_UI_SERIES_LINE_1, u"%1 Line 1"},
    {IDS_UI_SERIES_LINE_2, u"%1 Line 2"},
    {IDS_UI_AXIS_X, u"X Axis"},
    {IDS_UI_AXIS_Y, u"Y Axis"},
    {IDS_UI_SERIES_SLOT, u"Group %1 Series %2"},
    {IDS_UI_ACTIVE_MARKER, u"\u25B6"},
    {IDS_CHART3D_RESET_VIEW, u"Reset &View"},
    {IDS_CHART3D_COPY, u"&Copy"},
    {IDS_CHART3D_NO_DATA, u"No data in this period."},
    {IDS_CHART3D_PROPERTIES, u"Chart &Properties..."},
    {IDS_CHART3D_SAVE_IMAGE, u"&Save Chart Image..."},
    {IDS_CHART3D_ACCESSIBLE, u"Chart %1"},
    {IDS_CHART3D_NO_OPENGL, u"The 3D chart needs OpenGL, which this display does not offer."},
    {IDS_CHART3D_PAGE_BORDER, u"Border"},
    {IDS_CHART3D_PAGE_COLOURS, u"Colours"},
    {IDS_CHART3D_PAGE_GRID, u"Grid Lines"},
    {IDS_CHART3D_PAGE_LEGEND, u"Legend"},
    {IDS_CHART3D_BORDER_TYPE, u"Border type"},
    {IDS_CHART3D_BORDER_TYPES, u"None\nPlain\nRaised\nLowered"},
    {IDS_CHART3D_BORDER_WIDTH, u"Border width"},
    {IDS_CHART3D_INTERIOR_BACK, u"Interior background"},
    {IDS_CHART3D_INTERIOR_FORE, u"Axis texts"},
    {IDS_CHART3D_AREA_BACK, u"Chart area background"},
    {IDS_CHART3D_AREA_FORE, u"Header and legend texts"},
    {IDS_CHART3D_CUBE_BACK, u"Plot cube background"},
    {IDS_CHART3D_GRID_PATTERN, u"%1 axis lines"},
    {IDS_CHART3D_GRID_PATTERNS, u"None\nDotted\nSolid\nDashed"},
    {IDS_CHART3D_GRID_WIDTH, u"%1 axis line width"},
    {IDS_CHART3D_GRID_COLOUR, u"%1 axis line colour"},
    {IDS_CHART3D_LEGEND_SHOWN, u"Show legend"},
    {IDS_CHART3D_LEGEND_ANCHOR, u"Position"},
    {IDS_CHART3D_LEGEND_ANCHORS, u"Top\nRight\nBottom\nLeft"},
    {IDS_CHART3D_LEGEND_ORIENTATION, u"Orientation"},
    {IDS_CHART3D_LEGEND_ORIENTATIONS, u"Horizontal\nVertical"},
    {IDS_CHART3D_LEGEND_TITLE, u"Title"},
    {IDS_MENU_MARKER_TO_PEAK, u"Marker to &Peak"},
    {IDS_MENU_NEXT_PEAK_LEFT, u"Next Peak &Left"},
    {IDS_MENU_NEXT_PEAK_RIGHT, u"Next Peak Ri&ght"},
    {IDS_MENU_HEAT_MAP, u"&Heat Map"},
    {IDS_HEAT_MAP_SECTION, u"Heat Map"},
    {IDS_HEAT_MAP_KEY, u"Shown %1"},
    {IDS_UI_READOUT_VALUE, u"%1: %2"},
    {IDS_UI_HEAT_MAP_ACCESSIBLE, u"%1 heat map"},
    {IDS_UI_HINT_ACCESS_DENIED,
     u"The server refused the user name or password read from %1; write them again with "
     u"\"quillon-setup-identity --config-dir %2 --user NAME\", which asks for the password."},
    {IDS_UI_HINT_UNREACHABLE,
     u"No Nembra server answered at %1; check the address and port the launcher passed (/IP) and "
     u"that the server runs there."},
    {IDS_UI_HINT_IDENTITY_MISSING,
     u"Quillon looked for the keys Extra1 (user) and Extra2 (password) under Client/ServerInfo in %1; "
     u"write them with \"quillon-setup-identity --config-dir %2 --user NAME\"."},
    {IDS_UI_HINT_UNKNOWN_NODE,
     u"The server knows no port with node number %1; check the node the launcher passed (/NODE)."},
    {IDS_FOLLOW_UPDATING, u"Updating..."},
    {IDS_FOLLOW_UPDATED, u"Updated %1"},
    {IDS_FOLLOW_FAILED, u"Update failed at %1: %2 The next update tries again."},
    {IDS_FOLLOW_RECONNECTING, u"Session lost at %1; reconnecting (try %2)..."},
    {IDS_FOLLOW_RECONNECT_FAILED, u"Reconnecting failed at %1: %2 Next try in %3 s."},
    {IDS_FOLLOW_RECONNECTED, u"Reconnected at %1"},
    {IDS_FOLLOW_SECTION, u"Follow Live"},
    {IDS_FOLLOW_INTERVAL_KEY, u"Interval Minutes"},
    {IDS_FOLLOW_ON_KEY, u"On %1"},
    {IDS_FOLLOW_CANCEL_TIP, u"Cancel the update and stop following (Esc)"},
    {IDS_FOLLOW_TIP, u"Keep the report current: fetch the newest scans every interval"},
    {IDS_FOLLOW_FOLLOWING, u"Following live"},
    {IDS_UI_COMPARE_TITLE, u"Compare With an Earlier Period"},
    {IDS_UI_COMPARE_PREVIOUS, u"&Previous period (the same length, ending where this report starts)"},
    {IDS_UI_COMPARE_ONE_DAY, u"&1 day earlier"},
    {IDS_UI_COMPARE_SEVEN_DAYS, u"&7 days earlier"},
    {IDS_UI_COMPARE_CHOSEN, u"&Starting at:"},
    {IDS_UI_COMPARE_NOT_EARLIER,
     u"The earlier period must start before the report's start, %1; choose an earlier start."},
    {IDS_COMPARE_SECTION, u"Compare"},
    {IDS_COMPARE_SHIFT_KEY, u"Shift"},
    {IDS_UI_COMPARE_LEGEND, u"%1, %2"},
    {IDS_UI_COMPARE_DIFFERENCE_DB, u"Difference: %1 dB"},
    {IDS_UI_COMPARE_DIFFERENCE_POINTS, u"Difference: %1 percentage points"},
    {IDS_UI_COMPARE_SCALE_DB, u"Difference (dB)"},
    {IDS_UI_COMPARE_SCALE_POINTS, u"Difference (percentage points)"},
    {IDS_UI_COMPARE_CURRENT, u"Current"},
    {IDS_UI_COMPARE_EARLIER, u"Earlier"},
    {IDS_UI_COMPARE_DIFFERENCE, u"Difference"},
    {IDS_UI_COMPARE_HEADER, u"Compared with %1 - %2"},
    {IDS_UI_COMPARE_FAILED, u"The earlier period could not be fetched; the report stays as it was."},
    {IDS_UI_COMPARE_STATUS, u"Compared with %1"},
    {IDS_UI_COMPARE_PERIOD, u"Period"},
    {IDS_UI_COMPARE_STATISTIC, u"Statistic"},
    {IDS_UI_COMPARE_TIME, u"Time"},
    {IDS_SECURITY_SECTION, u"Security"},
    {IDS_SECURITY_CA_FILE_KEY, u"CaFile"},
    {IDS_UI_CERT_NO_TLS,
     u"Certificate problem: the server at %1 does not answer with TLS, and Quillon sends the user name and "
     u"password to another machine only over TLS; they were not sent (%2)."},
    {IDS_UI_CERT_UNKNOWN_AUTHORITY,
     u"Certificate problem: the certificate of %1 is signed by an unknown authority (%2); the user name and "
     u"password were not sent. Name the authority's certificate (PEM) in %3."},
    {IDS_UI_CERT_WRONG_NAME,
     u"Certificate problem: the certificate of %1 is made out to another name (%2); the user name and "
     u"password "
     u"were not sent."},
    {IDS_UI_CERT_EXPIRED,
     u"Certificate problem: the certificate of %1 has expired or is not yet valid (%2); the user name and "
     u"password were not sent."},
    {IDS_UI_CERT_CA_FILE,
     u"Certificate problem: the CA file %2 named in %3 cannot be read or holds no certificate; nothing was "
     u"sent "
     u"to %1."},
    {IDS_UI_CERT_OTHER,
     u"Certificate problem: the certificate of %1 was refused (%2); the user name and password were not "
     u"sent."},
    {IDS_APP_TITLE, u"Orlane Quillon"},
    {IDS_STAT_AVERAGE, u"Average"},
    {IDS_STAT_MAXIMUM, u"Maximum"},
    {IDS_STAT_MINIMUM, u"Minimum"},
    {IDS_TITLE_FORMAT, u"Quillon - %1"},
    {IDS_VENDOR_KEY, u"Veltrix"},
    {IDS_CSV_SEPARATOR, u","},
    {IDS_LINE_FEED, u"\n"},
    {IDS_NUMBER_FORMAT, u"%g"},
    {IDS_TYPE_TIME_WINDOW_SUMMARY, u"Time Window Summary"},
    {IDS_TYPE_ONE_FREQ_TIME_WINDOW, u"One Freq. Time Window"},
    {IDS_TYPE_TIME_WINDOW_DETAIL, u"Time Window Detail"},
    {IDS_TYPE_24_HOUR, u"24 Hour"},
    {IDS_TYPE_MULTI_DAY, u"Multi Day"},
    {IDS_TYPE_MULTI_DAY_TIME_WINDOW, u"Multi Day Time Window"},
    {IDS_EXPORT_EXTENSION, u"csv"},
    {IDS_EXPORT_FILTER, u"Comma Delimited Format (*.csv) | *.csv ||"},
    {IDS_SETTINGS_SECTION, u"Settings"},
    {IDS_CHART_SETTINGS_SECTION, u"Settings"},
    {IDS_LABEL_INCREMENT, u"Increment:"},
    {IDS_CTX_UNABLE_TO_CONNECT, u"Unable to connect."},
    {IDS_CTX_REQUEST_FAILED, u"Request failed."},
    {IDS_MESSAGE_WITH_CONTEXT, u"%1 %2"},
    {IDS_BLANK, u" "},
    {IDS_LABEL_FREQUENCY, u"Frequency:"},
    {IDS_NO_STATISTIC, u"Please select at least one statistic."},
    {IDS_CTX_READ_DATA_FAILED, u"Read data failed."},
    {IDS_TIME_FORMAT_AMPM, u"hh:mm tt"},
    {IDS_LABEL_INCREMENT_MNEMONIC, u"&Increment:"},
    {IDS_BAR_STATE_KEY, u"QLBar Settings"},
    {IDS_REPORT_TIME_WINDOW_SUMMARY, u"Time Window Summary Report"},
    {IDS_REPORT_ONE_FREQ_TIME_WINDOW, u"One Frequency Time Window Report"},
    {IDS_REPORT_MULTI_DAY_TIME_WINDOW, u"Multi-Day Time Window Report"},
    {IDS_REPORT_TIME_WINDOW_DETAIL, u"Time Window Detail Report"},
    {IDS_REPORT_MULTI_DAY, u"Multi-Day Report"},
    {IDS_REPORT_24_HOUR, u"24 Hour Report"},
    {IDS_DATES_BEYOND_TODAY, u"Dates beyond today's date are not allowed."},
    {IDS_DESC_TIME_WINDOW_SUMMARY,
     u"Time Window Summary Report shows historical performance for a single test port summarized "
     u"over the time window selected."},
    {IDS_DESC_TIME_WINDOW_DETAIL,
     u"Time Window Detail Report shows historical performance for a single test port over the "
     u"time window selected. Each point summarizes data over the time increment selected."},
    {IDS_DESC_MULTI_DAY_TIME_WINDOW,
     u"Multi-Day Time Window Report shows historical performance for a single test port "
     u"summarized for a selected time period within a day and displayed for comparison to the "
     u"same time period over multiple days."},
    {IDS_DESC_ONE_FREQ_TIME_WINDOW,
     u"One Frequency Time Window Summary Report shows historical performance for a single test "
     u"port for a single frequency summarized over the time window selected. Each point on the "
     u"time axis is summarized over the time increment selected."},
    {IDS_DESC_24_HOUR,
     u"24 Hour Report shows historical performance for a single test port summarized by each hour "
     u"of a selected date."},
    {IDS_DESC_MULTI_DAY,
     u"Multi-Day Report shows historical performance for a single test port summarized by day for "
     u"the selected dates."},
    {IDS_TOO_MANY_POINTS,
     u"Your request could result in a complex graph containing more than 500 data points. Please "
     u"specify a shorter period of time and/or a larger increment."},
    // the check allows 97 days; the wording stays as shipped
    {IDS_TOO_MANY_DAYS,
     u"Please specify a period of no more than 25 days. Your request could result in a complex "
     u"graph containing more than 96 ribbons."},
    // the check allows 97 ribbons; the wording stays as shipped
    {IDS_TOO_MANY_RIBBONS,
     u"Please specify a shorter period of time and/or a larger increment. Your request could "
     u"result in a complex graph containing more than 96 ribbons."},
    {IDS_END_BEFORE_START, u"End date must be greater than start date."},
    // text not given; chosen to match its use
    {IDS_STEP_SIZE_VALUE, u"Step Size"},
    {IDS_GENERIC_SERVER_ERROR, u"A message error occurred.\n%1\n\n HRESULT = %2, %3, %4"},
    {IDS_HRESULT_FORMAT, u"%#x"},
    {IDS_ERR_MAX_CONNECTIONS,
     u"The maximum number of connections has been reached.  Please try again later."},
    {IDS_ERR_CONNECTION_DROPPED, u"The connection was dropped."},
    {IDS_ERR_INVALID_UID, u"Invalid UID."},
    {IDS_ERR_UNDESCRIBED, u" "},
    // busy is normally retried away, so it never had a text of its own
    {IDS_ERR_SERVER_BUSY, u" "},
    {IDS_ERR_ELEMENT_DISABLED, u"The network element is disabled."},
    {IDS_ERR_COMMUNICATIONS, u"Communications error."},
    {IDS_INTEGER_FORMAT, u"%d"},
    {IDS_NO_PERMISSION,
     u"You do not have permission to launch Quillon. Please contact your system administrator for "
     u"more information.\n"},
    {IDS_ERR_DATABASE_EXCEPTION, u"Database threw an exception."},
    {IDS_ERR_NO_SNAPSHOT, u"No such snapshot exists."},
    {IDS_ERR_NO_COLLECTION, u"No collection exists."},
    {IDS_ERR_NO_DATABASE, u"No database exists."},
    {IDS_ERR_DATABASE, u"Database error."},
    {IDS_ERR_INVALID_HANDLE, u"Invalid handle."},
    {IDS_ERR_RPC_FAILURE, u"RPC failure."},
    {IDS_ERR_REQUEST_IN_PROCESS, u"There is another request in process."},
    {IDS_ERR_REQUEST_NOT_MADE, u"Request not made."},
    {IDS_ERR_OVERFLOW, u"Overflow."},
    {IDS_ERR_REQUEST_UNAVAILABLE, u"Request unavailable."},
    {IDS_ERR_INVALID_ARGUMENT, u"Invalid argument."},
    {IDS_FREQUENCY_OUT_OF_RANGE, u"The frequency is out of %.1fMHz - %.1fMHz range."},
    {IDS_MDTW_SAME_TIMES, u"For Multi-Day Time Window graphs, start time and end time must be different."},
    {IDS_MDTW_END_TIME_BEFORE_START,
     u"For Multi-Day Time Window graphs, end time must be greater than start time."},
    {IDS_MDTW_SAME_DATE, u"For Multi-Day Time Window graphs, start date must be less than end date."},
    {IDS_EXPORTS_FOLDER, u"Exports\\"},
    {IDS_NO_DATA, u"No data is available for the time period specified."},
    {IDS_CLIENT_KEY, u"software\\veltrix\\pm\\client"},
    {IDS_CLIENT_DIR_VALUE, u"NembraClientDir"},
    {IDS_CSV_UID, u"UID:"},
    {IDS_TIME_FORMAT_24H, u"H:mm"},
    {IDS_ERR_NO_USER, u"User does not exist."},
    {IDS_ERR_ACCOUNT_DISABLED, u"Account is disabled."},
    {IDS_ERR_SERVER_MACHINE,
     u"There was an error connecting to the server machine.  Please contact your system "
     u"administrator."},
    {IDS_SECURITY_CHECK_FAILED,
     u"Security check failed. The administrator may have logged you off of the system, or your "
     u"session may have timed out.\n"},
    {IDS_EXCEEDING, u"% Exceeding"},
    {IDS_TIME_BEYOND, u"% Time Beyond"},
    // spelling kept verbatim
    {IDS_ERR_COMMUNICATING, u"Error communcating with the server.  Check the status of the Nembra server."},
    {IDS_SERVER_INFO_MISSING,
     u"Cannot initialize Nembra Client. Server information is missing in the registry!"},
    {IDS_HELP_FILE, u"NB-Quillon-Help-File.chm"},
    {IDS_PROFILE_VERSION_KEY, u"All Versions"},
    {IDS_VERSION_KEY_2_3, u"v2.3"},
    {IDS_VERSION_KEY_2_4, u"v2.4"},
};

constexpr bool StrictlyAscending() {
  return std::adjacent_find(std::begin(kTable), std::end(kTable),
                            [](const Entry& a, const Entry& b) { return a.id >= b.id; }) == std::end(kTable);
}
static_assert(StrictlyAscending(), "string ids must be unique and in ascending order");

const Entry* Find(int id) {
  const auto* it = std::lower_bound(std::begin(kTable), std::end(kTable), id,
                                    [](const Entry& e, int wanted) { return e.id < wanted; });
  return (it != std::end(kTable) && it->id == id) ? it : nullptr;
}

}  // namespace

QString LoadString(int id) {
  const Entry* e = Find(id);
  return e ? QString::fromUtf16(e->text) : QString();
}

bool Has(int id) {
  return Find(id) != nullptr;
}

std::vector<int> AllIds() {
  std::vector<int> ids;
  ids.reserve(std::size(kTable));
  for (const Entry& e : kTable) ids.push_back(e.id);
  return ids;
}

}  // namespace Strings
