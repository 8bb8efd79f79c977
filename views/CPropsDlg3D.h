#pragma once

#include "views/GraphPropsRules.h"
#include "views/ViewSettings.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QSpinBox;

// The graph property dialog: the visible frequency range, the amplitude
// range (3D) or scale (2D) and the reference-level step of the report on
// show. The main frame owns one for the program's lifetime; each opening
// sets every control from the report (the scale from the last OK), so
// nothing a Cancel left stays. The rules live in GraphPropsRules.
class CPropsDlg3D : public QDialog {
  Q_OBJECT
public:
  explicit CPropsDlg3D(QWidget* parent = nullptr);

  // Prepares one opening for a report type. `levelTraceDrawn`: a 2D report
  // draws its average, maximum or minimum.
  void prepare(int graphType, bool percent, bool levelTraceDrawn, const ViewSettingsSource& source,
               int referenceStep);

  // What OK accepted; valid after exec() returned Accepted.
  ViewSettings settings() const { return m_result; }
  // The step combo's item (0, 1 or 2), the value "Step Size" stores.
  int stepItem() const;
  int graphType() const { return m_graphType; }

  void accept() override;

signals:
  void helpRequested();

private:
  // Re-reads a frequency edit and snaps it to the result's frequency list.
  void snap(QDoubleSpinBox* edit, int& index);
  void spinFrequency(QDoubleSpinBox* edit, int& index, int steps);
  void refuse(GraphPropsRules::Refusal refusal);

  int m_graphType = 0;
  GraphPropsRules::Layout m_layout;
  ViewSettingsSource m_source;
  int m_startIndex = 0;
  int m_stopIndex = 0;
  ViewSettings m_result;
  // The scale item of the last OK: a cancelled choice must not come back.
  int m_scaleItem = 0;

  QGroupBox* m_amplitude = nullptr;
  QLabel* m_startLabel = nullptr;
  QLabel* m_stopLabel = nullptr;
  QLabel* m_rangeLabel = nullptr;
  QLabel* m_stepLabel = nullptr;
  QDoubleSpinBox* m_start = nullptr;
  QDoubleSpinBox* m_stop = nullptr;
  QSpinBox* m_range = nullptr;
  QComboBox* m_scale = nullptr;
  QComboBox* m_step = nullptr;
};
