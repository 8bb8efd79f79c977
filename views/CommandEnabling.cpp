#include "views/CommandEnabling.h"

#include "query/GraphType.h"
#include "resources/CommandIds.h"

using namespace CommandIds;

namespace {

bool is3D(const FrameState& s) {
  return s.viewReady && isRibbonType(s.graphType);
}
bool is2D(const FrameState& s) {
  return s.viewReady && usesCheckBoxStatistics(s.graphType);
}

bool summaryWithLevels(const FrameState& s) {
  return s.viewReady && s.graphType == TimeWindowSummary && s.levelDrawn;
}

}  // namespace

CommandState commandState(int id, const FrameState& s) {
  switch (id) {
    case ID_GRAPH_NEW:
    case ID_APP_EXIT:
    case ID_FILE_PAGE_SETUP:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:  // without a chart the page carries the header alone
    case ID_HELP_QUILLON:
    case ID_HELP_INDEX:
    case ID_HELP_FINDER:
    case ID_CONTEXT_HELP:
    case ID_HELP:
    case ID_DEFAULT_HELP:
    case ID_APP_ABOUT: return {true, false};
    case ID_GRAPH_EXPORT: return {isValidGraphType(s.graphType), false};
    case ID_GRAPH_COPY:
    case ID_GRAPH_SAVE_IMAGE:
    case ID_VIEW_PROPERTIES:
    case ID_VIEW_RESET_CHART_PROPERTIES: return {s.viewReady, false};
    case ID_VIEW_ZOOM_IN:
    case ID_VIEW_ZOOM_OUT:
    case ID_VIEW_ZOOM_RESET: return {is3D(s), false};
    case ID_VIEW_ROTATE_UP:
    case ID_VIEW_ROTATE_DOWN:
    case ID_VIEW_ROTATE_RIGHT:
    case ID_VIEW_ROTATE_LEFT:
    case ID_VIEW_RESET_ORIENTATION: return {is3D(s) && !s.heatMapShown, false};  // a flat map has no angles
    case ID_VIEW_HEAT_MAP: return {is3D(s), is3D(s) && s.heatMapShown};
    // Following stays switchable off whatever the clock says meanwhile.
    case ID_VIEW_FOLLOW_LIVE: return {s.viewReady && (s.endsNow || s.following), s.following};
    case ID_GRAPH_COMPARE_WITH: return {s.viewReady && isValidGraphType(s.graphType), false};
    case ID_GRAPH_CLEAR_COMPARISON:
    case ID_GRAPH_EXPORT_COMPARISON: return {s.viewReady && s.comparisonShown, false};
    case ID_MARKER_TO_PEAK:
    case ID_MARKER_NEXT_PEAK_LEFT:
    case ID_MARKER_NEXT_PEAK_RIGHT: return {is2D(s) && s.activeMarkerOn, false};
    case ID_VIEW_REF_LEVEL_UP: return {s.viewReady && s.canRaiseLevel, false};
    case ID_VIEW_REF_LEVEL_DOWN: return {s.viewReady && s.canLowerLevel, false};
    case ID_VIEW_AUTO_REFERENCE: return {s.viewReady && s.autoReference, false};
    case ID_MARKER_CENTER: return {is2D(s) && s.marker1Trace >= 0, false};
    case ID_MARKER_DELTA: return {s.marker1Trace >= 0, s.marker2On};  // on a 3D report too
    case ID_THRESHOLDS_DISPLAY: return {summaryWithLevels(s), s.thresholdDisplay};
    case ID_THRESHOLDS_ALL: {
      const bool allShown = s.thresholdShown[3] && s.thresholdShown[4] && s.thresholdShown[5] &&
                            s.thresholdShown[6] && s.intervalShown;
      return {summaryWithLevels(s) && s.thresholdDisplay && !allShown, false};
    }
    case ID_THRESHOLDS_1:
    case ID_THRESHOLDS_2:
    case ID_THRESHOLDS_3:
    case ID_THRESHOLDS_4: {
      const int trace = id - ID_THRESHOLDS_1 + 3;
      return {summaryWithLevels(s) && s.thresholdDisplay, s.thresholdShown[static_cast<size_t>(trace)]};
    }
    case ID_THRESHOLDS_INTERVAL: return {summaryWithLevels(s) && s.thresholdDisplay, s.intervalShown};
    default: break;
  }
  const int trace = markerTraceOf(id);
  if (trace >= 0) return {is2D(s) && s.traceDrawn[static_cast<size_t>(trace)], s.marker1Trace == trace};
  return {false, false};
}

int markerTraceOf(int id) {
  switch (id) {
    case ID_MARKER_AVERAGE: return 0;
    case ID_MARKER_MAXIMUM: return 1;
    case ID_MARKER_MINIMUM: return 2;
    case ID_MARKER_THRESHOLD_1: return 3;
    case ID_MARKER_THRESHOLD_2: return 4;
    case ID_MARKER_THRESHOLD_3: return 5;
    case ID_MARKER_THRESHOLD_4: return 6;
    default: return -1;
  }
}
