#include "app/COrbiskDoc.h"

#include "app/ServerSession.h"
#include "app/WaitCursor.h"
#include "core/ShellEvents.h"
#include "query/CGetDataDialog.h"
#include "query/CTWSGetDataDialog.h"
#include "query/FetchJob.h"
#include "query/SFGetDataDialog.h"
#include "resources/Strings.h"

COrbiskDoc::COrbiskDoc(ServerSession& session, QObject* parent) : QObject(parent), m_session(session) {}

COrbiskDoc::~COrbiskDoc() {
  // Destroyed while a progress box is up (the program quitting inside its
  // loop): the worker is told to stop and the box to close; RunReport's
  // frame, which shares the job, joins it and touches nothing of ours.
  if (m_job) m_job->cancel();
  if (m_fetching) {
    for (ProgressDialog* dialog : {progressDialog(TimeWindowSummary), progressDialog(OneFreqTimeWindow),
                                   progressDialog(TimeWindowDetail), progressDialog(TwentyFourHour),
                                   progressDialog(MultiDay), progressDialog(MultiDayTimeWindow)})
      if (dialog && dialog->isVisible()) dialog->done(QDialog::Rejected);
  }
  const auto release = [](QWidget* dialog) {
    if (dialog && !dialog->parent()) delete dialog;
  };
  release(m_summaryDialog);
  release(m_frequencyDialog);
  for (const auto& d : m_ribbonDialogs) release(d);
}

QWidget* COrbiskDoc::dialogParent() const {
  return ShellEvents::instance().messageOwner();
}

const RibbonSet& COrbiskDoc::ribbonSet(int graphType) const {
  static const RibbonSet empty;
  return isRibbonType(graphType) ? m_ribbons[graphType - TimeWindowDetail] : empty;
}

void COrbiskDoc::setThresholdNames(const QStringList& names) {
  m_thresholdNames = ThresholdNames(names);
}

void COrbiskDoc::SetFreqRange(double low, double high) {
  m_lowerFrequency = low;
  m_upperFrequency = high;
}

ProgressDialog* COrbiskDoc::progressDialog(int graphType) const {
  switch (graphType) {
    case TimeWindowSummary: return m_summaryDialog.data();
    case OneFreqTimeWindow: return m_frequencyDialog.data();
    default: return isRibbonType(graphType) ? m_ribbonDialogs[graphType - TimeWindowDetail].data() : nullptr;
  }
}

ProgressDialog& COrbiskDoc::dialogFor(int graphType) {
  if (graphType == TimeWindowSummary) {
    if (!m_summaryDialog) m_summaryDialog = new CTWSGetDataDialog(dialogParent());
    return *m_summaryDialog;
  }
  if (graphType == OneFreqTimeWindow) {
    if (!m_frequencyDialog) m_frequencyDialog = new SFGetDataDialog(dialogParent());
    return *m_frequencyDialog;
  }
  auto& dialog = m_ribbonDialogs[graphType - TimeWindowDetail];
  if (!dialog) dialog = new CGetDataDialog(graphType, dialogParent());
  return *dialog;
}

std::shared_ptr<FetchJob> COrbiskDoc::runFetch(const GraphQuery& query, ProgressDialog& dialog,
                                               bool withThresholds, bool& ok) {
  FetchTarget target = fetchTarget();
  // Without the objects the worker reads no threshold table.
  if (!withThresholds) target.objects.reset();
  const auto job = std::make_shared<FetchJob>(query, target, m_pacing);
  if (m_pollMs > 0) dialog.setPollInterval(m_pollMs);

  const QPointer<COrbiskDoc> self(this);
  m_job = job;
  m_fetching = true;
  job->start();
  ok = false;
  {
    // The box waits for the user's Cancel; the worker's messages show in it.
    const NormalCursor arrow;
    ok = dialog.run(*job);
  }
  job->join();
  if (!self) return nullptr;
  m_fetching = false;
  m_job.reset();
  return job;
}

bool COrbiskDoc::RunReport(GraphQuery query) {
  WaitCursor cursor;
  if (m_fetching) return false;
  if (!m_session.CheckPermission()) return false;
  const int type = query.graphType;
  if (!isValidGraphType(type)) return false;

  bool ok = false;
  const auto job = runFetch(query, dialogFor(type), true, ok);
  if (!job) return false;
  m_lastJob = job;

  // The threshold table is the port's: kept whenever it was read.
  if (type == TimeWindowSummary && job->hasThresholdTable()) {
    m_thresholds = job->thresholdTable();
    m_thresholdEntries = job->thresholdEntries();
  }
  emit fetchEnded();
  if (!ok) return false;

  if (isRibbonType(type))
    m_ribbons[type - TimeWindowDetail] = std::move(job->ribbons());
  else
    m_series = std::move(job->series());
  m_reportQuery = query;

  emit reportReady(type);
  return true;
}

FetchTarget COrbiskDoc::fetchTarget() const {
  FetchTarget target;
  target.data = m_session.dataServer();
  target.objects = m_session.objects();
  target.dataClass = m_session.serverClass().toStdString();
  target.node = m_session.node();
  target.token = m_session.token();
  return target;
}

void COrbiskDoc::adoptRefresh(FetchJob& job) {
  const GraphQuery& query = job.query();
  const int type = query.graphType;
  if (type == TimeWindowSummary && job.hasThresholdTable()) {
    m_thresholds = job.thresholdTable();
    m_thresholdEntries = job.thresholdEntries();
  }
  if (!job.succeeded()) return;
  if (isRibbonType(type))
    m_ribbons[type - TimeWindowDetail] = std::move(job.ribbons());
  else
    m_series = std::move(job.series());
  m_reportQuery = query;
  emit reportRefreshed(type);
}

bool COrbiskDoc::RunComparison(const GraphQuery& shown, const GraphQuery& earlier) {
  WaitCursor cursor;
  const int type = earlier.graphType;
  if (m_fetching || !isValidGraphType(type) || type != shown.graphType) return false;
  // The report's own box, whose failures would end the program: for this
  // fetch they are said and the program goes on.
  QPointer<ProgressDialog> dialog = &dialogFor(type);
  dialog->setFailureNote(Strings::IDS_UI_COMPARE_FAILED);
  bool ok = false;
  const auto job = runFetch(earlier, *dialog, false, ok);
  if (dialog) dialog->setFailureNote(0);
  if (!job) return false;
  emit fetchEnded();
  if (!ok) return false;

  m_comparison.shown = shown;
  m_comparison.earlier = earlier;
  m_comparison.ribbons.clear();
  m_comparison.series.clear();
  if (isRibbonType(type))
    m_comparison.ribbons = std::move(job->ribbons());
  else
    m_comparison.series = std::move(job->series());
  m_comparison.active = true;
  emit comparisonReady(type);
  return true;
}
