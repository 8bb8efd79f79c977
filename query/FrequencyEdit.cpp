#include "query/FrequencyEdit.h"

#include "query/NewGraphRules.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <limits>

FrequencyEdit::FrequencyEdit(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_up(new QToolButton(this)),
      m_down(new QToolButton(this)) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  row->addWidget(m_edit, 1);
  auto* arrows = new QVBoxLayout;
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  for (QToolButton* b : {m_up, m_down}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    arrows->addWidget(b);
  }
  m_up->setArrowType(Qt::UpArrow);
  m_down->setArrowType(Qt::DownArrow);
  row->addLayout(arrows);
  setFocusProxy(m_edit);
  m_edit->installEventFilter(this);
  connect(m_up, &QToolButton::clicked, this, [this] { stepBy(-1); });
  connect(m_down, &QToolButton::clicked, this, [this] { stepBy(1); });
}

void FrequencyEdit::setRange(double lower, double upper) {
  m_lower = lower;
  m_upper = upper;
}

double FrequencyEdit::value() const {
  const QString text = m_edit->text().trimmed();
  bool ok = false;
  double v = QLocale::c().toDouble(text, &ok);
  if (!ok) v = QLocale().toDouble(text, &ok);
  return ok && std::isfinite(v) ? v : std::numeric_limits<double>::quiet_NaN();
}

void FrequencyEdit::setValue(double mhz) {
  m_edit->setText(std::isfinite(mhz) ? QString::number(mhz, 'f', 3) : QString());
}

void FrequencyEdit::stepBy(int delta) {
  double v = value();
  if (std::isnan(v)) v = m_lower;
  setValue(NewGraphRules::stepFrequency(v, delta, m_lower, m_upper));
}

bool FrequencyEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_edit && isEnabled()) {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Up || key == Qt::Key_Down) {
        stepBy(key == Qt::Key_Up ? -1 : 1);
        return true;
      }
    } else if (event->type() == QEvent::Wheel) {
      const int dy = static_cast<QWheelEvent*>(event)->angleDelta().y();
      if (dy != 0) {
        stepBy(dy > 0 ? -1 : 1);
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}
