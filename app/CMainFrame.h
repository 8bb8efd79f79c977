#pragma once

#include "query/GraphQuery.h"
#include "views/CommandEnabling.h"

#include <QHash>
#include <QMainWindow>
#include <QMap>
#include <memory>
#include <optional>

class COrbiskDoc;
class COrbiskView;
class CORBPropertiesDlg;
class CPropsDlg3D;
class LiveFollower;
class LiveStatus;
class MarkerSet;
class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QStackedWidget;
class QTextStream;
class QTimer;
class ReportView;
struct ReportData;
struct ReportPageContent;
class ServerSession;

// The one main window: the menus and toolbar of the commands, the report
// view of the current request, the status bar. It owns the current and the
// previous request and the New Graph dialog.
class CMainFrame : public QMainWindow {
  Q_OBJECT
public:
  static constexpr int kKeepAliveMs = 120000;

  CMainFrame(COrbiskDoc& doc, ServerSession& session, QWidget* parent = nullptr);
  ~CMainFrame() override;

  QAction* action(int commandId) const { return m_actions.value(commandId); }
  const GraphQuery& currentQuery() const { return m_current; }
  // The request the New Graph dialog opens with next.
  const GraphQuery& newGraphQuery() const;
  bool noReportYet() const { return m_noReportYet; }

  // A launch starts over: the current request and the dialog's both reset
  // to the reference time (now when none).
  void resetRequest(const std::optional<CNBDateTime>& reference = std::nullopt);
  // What a launch puts into the New Graph dialog before it opens.
  struct NewGraphPrefill {
    GraphQuery query;
    std::optional<bool> upToTheSecond;  // none: the dialog keeps its own
    bool openedByLaunch = false;
  };
  void prefillNewGraph(const NewGraphPrefill& prefill);

  // New Graph: shows the dialog and runs the accepted request; the previous
  // request comes back when the new one fails.
  void OnNewGraph();
  void OnExport();
  void OnPageSetup();
  void OnPrint();
  void OnPrintPreview();
  // Prints the report on show; a printer or file that cannot be opened is
  // said in a message owned by `owner`.
  bool printTo(QPrinter& printer, QWidget* owner) const;
  // The help at its start; context help at the topic of the report on show.
  void OnHelp();
  void OnContextHelp();
  void OnAbout();
  // Graph properties: the dialog for the report on show, applied to its view.
  void OnProperties();
  // Writes the chart on show, with its header, to a PNG, SVG or PDF file.
  void OnSaveChartImage();
  // Graph > Compare With...: the dialog, then the earlier period fetched
  // and drawn with the report; Clear Comparison shows the report alone.
  void OnCompareWith();
  void OnClearComparison();
  void OnExportComparison();
  // Writes the comparison on screen: current, earlier and difference per point.
  void writeComparisonExport(QTextStream& out) const;
  // Writes the report on screen as comma-separated text.
  void writeExport(QTextStream& out) const;
  // Renames the four threshold entries of "T&hresholds" and "&Marker".
  void setThresholdNames(const QStringList& names);
  // The header lines of the report on screen, for the views and printing.
  QStringList headerLines() const;
  // Re-evaluates every command's enabled and checked state.
  void updateCommands();
  // The view of the report on show; null while the placeholder is shown.
  ReportView* activeView() const { return m_activeView; }

  // Follow Live: switches following of the report on show on or off and
  // remembers the choice for its type.
  void OnFollowLive();
  // Stops following (New Graph, a launch); `remember` stores the choice
  // off for the report's type (Cancel, the menu).
  void stopFollowing(bool remember = false);
  LiveFollower& follower() const { return *m_follower; }
  LiveStatus& liveStatus() const { return *m_liveStatus; }
  MarkerSet& markers() const { return *m_markers; }

protected:
  void closeEvent(QCloseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void buildMenus();
  void buildToolBar();
  QAction* addCommand(QMenu* menu, int commandId);
  void onReportReady(int graphType);
  void onComparisonReady(int graphType);
  // Hands the view on show the comparison that applies to it, if any.
  void applyComparison();
  ReportPageContent pageContent() const;
  ReportData reportData(int graphType) const;
  ReportView* viewFor(int graphType);
  void showView(ReportView* view);
  void runViewCommand(int commandId);
  void restorePlacement();
  void savePlacement();
  void setUpFollowLive();
  // The dialogs are made on first use, after the window has shown.
  CORBPropertiesDlg& newGraphDialog();
  CPropsDlg3D& propertiesDialog();
  void onReportRefreshed(int graphType);
  void onFollowStatus();
  void showPeriodPanes();

  COrbiskDoc& m_doc;
  ServerSession& m_session;
  GraphQuery m_current;
  GraphQuery m_previous;
  bool m_noReportYet = true;
  FrameState m_state;
  CORBPropertiesDlg* m_newGraph = nullptr;
  // The New Graph request until its dialog is made: taken when the window
  // is, so the default period is the one it always was.
  GraphQuery m_newGraphQuery;
  CPropsDlg3D* m_props = nullptr;
  QStackedWidget* m_views = nullptr;
  COrbiskView* m_placeholder = nullptr;
  QMap<int, ReportView*> m_reportViews;  // made on first use, one per type
  ReportView* m_activeView = nullptr;
  std::unique_ptr<MarkerSet> m_markers;  // shared by the 2D reports
  QHash<int, QAction*> m_actions;
  QLabel* m_statusPanes[3] = {};
  int m_keepAliveTimer = 0;
  bool m_placementRestored = false;
  LiveFollower* m_follower = nullptr;
  LiveStatus* m_liveStatus = nullptr;
  QAction* m_cancelRefresh = nullptr;  // Esc while a refresh runs
  bool m_compareChoiceLoaded = false;
};
