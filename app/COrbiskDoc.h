#pragma once

#include "core/CNBDateTime.h"
#include "core/LevelUnit.h"
#include "core/StartupSettings.h"
#include "core/ThresholdNames.h"
#include "query/Comparison.h"
#include "query/FetchPacing.h"
#include "query/FetchTarget.h"
#include "query/GraphQuery.h"
#include "query/RibbonSet.h"
#include "query/SeriesStore.h"
#include "server/Blocks.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class CGetDataDialog;
class FetchJob;
class CTWSGetDataDialog;
class ProgressDialog;
class SFGetDataDialog;
class ServerSession;
class QWidget;

// The document: runs report requests and keeps what they fetched for the
// views. Each answer replaces the last one of its type only when it arrived
// whole, so a failed or cancelled request leaves the shown report intact.
class COrbiskDoc : public QObject {
  Q_OBJECT
public:
  explicit COrbiskDoc(ServerSession& session, QObject* parent = nullptr);
  ~COrbiskDoc() override;

  // Checks permission, fetches the request behind its progress dialog and,
  // on success, hands the report to the frame and updates the views.
  bool RunReport(GraphQuery query);

  // Fetches `earlier`, an earlier period of the report on show, behind the
  // report type's progress box. A failure or Cancel shows what happened and
  // leaves the report and any comparison as they were; it never ends the
  // program. On success the comparison holds the answer (the shift fields
  // are the caller's) and comparisonReady is sent.
  bool RunComparison(const GraphQuery& shown, const GraphQuery& earlier);
  // The comparison of the report on show; inactive when there is none.
  Comparison& comparison() { return m_comparison; }
  const Comparison& comparison() const { return m_comparison; }

  // The last successful answers.
  const RibbonSet& ribbonSet(int graphType) const;
  const SeriesStore& seriesStore() const { return m_series; }
  bool hasThresholdTable() const { return m_thresholdEntries > 0; }
  const ThresholdTable& thresholdTable() const { return m_thresholds; }
  int thresholdEntries() const { return m_thresholdEntries; }
  // The request behind each answer.
  const GraphQuery& reportQuery() const { return m_reportQuery; }

  // What the launch asked for, beyond the connection.
  LevelUnit levelUnit() const { return m_levelUnit; }
  void setLevelUnit(LevelUnit unit) { m_levelUnit = unit; }
  CNBDateTime launchStart() const { return m_launchStart; }
  void setLaunchStart(const CNBDateTime& t) { m_launchStart = t; }
  bool datesSupplied() const { return m_datesSupplied; }
  void setDatesSupplied(bool s) { m_datesSupplied = s; }
  // Report text, chart-properties switch and reference-level step.
  StartupSettings& startup() { return m_startup; }
  const StartupSettings& startup() const { return m_startup; }

  // Launch state the views read.
  QStringList thresholdNames() const { return m_thresholdNames.list(); }
  void setThresholdNames(const QStringList& names);
  double lowerFrequency() const { return m_lowerFrequency; }
  double upperFrequency() const { return m_upperFrequency; }
  void SetFreqRange(double low, double high);

  ServerSession& session() { return m_session; }
  // The waits between polls of the server and of the progress box's done
  // flag (tests make them short).
  void setPacing(const FetchPacing& pacing) { m_pacing = pacing; }
  void setPollInterval(int ms) { m_pollMs = ms; }
  // A fetch is running: its progress box is up.
  bool isFetching() const { return m_fetching; }
  // The progress dialog of a type, once it has been used (tests drive it).
  ProgressDialog* progressDialog(int graphType) const;
  // The job of the fetch that runs now; null between fetches.
  const FetchJob* runningFetch() const { return m_job.get(); }
  // The last request's job, finished; null before the first.
  const FetchJob* lastFetch() const { return m_lastJob.get(); }

  // What a fetch's worker needs of the session now.
  FetchTarget fetchTarget() const;
  const FetchPacing& pacing() const { return m_pacing; }
  // A follow refresh that arrived whole: its answer replaces the report's
  // (the port's threshold table too, when it was read) and the views are
  // told to rebuild keeping what the user set.
  void adoptRefresh(FetchJob& job);

signals:
  // A follow refresh of this type's report arrived.
  void reportRefreshed(int graphType);
  // A report of this type was fetched: the frame shows its view.
  void reportReady(int graphType);
  // A fetch's progress box has gone, whatever the fetch's outcome.
  void fetchEnded();
  // An earlier period was fetched for the report of this type.
  void comparisonReady(int graphType);

private:
  ProgressDialog& dialogFor(int graphType);
  // Runs `query` on a worker behind `dialog` (reading the port's threshold
  // table too when asked); null when the document went meanwhile, else the
  // joined job, `ok` true when it fetched everything.
  std::shared_ptr<FetchJob> runFetch(const GraphQuery& query, ProgressDialog& dialog, bool withThresholds,
                                     bool& ok);
  QWidget* dialogParent() const;

  ServerSession& m_session;
  FetchPacing m_pacing;
  int m_pollMs = 0;  // 0: the box's own interval
  bool m_fetching = false;
  // Shared with RunReport's frame, so a document destroyed while its
  // progress box is up leaves the job to that frame, which joins it.
  std::shared_ptr<FetchJob> m_job;
  std::shared_ptr<FetchJob> m_lastJob;
  // The dialogs are children of the main window (so they centre on it and go
  // with it); one made while there is no window belongs to the document.
  QPointer<CTWSGetDataDialog> m_summaryDialog;
  QPointer<SFGetDataDialog> m_frequencyDialog;
  std::array<QPointer<CGetDataDialog>, 4> m_ribbonDialogs;

  GraphQuery m_reportQuery;
  Comparison m_comparison;
  std::array<RibbonSet, 4> m_ribbons;  // types 2 to 5
  SeriesStore m_series;
  ThresholdTable m_thresholds{};
  int m_thresholdEntries = 0;
  ThresholdNames m_thresholdNames;
  LevelUnit m_levelUnit;
  CNBDateTime m_launchStart;
  bool m_datesSupplied = false;
  StartupSettings m_startup;
  double m_lowerFrequency = 0.0;
  double m_upperFrequency = 0.0;
};
