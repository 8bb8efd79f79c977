#include "app/LiveStatus.h"

#include "query/BusyIndicator.h"
#include "resources/Strings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

LiveStatus::LiveStatus(QWidget* parent)
    : QWidget(parent),
      m_busy(new BusyIndicator(this)),
      m_text(new QLabel(this)),
      m_cancel(new QToolButton(this)) {
  setObjectName(QStringLiteral("liveStatus"));
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  m_busy->setFixedSize(16, 16);
  m_cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  m_cancel->setAutoRaise(true);
  m_cancel->setFixedSize(18, 18);
  m_cancel->setObjectName(QStringLiteral("liveCancel"));
  m_cancel->setToolTip(Strings::LoadString(Strings::IDS_FOLLOW_CANCEL_TIP));
  m_cancel->setAccessibleName(m_cancel->toolTip());
  m_text->setObjectName(QStringLiteral("liveText"));
  // The sign and the button come and go without moving the text.
  for (QWidget* w : {static_cast<QWidget*>(m_busy), static_cast<QWidget*>(m_cancel)}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
  }
  row->addWidget(m_busy);
  row->addWidget(m_text);
  row->addWidget(m_cancel);
  connect(m_cancel, &QToolButton::clicked, this, &LiveStatus::cancelRequested);
  showStatus(false, QString());
}

void LiveStatus::showStatus(bool busy, const QString& text) {
  m_text->setText(text);
  m_text->setToolTip(text);
  m_busy->setVisible(busy);
  m_cancel->setVisible(busy);
  if (busy)
    m_busy->start();
  else
    m_busy->stop();
  setVisible(!text.isEmpty());
}

QString LiveStatus::text() const {
  return m_text->text();
}

bool LiveStatus::busy() const {
  return m_busy->isRunning();
}
