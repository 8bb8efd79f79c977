#pragma once

#include "core/ThresholdNames.h"
#include "query/GraphQuery.h"

#include <QDialog>
#include <QStringList>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QRadioButton;
class QuarterTimeEdit;
class FrequencyEdit;

// The modal "New Graph" dialog: edits a GraphQuery, lays itself out per report
// type and refuses requests that fail the New Graph checks, one message per
// failed check, staying open with the user's input in place.
class CORBPropertiesDlg : public QDialog {
  Q_OBJECT
public:
  explicit CORBPropertiesDlg(QWidget* parent = nullptr);

  GraphQuery& query() { return m_query; }
  const GraphQuery& query() const { return m_query; }
  void setQuery(const GraphQuery& q) { m_query = q; }

  // Frequency range (MHz) of the single-frequency check and spin.
  void setFrequencyRange(double lower, double upper);
  // The four threshold names shown in the statistic labels.
  void setThresholdNames(const QStringList& names);
  // The tick state the next opening shows (a launch may pre-set it).
  void setUpToTheSecond(bool ticked) { m_upToTheSecondAtLastOk = ticked; }
  // The next opening keeps the record as given instead of loading the last
  // selection (a command-line launch pre-fills it).
  void setOpenedByLaunch(bool launched) { m_openedByLaunch = launched; }
  // Whether the session was launched with a reference time: then the
  // dialog's first load of the selection resets the type and the increment
  // instead of reading them; later loads read them.
  void setLaunchedWithReferenceTime(bool launched) { m_launchedWithReferenceTime = launched; }

  bool cancelled() const { return m_cancelled; }
  void clearCancelled() { m_cancelled = false; }

  // Loads the selection and fills the controls; exec() calls it.
  void prepareToShow();
  int exec() override;

public slots:
  void accept() override;
  void reject() override;

signals:
  // F1 in the dialog: the help at the dialog's topic.
  void helpRequested();

private:
  void buildControls();
  void applyLayout();
  void showWindow();
  void collectFromControls();
  void setStatisticLabels();
  void writeEndTime(const QDateTime& local);
  void writeStartTime(const QDateTime& local);

  void onTypeChanged(int index);
  void onIncrementChanged(int index);
  void onUpToTheSecondToggled(bool ticked);
  void onStartTimeLeft();
  void onEndTimeLeft();
  void onStartDateLeft();

  GraphQuery m_query;
  ThresholdNames m_thresholdNames;
  double m_lowerFrequency = 0.0;
  double m_upperFrequency = 0.0;
  bool m_upToTheSecondAtLastOk = false;
  bool m_openedByLaunch = false;
  bool m_launchedWithReferenceTime = false;
  bool m_loadedOnce = false;
  bool m_cancelled = false;

  QComboBox* m_type = nullptr;
  QDateEdit* m_startDate = nullptr;
  QuarterTimeEdit* m_startTime = nullptr;
  QDateEdit* m_endDate = nullptr;
  QuarterTimeEdit* m_endTime = nullptr;
  QCheckBox* m_upToTheSecond = nullptr;
  std::array<QCheckBox*, Statistic::kCount> m_checks{};
  std::array<QRadioButton*, Statistic::kCount> m_radios{};
  QButtonGroup* m_radioGroup = nullptr;
  QLabel* m_frequencyLabel = nullptr;
  FrequencyEdit* m_frequency = nullptr;
  QLabel* m_frequencyUnit = nullptr;
  QLabel* m_incrementLabel = nullptr;
  QComboBox* m_increment = nullptr;
};
