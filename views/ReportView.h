#pragma once

#include "core/StartupSettings.h"
#include "views/ChartPainter.h"

#include <QWidget>

class MarkerSet;
struct Comparison;
struct FrameState;
struct ReportData;
struct ViewSettings;
struct ViewSettingsSource;

// One report type's view as the main frame sees it. The frame shows it,
// routes the view commands to it and asks it which of them can act; the
// view's own logic lives in plain classes beside it.
class ReportView : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;

  virtual int graphType() const = 0;
  // Builds the chart of a newly fetched report.
  virtual void showReport(const ReportData& report) = 0;
  // The same request again with its window moved on (Follow Live): the
  // view keeps what the user set. The default builds it anew. Whatever a
  // view lays over its report beyond the fetched answer (a comparison with
  // another answer, say) is the user's too: an override carries it over
  // rather than dropping it, as showReport may for a new request.
  virtual void refreshReport(const ReportData& report) { showReport(report); }
  // A command of the View, Marker or Thresholds menus, or Copy; false when
  // the view has nothing to do for it.
  virtual bool runCommand(int commandId) = 0;
  // Fills the view's part of the frame state (viewReady and what follows).
  virtual void fillFrameState(FrameState& state) const = 0;
  // The chart as the printed page shows it; empty before a chart is drawn.
  virtual ChartPainter chartPainter() const = 0;
  // The main window closes while this report is on show: keep its look.
  virtual void saveAppearance() = 0;
  // The frame switches to this report type: the look stored for it replaces
  // the view's record, for the builds to come.
  virtual void loadAppearance() = 0;
  // The frame switches to this view (true) or away from it (false).
  virtual void setActive(bool) {}
  // The text of the status bar's third pane while this view is on show.
  virtual QString statusText() const { return {}; }
  // What the graph property dialog starts from; false while there is no
  // chart to set.
  virtual bool viewSettingsSource(ViewSettingsSource&) const { return false; }
  // The dialog's OK: the view applies the settings, its chart in batch mode.
  virtual void applyViewSettings(const ViewSettings&) {}
  // Sets the report against an earlier period of itself, or (null) shows it
  // alone. The frame calls it after every build; the view keeps what it
  // needs, the comparison itself stays the document's.
  virtual void setComparison(const Comparison*) {}
  // The frame's marker set, which the 2D reports draw on their chart.
  virtual void setMarkerSet(MarkerSet*) {}
  // The session's settings (reference step, 2D scale), read on every
  // activation; without them a view reads the stored ones.
  void setSessionSettings(const StartupSettings* settings) { m_session = settings; }

signals:
  // Something a command's enabled or checked state depends on has changed.
  void commandsChanged();
  // The user asked, from the chart's own menu, for one of the frame's
  // commands (such as Save Chart Image).
  void commandRequested(int commandId);

protected:
  StartupSettings activationSettings() const;

private:
  const StartupSettings* m_session = nullptr;
};
