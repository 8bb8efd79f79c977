#pragma once

#include "chart/SurfaceBackend.h"

#include <QString>
#include <QValue3DAxisFormatter>
#include <QVector>

// Places exactly the labels and grid lines it is given, at axis values,
// instead of the surface's evenly spaced ones. Values outside the axis
// range are left out.
class FixedAxisFormatter : public QValue3DAxisFormatter {
  Q_OBJECT
public:
  using Label = SurfaceBackend::Label;

  explicit FixedAxisFormatter(QObject* parent = nullptr);

  void setMarks(const QVector<Label>& labels, const QVector<double>& gridValues);

protected:
  QValue3DAxisFormatter* createNewInstance() const override;
  void recalculate() override;
  void populateCopy(QValue3DAxisFormatter& copy) const override;

private:
  QVector<Label> m_labels;
  QVector<double> m_grid;
};
