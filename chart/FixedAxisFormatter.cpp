#include "chart/FixedAxisFormatter.h"

#include <QValue3DAxis>

#include <algorithm>

FixedAxisFormatter::FixedAxisFormatter(QObject* parent) : QValue3DAxisFormatter(parent) {}

void FixedAxisFormatter::setMarks(const QVector<Label>& labels, const QVector<double>& gridValues) {
  m_labels = labels;
  m_grid = gridValues;
  markDirty(true);
}

QValue3DAxisFormatter* FixedAxisFormatter::createNewInstance() const { return new FixedAxisFormatter(); }

void FixedAxisFormatter::recalculate() {
  gridPositions().clear();
  subGridPositions().clear();
  labelPositions().clear();
  labelStrings().clear();
  const double low = axis()->min();
  const double span = axis()->max() - low;
  if (!(span > 0.0)) return;
  // A little slack so a mark exactly on an end is not lost to rounding.
  constexpr double kSlack = 1e-6;
  for (double v : m_grid) {
    const double p = (v - low) / span;
    if (p >= -kSlack && p <= 1.0 + kSlack) gridPositions().append(static_cast<float>(std::clamp(p, 0.0, 1.0)));
  }
  for (const Label& l : m_labels) {
    const double p = (l.value - low) / span;
    if (p < -kSlack || p > 1.0 + kSlack) continue;
    labelPositions().append(static_cast<float>(std::clamp(p, 0.0, 1.0)));
    labelStrings().append(l.text);
  }
}

void FixedAxisFormatter::populateCopy(QValue3DAxisFormatter& copy) const {
  QValue3DAxisFormatter::populateCopy(copy);
  auto& mine = static_cast<FixedAxisFormatter&>(copy);
  mine.m_labels = m_labels;
  mine.m_grid = m_grid;
}
