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
  m_cancel->setAutoRaise(true);
  m_cancel->setFixedSize(18, 18);
  m_cancel->setObjectName(QStringLiteral("liveCancel"));
  m_cancel->setToolTip(Strings::LoadString(Strings::IDS_FOLLOW_CANCEL_TIP));
  m_cancel->setAccessibleName(m_cancel->toolTip());
  m_text->setObjectName(QStringLiteral("liveText"));
  // The sign and the button stay in place and only look idle between
  // refreshes: showing and hiding them cost each refresh more of the UI
  // thread than everything else it does apart from the view's rebuild.
  m_busy->setBlankWhenStopped(true);
  row->addWidget(m_busy);
  row->addWidget(m_text);
  row->addWidget(m_cancel);
  connect(m_cancel, &QToolButton::clicked, this, &LiveStatus::cancelRequested);
  showStatus(false, QString());
}

void LiveStatus::showStatus(bool busy, const QString& text) {
  m_text->setText(text);
  m_text->setToolTip(text);
  if (busy != m_cancel->isEnabled()) {
    m_cancel->setEnabled(busy);
    // Looked up on the first refresh, not with the window: finding the
    // theme's icon was a tenth of the program's start.
    if (busy && m_cancelIcon.isNull()) m_cancelIcon = style()->standardIcon(QStyle::SP_DialogCancelButton);
    m_cancel->setIcon(busy ? m_cancelIcon : QIcon());
  }
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
