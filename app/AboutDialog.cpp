#include "app/AboutDialog.h"

#include "app/BuildInfo.h"
#include "core/CNBDateTime.h"
#include "resources/Strings.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}

// The program's emblem: three ribbons of a report over a dark tile.
QPixmap emblem(int size, qreal ratio) {
  QPixmap pm(QSize(size, size) * ratio);
  pm.setDevicePixelRatio(ratio);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x4e, 0x79));
  p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
  const QColor colours[] = {QColor(0x8e, 0xc5, 0xff), QColor(0xff, 0xd1, 0x66), QColor(0xff, 0x8a, 0x80)};
  for (int r = 0; r < 3; ++r) {
    QPainterPath path;
    const qreal base = size * (0.72 - r * 0.17);
    path.moveTo(size * 0.14, base);
    for (int i = 1; i <= 6; ++i) {
      const qreal x = size * (0.14 + i * 0.12);
      const qreal y = base - size * (((i * (r + 2)) % 5) * 0.035 + (i == 3 ? 0.12 : 0.0));
      path.lineTo(x, y);
    }
    p.setPen(QPen(colours[r], size * 0.055, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
  }
  return pm;
}

QLabel* makeLabel(const QString& s, QWidget* parent) {
  auto* l = new QLabel(s, parent);
  l->setAccessibleName(s);
  l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return l;
}

}  // namespace

QString AboutDialog::versionText() {
  return text(Strings::IDS_UI_ABOUT_VERSION).arg(BuildInfo::version());
}

QString AboutDialog::buildText() {
  return text(Strings::IDS_UI_ABOUT_BUILT).arg(CNBDateTime::FormatBuildTime(BuildInfo::buildTime()));
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(text(Strings::IDS_UI_ABOUT_TITLE));
  setAccessibleName(windowTitle());

  auto* icon = new QLabel(this);
  icon->setPixmap(emblem(64, devicePixelRatioF()));
  icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  icon->setAccessibleName(text(Strings::IDS_APP_TITLE));

  auto* name = makeLabel(text(Strings::IDS_APP_TITLE), this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  big.setBold(true);
  name->setFont(big);

  auto* version = makeLabel(versionText(), this);
  auto* built = makeLabel(buildText(), this);
  auto* blurb = makeLabel(text(Strings::IDS_UI_ABOUT_TEXT), this);
  blurb->setWordWrap(true);
  blurb->setMinimumWidth(fontMetrics().averageCharWidth() * 52);

  auto* texts = new QVBoxLayout;
  texts->addWidget(name);
  texts->addWidget(version);
  texts->addWidget(built);
  texts->addSpacing(8);
  texts->addWidget(blurb);

  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(texts, 1);

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setText(text(Strings::IDS_UI_OK));
  ok->setAccessibleName(ok->text());
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(line);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}
