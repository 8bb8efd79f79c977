#include "app/CMainFrame.h"

#include "app/AboutDialog.h"
#include "app/COrbiskDoc.h"
#include "app/COrbiskView.h"
#include "app/ChartImageFile.h"
#include "app/CompareDialog.h"
#include "app/ExportDialog.h"
#include "app/HelpLocation.h"
#include "app/HelpWindow.h"
#include "app/LiveFollowSettings.h"
#include "app/LiveFollower.h"
#include "app/LiveStatus.h"
#include "app/PageSetupDialog.h"
#include "app/ReportPage.h"
#include "app/ServerSession.h"
#include "core/Clock.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "core/ShellEvents.h"
#include "core/ThresholdNames.h"
#include "core/WindowPlacement.h"
#include "query/CORBPropertiesDlg.h"
#include "query/ComparisonCsvWriter.h"
#include "query/FrequencySeriesCsvWriter.h"
#include "query/LiveWindow.h"
#include "query/RibbonCsvWriter.h"
#include "query/SummaryCsvWriter.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "views/CPropsDlg3D.h"
#include "views/MarkerSet.h"
#include "views/ReportData.h"
#include "views/ReportTexts.h"
#include "views/ReportView.h"
#include "views/ReportViewFactory.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimerEvent>
#include <QToolBar>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}

const CommandIds::CommandInfo* commandInfo(int id) {
  for (const auto& menu : CommandIds::kMenus)
    for (const auto& c : menu.items)
      if (c.id == id) return &c;
  return nullptr;
}

const QString kBarStateName = QStringLiteral("State");

}  // namespace

CMainFrame::CMainFrame(COrbiskDoc& doc, ServerSession& session, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_session(session) {
  m_current.graphType = NoGraph;
  setObjectName(QStringLiteral("mainFrame"));
  setWindowTitle(text(Strings::IDS_APP_TITLE));
  ShellEvents::instance().setMessageOwner(this);
  connect(&ShellEvents::instance(), &ShellEvents::closeRequested, this, &QWidget::close);

  m_markers = std::make_unique<MarkerSet>();
  m_views = new QStackedWidget(this);
  m_placeholder = new COrbiskView(m_views);
  m_views->addWidget(m_placeholder);
  setCentralWidget(m_views);
  buildMenus();
  buildToolBar();
  for (auto*& pane : m_statusPanes) {
    pane = new QLabel(this);
    pane->setMinimumWidth(120);
    statusBar()->addPermanentWidget(pane);
  }
  resize(960, 640);

  SettingsStore store;
  const QVariant bars = store.sectionKey(text(Strings::IDS_BAR_STATE_KEY)).readRaw(kBarStateName);
  if (bars.isValid()) restoreState(bars.toByteArray());

  connect(&m_doc, &COrbiskDoc::reportReady, this, &CMainFrame::onReportReady);
  connect(&m_doc, &COrbiskDoc::comparisonReady, this, &CMainFrame::onComparisonReady);
  m_keepAliveTimer = startTimer(kKeepAliveMs);
  setUpFollowLive();
  updateCommands();
}

CMainFrame::~CMainFrame() {
  if (ShellEvents::instance().messageOwner() == this) ShellEvents::instance().setMessageOwner(nullptr);
}

QAction* CMainFrame::addCommand(QMenu* menu, int commandId) {
  auto* a = new QAction(this);
  if (const auto* info = commandInfo(commandId)) {
    // The key is the action's own shortcut, shown by the menu; the text part
    // before a tab is the label.
    a->setText(text(info->textId).section(QLatin1Char('\t'), 0, 0));
    if (info->shortcut && *info->shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(info->shortcut)));
  }
  for (const auto& tip : CommandIds::kStatusTexts)
    if (tip.id == commandId) a->setStatusTip(text(tip.textId));
  a->setData(commandId);
  a->setObjectName(QStringLiteral("command%1").arg(commandId));
  if (menu) menu->addAction(a);
  m_actions.insert(commandId, a);
  return a;
}

void CMainFrame::buildMenus() {
  using namespace CommandIds;
  QMenu* view = nullptr;
  std::vector<std::pair<QMenu*, QList<QAction*>>> belowSubmenu;
  for (const auto& menuInfo : kMenus) {
    QMenu* menu = nullptr;
    if (menuInfo.titleTextId == Strings::IDS_MENU_THRESHOLDS && view) {
      view->addSeparator();
      menu = view->addMenu(text(menuInfo.titleTextId));
    } else {
      menu = menuBar()->addMenu(text(menuInfo.titleTextId));
    }
    if (menuInfo.titleTextId == Strings::IDS_MENU_VIEW) view = menu;
    menu->setObjectName(QStringLiteral("menu%1").arg(menuInfo.titleTextId));
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommands);
    QList<QAction*> below;
    for (const auto& item : menuInfo.items) {
      if ((item.flags & kSeparatorBefore) && !(item.flags & kBelowSubmenu)) menu->addSeparator();
      QAction* a = addCommand((item.flags & kBelowSubmenu) ? nullptr : menu, item.id);
      a->setCheckable(item.flags & kCheckable);
      if (item.flags & kBelowSubmenu) below.append(a);
    }
    if (!below.isEmpty()) belowSubmenu.emplace_back(menu, below);
  }
  // Our own View items go below the T&hresholds submenu, after every described item.
  for (const auto& [menu, actions] : belowSubmenu) {
    menu->addSeparator();
    menu->addActions(actions);
  }
  // The commands the frame runs itself; every other one belongs to the report on show.
  const std::pair<int, std::function<void()>> frameCommands[] = {
      {ID_GRAPH_NEW, [this] { OnNewGraph(); }},
      {ID_APP_EXIT, [this] { close(); }},
      {ID_GRAPH_EXPORT, [this] { OnExport(); }},
      {ID_FILE_PAGE_SETUP, [this] { OnPageSetup(); }},
      {ID_FILE_PRINT, [this] { OnPrint(); }},
      {ID_FILE_PRINT_PREVIEW, [this] { OnPrintPreview(); }},
      {ID_HELP_QUILLON, [this] { OnHelp(); }},
      {ID_APP_ABOUT, [this] { OnAbout(); }},
      {ID_VIEW_PROPERTIES, [this] { OnProperties(); }},
      {ID_GRAPH_SAVE_IMAGE, [this] { OnSaveChartImage(); }},
      {ID_VIEW_FOLLOW_LIVE, [this] { OnFollowLive(); }},
  };
  const std::pair<int, std::function<void()>> comparisonCommands[] = {
      {ID_GRAPH_COMPARE_WITH, [this] { OnCompareWith(); }},
      {ID_GRAPH_CLEAR_COMPARISON, [this] { OnClearComparison(); }},
      {ID_GRAPH_EXPORT_COMPARISON, [this] { OnExportComparison(); }},
  };
  for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
    const int id = it.key();
    const auto isId = [id](const auto& command) { return command.first == id; };
    const auto own = std::find_if(std::begin(frameCommands), std::end(frameCommands), isId);
    const auto compare = std::find_if(std::begin(comparisonCommands), std::end(comparisonCommands), isId);
    if (own != std::end(frameCommands))
      connect(it.value(), &QAction::triggered, this, own->second);
    else if (compare != std::end(comparisonCommands))
      connect(it.value(), &QAction::triggered, this, compare->second);
    else
      connect(it.value(), &QAction::triggered, this, [this, id] { runViewCommand(id); });
  }
  action(ID_HELP_QUILLON)->setShortcut(QKeySequence::HelpContents);
  // The standard help commands have no menu items: the window carries them
  // so their keys work. Only context help opens at the report's topic.
  for (int id : kHelpAliases) {
    QAction* a = addCommand(nullptr, id);
    addAction(a);
    connect(a, &QAction::triggered, this,
            id == ID_CONTEXT_HELP ? &CMainFrame::OnContextHelp : &CMainFrame::OnHelp);
  }
  action(ID_CONTEXT_HELP)->setShortcut(QKeySequence::WhatsThis);
  for (QAction* a : std::as_const(m_actions))
    connect(a, &QAction::triggered, this, &CMainFrame::updateCommands, Qt::QueuedConnection);
}

void CMainFrame::buildToolBar() {
  using namespace CommandIds;
  QToolBar* bar = addToolBar(text(Strings::IDS_MENU_GRAPH).remove(QLatin1Char('&')));
  bar->setObjectName(QStringLiteral("mainToolBar"));
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  for (int id : {ID_GRAPH_NEW, ID_GRAPH_EXPORT, ID_FILE_PRINT}) bar->addAction(action(id));
  bar->addSeparator();
  for (int id : {ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_RESET, ID_VIEW_AUTO_REFERENCE})
    bar->addAction(action(id));
}

void CMainFrame::updateCommands() {
  // The view part starts from its defaults so a view that lost its chart
  // cannot leave a command on.
  FrameState fresh;
  fresh.graphType = m_state.graphType;
  m_state = fresh;
  if (m_activeView) m_activeView->fillFrameState(m_state);
  m_state.comparisonShown = m_doc.comparison().appliesTo(m_state.graphType);
  m_markers->fill(m_state);
  m_state.following = m_follower && m_follower->following();
  m_state.endsNow = LiveWindow::endsNow(m_current, Clock::nowUtc());
  for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
    const CommandState s = commandState(it.key(), m_state);
    it.value()->setEnabled(s.enabled);
    if (it.value()->isCheckable()) it.value()->setChecked(s.checked);
  }
}

void CMainFrame::setThresholdNames(const QStringList& names) {
  using namespace CommandIds;
  const int thresholdItems[] = {ID_THRESHOLDS_1, ID_THRESHOLDS_2, ID_THRESHOLDS_3, ID_THRESHOLDS_4};
  const int markerItems[] = {ID_MARKER_THRESHOLD_1, ID_MARKER_THRESHOLD_2, ID_MARKER_THRESHOLD_3,
                             ID_MARKER_THRESHOLD_4};
  const ThresholdNames four(names);
  for (int i = 0; i < ThresholdNames::kCount; ++i) {
    const QString name = four.menuText(i);
    if (QAction* a = action(thresholdItems[i])) a->setText(name);
    if (QAction* a = action(markerItems[i])) a->setText(name);
  }
  newGraphDialog().setThresholdNames(names);
}

CORBPropertiesDlg& CMainFrame::newGraphDialog() {
  if (!m_newGraph) {
    m_newGraph = new CORBPropertiesDlg(this);
    m_newGraph->setQuery(m_newGraphQuery);
    // Help from a dialog opens at its own topic, in a window the dialog does not block.
    connect(m_newGraph, &CORBPropertiesDlg::helpRequested, this,
            [this] { HelpWindow::instance(m_newGraph)->showTopic(HelpLocation::newGraphTopic()); });
  }
  return *m_newGraph;
}

CPropsDlg3D& CMainFrame::propertiesDialog() {
  if (!m_props) {
    m_props = new CPropsDlg3D(this);
    connect(m_props, &CPropsDlg3D::helpRequested, this,
            [this] { HelpWindow::instance(m_props)->showTopic(HelpLocation::propertiesTopic()); });
  }
  return *m_props;
}

const GraphQuery& CMainFrame::newGraphQuery() const {
  return m_newGraph ? m_newGraph->query() : m_newGraphQuery;
}

void CMainFrame::resetRequest(const std::optional<CNBDateTime>& reference) {
  if (reference) {
    m_current.Reset(*reference);
    newGraphDialog().query().Reset(*reference);
  } else {
    m_current.Reset();
    newGraphDialog().query().Reset();
  }
}

void CMainFrame::prefillNewGraph(const NewGraphPrefill& prefill) {
  CORBPropertiesDlg& dialog = newGraphDialog();
  dialog.setQuery(prefill.query);
  if (prefill.upToTheSecond) dialog.setUpToTheSecond(*prefill.upToTheSecond);
  dialog.setOpenedByLaunch(prefill.openedByLaunch);
}

void CMainFrame::OnNewGraph() {
  stopFollowing();
  m_previous = m_current;
  CORBPropertiesDlg& dialog = newGraphDialog();
  dialog.clearCancelled();
  dialog.setFrequencyRange(m_doc.lowerFrequency(), m_doc.upperFrequency());
  dialog.setThresholdNames(m_doc.thresholdNames());
  dialog.setLaunchedWithReferenceTime(m_doc.datesSupplied());
  dialog.exec();
  if (dialog.cancelled()) {
    if (m_noReportYet) ShellEvents::instance().requestClose();
    return;
  }
  m_current = dialog.query();
  // The new report comes alone; a failed one leaves the comparison shown.
  Comparison& comparison = m_doc.comparison();
  const bool compared = comparison.active;
  comparison.active = false;
  if (m_doc.RunReport(m_current)) {
    comparison.clear();
    return;
  }
  comparison.active = compared;
  if (m_noReportYet) {
    ShellEvents::instance().requestClose();
    return;
  }
  m_current = m_previous;
  updateCommands();
}

void CMainFrame::onReportReady(int graphType) {
  m_noReportYet = false;
  m_state.graphType = graphType;
  m_current = m_doc.reportQuery();
  m_current.graphType = graphType;
  setWindowTitle(ReportTexts::windowTitle(m_session.titleLabel(), graphType));
  setThresholdNames(m_doc.thresholdNames());
  const RibbonSet& ribbons = m_doc.ribbonSet(graphType);
  const SeriesStore& series = m_doc.seriesStore();
  const QString contents =
      !ribbons.empty()
          ? text(Strings::IDS_UI_FETCHED_RIBBONS).arg(ribbons.ribbonCount).arg(ribbons.frequencyCount)
          : text(Strings::IDS_UI_FETCHED_SERIES).arg(series.count).arg(series.series[0].entryCount);
  if (ReportView* view = viewFor(graphType)) {
    // Activation reads the step and scale the build uses.
    showView(view);
    view->showReport(reportData(graphType));
  } else {
    m_placeholder->showReport(ReportTexts::name(graphType), ReportTexts::description(graphType),
                              headerLines(), contents);
    showView(nullptr);
  }
  showPeriodPanes();
  // A comparison of this report type is drawn again over every build.
  applyComparison();
  // A report type the user last followed follows again while it ends now.
  if (m_activeView && LiveFollowSettings::chosen(graphType) &&
      LiveWindow::endsNow(m_current, Clock::nowUtc()))
    m_follower->start(m_current);
  updateCommands();
}

ReportData CMainFrame::reportData(int graphType) const {
  ReportData report;
  report.query = m_current;
  if (usesCheckBoxStatistics(graphType))
    report.series = &m_doc.seriesStore();
  else
    report.ribbons = &m_doc.ribbonSet(graphType);
  report.thresholds = &m_doc.thresholdTable();
  report.thresholdEntries = m_doc.thresholdEntries();
  report.thresholdNames = m_doc.thresholdNames();
  report.headerLines = headerLines();
  report.label = m_session.label();
  report.levelUnit = m_doc.levelUnit();
  return report;
}

ReportView* CMainFrame::viewFor(int graphType) {
  if (ReportView* view = m_reportViews.value(graphType)) return view;
  ReportView* view = createReportView(graphType, m_views);
  if (!view) return nullptr;
  m_views->addWidget(view);
  m_reportViews.insert(graphType, view);
  connect(view, &ReportView::commandsChanged, this, &CMainFrame::updateCommands);
  connect(view, &ReportView::commandRequested, this, [this](int id) {
    if (QAction* a = action(id)) a->trigger();
  });
  view->setMarkerSet(m_markers.get());
  view->setSessionSettings(&m_doc.startup());
  return view;
}

void CMainFrame::showView(ReportView* view) {
  const bool switched = m_activeView != view;
  if (m_activeView && switched) m_activeView->setActive(false);
  m_activeView = view;
  m_views->setCurrentWidget(view ? static_cast<QWidget*>(view) : m_placeholder);
  if (view) {
    // Another report type comes up in its stored look; a new report of the
    // same type keeps the look edited and not yet saved.
    if (switched) view->loadAppearance();
    view->setActive(true);
    view->setFocus();
  }
}

void CMainFrame::runViewCommand(int commandId) {
  // Accelerators reach here even when the action is off; act only when on.
  const QAction* a = action(commandId);
  if (!m_activeView || (a && !a->isEnabled())) return;
  // Delta stays on while a 3D report is shown; it toggles the marker set,
  // which the 2D chart shows again when its report comes back.
  if (!m_activeView->runCommand(commandId) && commandId == CommandIds::ID_MARKER_DELTA)
    m_markers->toggleDelta();
}

void CMainFrame::writeExport(QTextStream& out) const {
  const int type = m_state.graphType;  // the report on screen
  const QString label = m_session.label();
  const LevelUnit unit = m_doc.levelUnit();
  if (type == TimeWindowSummary)
    SummaryCsvWriter().write(out, label, m_session.node(), m_doc.seriesStore(), unit, m_doc.thresholdNames());
  else if (type == OneFreqTimeWindow)
    FrequencySeriesCsvWriter().write(out, label, m_session.node(), m_current.frequency, m_doc.seriesStore(),
                                     unit, m_doc.thresholdNames());
  else if (isValidGraphType(type))
    RibbonCsvWriter().write(out, label, m_session.node(), type, m_doc.ribbonSet(type), unit);
}

void CMainFrame::OnExport() {
  if (!isValidGraphType(m_state.graphType)) return;
  exportReport(this, [this](QTextStream& out) { writeExport(out); });
}

void CMainFrame::OnPageSetup() {
  if (const auto text = PageSetupDialog::edit(this, m_doc.startup().reportText))
    m_doc.startup().reportText = *text;
}

ReportPageContent CMainFrame::pageContent() const {
  ReportPageContent content;
  content.reportText = m_doc.startup().reportText;
  content.label = m_session.label();
  content.reportName = ReportTexts::name(m_state.graphType);
  content.description = ReportTexts::description(m_state.graphType);
  content.headerLines = headerLines();
  const Comparison& comparison = m_doc.comparison();
  if (comparison.appliesTo(m_state.graphType))
    content.headerLines.append(text(Strings::IDS_UI_COMPARE_HEADER)
                                   .arg(comparison.earlier.GetStart().LocalDateTimeText(),
                                        comparison.earlier.GetEnd().LocalDateTimeText()));
  content.printedAt = QDateTime::currentDateTime();
  if (m_activeView) {
    content.chart = m_activeView->chartPainter();
    content.chartSize = m_activeView->size();
  }
  return content;
}

bool CMainFrame::printTo(QPrinter& printer, QWidget* owner) const {
  if (printReport(printer, pageContent())) return true;
  const QString target = printer.outputFormat() == QPrinter::PdfFormat
                             ? QDir::toNativeSeparators(printer.outputFileName())
                             : printer.printerName();
  Prompts::current().message(owner, text(Strings::IDS_UI_PRINT_FAILED).arg(target));
  return false;
}

void CMainFrame::OnPrint() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() == QDialog::Accepted) printTo(printer, this);
}

void CMainFrame::OnPrintPreview() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintPreviewDialog preview(&printer, this);
  // Qt's own size is a toolbar over a thumbnail of the page; the preview
  // opens as large as the window it previews.
  preview.resize(size());
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [this, &preview](QPrinter* p) { printTo(*p, &preview); });
  preview.exec();
}

void CMainFrame::OnHelp() {
  HelpWindow::instance(this)->showTopic(QString());
}

void CMainFrame::OnContextHelp() {
  HelpWindow::instance(this)->showTopic(HelpLocation::topicForGraphType(m_state.graphType));
}

void CMainFrame::OnAbout() {
  AboutDialog about(this);
  about.exec();
}

QStringList CMainFrame::headerLines() const {
  if (!isValidGraphType(m_state.graphType)) return {m_session.label()};
  return ReportTexts::headerLines(m_session.label(), m_session.node(), m_doc.levelUnit(), m_current);
}

void CMainFrame::timerEvent(QTimerEvent* event) {
  if (event->timerId() == m_keepAliveTimer)
    m_session.KeepAlive();
  else
    QMainWindow::timerEvent(event);
}

void CMainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!m_placementRestored) {
    m_placementRestored = true;
    restorePlacement();
  }
}

void CMainFrame::restorePlacement() {
  SettingsStore store;
  if (const auto p = WindowPlacement::Load(store)) {
    setGeometry(p->left, p->top, p->right - p->left, p->bottom - p->top);
    if (p->showCmd == WindowPlacement::kShowMaximized) setWindowState(Qt::WindowMaximized);
  }
}

void CMainFrame::savePlacement() {
  const QRect r = normalGeometry();
  WindowPlacement p;
  p.showCmd = isMaximized()   ? WindowPlacement::kShowMaximized
              : isMinimized() ? WindowPlacement::kShowMinimized
                              : WindowPlacement::kShowNormal;
  p.left = r.left();
  p.top = r.top();
  p.right = r.left() + r.width();
  p.bottom = r.top() + r.height();
  SettingsStore store;
  p.Save(store);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (m_activeView) m_activeView->saveAppearance();
  {
    SettingsStore store;
    RegistryKey bars = store.sectionKey(text(Strings::IDS_BAR_STATE_KEY));
    bars.writeRaw(kBarStateName, saveState());
    store.sync();
  }
  savePlacement();
  stopFollowing();
  if (m_keepAliveTimer) {
    killTimer(m_keepAliveTimer);
    m_keepAliveTimer = 0;
  }
  event->accept();
}

void CMainFrame::OnProperties() {
  ReportView* view = m_activeView;
  ViewSettingsSource source;
  if (!view || !view->viewSettingsSource(source)) return;
  const int type = view->graphType();
  const bool levelTraceDrawn = m_state.traceDrawn[Statistic::kAverage] ||
                               m_state.traceDrawn[Statistic::kMaximum] ||
                               m_state.traceDrawn[Statistic::kMinimum];
  StartupSettings& settings = m_doc.startup();
  CPropsDlg3D& dialog = propertiesDialog();
  dialog.prepare(type, source.percent, levelTraceDrawn, source, settings.referenceStep);
  if (dialog.exec() != QDialog::Accepted) return;
  const ViewSettings applied = dialog.settings();
  settings.referenceStep = applied.referenceStep;
  if (usesCheckBoxStatistics(type)) settings.scale = applied.scale;
  view->applyViewSettings(applied);
  view->saveAppearance();
  SettingsStore store;
  settings.SaveStep(store);
  updateCommands();
}

void CMainFrame::OnSaveChartImage() {
  if (!m_activeView || !m_state.viewReady) return;
  ChartImageFile::save(this, m_activeView->chartPainter(), m_activeView->size());
}

void CMainFrame::showPeriodPanes() {
  const auto [first, second] =
      ReportTexts::periodPanes(m_current, CNBDateTime::FromQDateTime(Clock::nowUtc()));
  m_statusPanes[0]->setText(first);
  m_statusPanes[1]->setText(second);
  m_statusPanes[2]->setText(m_activeView ? m_activeView->statusText() : QString());
}

void CMainFrame::setUpFollowLive() {
  m_follower = new LiveFollower(m_doc, m_session, this);
  m_liveStatus = new LiveStatus(this);
  statusBar()->insertPermanentWidget(0, m_liveStatus);
  connect(m_follower, &LiveFollower::statusChanged, this, &CMainFrame::onFollowStatus);
  connect(m_liveStatus, &LiveStatus::cancelRequested, this, [this] { stopFollowing(true); });
  connect(&m_doc, &COrbiskDoc::reportRefreshed, this, &CMainFrame::onReportRefreshed);
  m_cancelRefresh = new QAction(this);
  m_cancelRefresh->setObjectName(QStringLiteral("cancelRefresh"));
  m_cancelRefresh->setShortcut(QKeySequence(Qt::Key_Escape));
  m_cancelRefresh->setEnabled(false);
  addAction(m_cancelRefresh);
  connect(m_cancelRefresh, &QAction::triggered, this, [this] { stopFollowing(true); });
}

void CMainFrame::OnFollowLive() {
  const int type = m_state.graphType;
  if (m_follower->following()) {
    stopFollowing(true);
    return;
  }
  if (!commandState(CommandIds::ID_VIEW_FOLLOW_LIVE, m_state).enabled) return;
  LiveFollowSettings::setChosen(type, true);
  m_follower->start(m_current);
  updateCommands();
}

void CMainFrame::stopFollowing(bool remember) {
  if (!m_follower || !m_follower->following()) return;
  m_follower->stop();
  if (remember && isValidGraphType(m_state.graphType))
    LiveFollowSettings::setChosen(m_state.graphType, false);
  updateCommands();
}

void CMainFrame::onFollowStatus() {
  const LiveFollower::Phase phase = m_follower->phase();
  const bool busy = phase == LiveFollower::Phase::Refreshing || phase == LiveFollower::Phase::Reconnecting;
  m_liveStatus->showStatus(busy, m_follower->statusText());
  m_cancelRefresh->setEnabled(busy);
  // Only switching following on or off changes a command.
  if (m_state.following != m_follower->following()) updateCommands();
}

void CMainFrame::onReportRefreshed(int graphType) {
  // A refresh is of the report on show; one that arrives after a switch is
  // dropped. It goes to refreshReport, never to showReport, so state kept
  // beside the report (markers, a comparison) survives it.
  if (graphType != m_state.graphType) return;
  m_current = m_doc.reportQuery();
  m_current.graphType = graphType;
  if (m_activeView && m_activeView->graphType() == graphType)
    m_activeView->refreshReport(reportData(graphType));
  showPeriodPanes();
  applyComparison();
  updateCommands();
}

void CMainFrame::applyComparison() {
  if (!m_activeView) return;
  const Comparison& comparison = m_doc.comparison();
  const bool applies = comparison.appliesTo(m_activeView->graphType());
  m_activeView->setComparison(applies ? &comparison : nullptr);
  const QString status = m_activeView->statusText();
  m_statusPanes[2]->setText(applies ? text(Strings::IDS_UI_COMPARE_STATUS).arg(comparison.periodText())
                                    : status);
}

void CMainFrame::onComparisonReady(int graphType) {
  if (m_activeView && m_activeView->graphType() == graphType) applyComparison();
  updateCommands();
}

void CMainFrame::OnCompareWith() {
  if (!m_activeView || !m_state.viewReady || m_doc.isFetching()) return;
  Comparison& comparison = m_doc.comparison();
  if (!m_compareChoiceLoaded) {
    m_compareChoiceLoaded = true;
    comparison.shift = CompareChoice::load();
  }
  const GraphQuery shown = m_current;
  const bool dayType = shown.graphType == MultiDay || shown.graphType == MultiDayTimeWindow;
  const CNBDateTime proposed =
      comparison.chosenStart.value() > 0.0 && comparison.chosenStart < shown.GetStart()
          ? comparison.chosenStart
          : shown.GetStart().addDays(-1.0);
  CompareDialog dialog(this);
  dialog.prepare(comparison.shift, proposed, dayType);
  dialog.setCheck([shown](int shift, const CNBDateTime& start) {
    return CompareWindow::acceptable(shown, CompareWindow::earlier(shown, shift, start))
               ? QString()
               : text(Strings::IDS_UI_COMPARE_NOT_EARLIER).arg(shown.GetStart().LocalDateTimeText());
  });
  if (dialog.exec() != QDialog::Accepted) return;
  comparison.shift = dialog.shift();
  comparison.chosenStart = dialog.chosenStart();
  CompareChoice::save(comparison.shift);
  m_doc.RunComparison(shown, CompareWindow::earlier(shown, comparison.shift, comparison.chosenStart));
  updateCommands();
}

void CMainFrame::OnClearComparison() {
  m_doc.comparison().clear();
  applyComparison();
  updateCommands();
}

void CMainFrame::writeComparisonExport(QTextStream& out) const {
  const Comparison& comparison = m_doc.comparison();
  if (!comparison.appliesTo(m_state.graphType)) return;
  const int type = m_state.graphType;
  ComparisonCsvWriter writer;
  if (isRibbonType(type))
    writer.writeRibbons(out, m_session.label(), m_session.node(), m_doc.ribbonSet(type), comparison,
                        m_doc.levelUnit());
  else
    writer.writeSeries(out, m_session.label(), m_session.node(), m_doc.seriesStore(), comparison,
                       m_doc.levelUnit(), m_doc.thresholdNames());
}

void CMainFrame::OnExportComparison() {
  if (!m_doc.comparison().appliesTo(m_state.graphType)) return;
  exportReport(this, [this](QTextStream& out) { writeComparisonExport(out); });
}
