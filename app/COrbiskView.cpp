#include "app/COrbiskView.h"

#include <QLabel>
#include <QVBoxLayout>

COrbiskView::COrbiskView(QWidget* parent)
    : QWidget(parent),
      m_name(new QLabel(this)),
      m_description(new QLabel(this)),
      m_header(new QLabel(this)),
      m_contents(new QLabel(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 24, 24, 24);
  QFont title = m_name->font();
  title.setPointSizeF(title.pointSizeF() * 1.5);
  title.setBold(true);
  m_name->setFont(title);
  m_description->setWordWrap(true);
  m_header->setTextInteractionFlags(Qt::TextSelectableByMouse);
  for (QLabel* l : {m_name, m_description, m_header, m_contents}) {
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(l);
  }
  layout->addStretch(1);
  setObjectName(QStringLiteral("placeholderView"));
}

void COrbiskView::showReport(const QString& name, const QString& description, const QStringList& headerLines,
                             const QString& contents) {
  m_name->setText(name);
  m_description->setText(description);
  m_header->setText(headerLines.join(QLatin1Char('\n')));
  m_contents->setText(contents);
  setAccessibleName(name);
}

void COrbiskView::clear() { showReport({}, {}, {}, {}); }
