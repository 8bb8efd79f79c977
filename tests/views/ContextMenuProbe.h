#pragma once

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

// Right-clicks `widget` at `pos` through its window, the way a user's click
// arrives, and answers the items of the menu that opens (closed unused);
// empty when none opens.
inline QStringList contextMenuItems(QWidget& widget, QPoint pos) {
  QStringList items;
  QTimer probe;
  probe.setSingleShot(true);
  QObject::connect(&probe, &QTimer::timeout, [&items] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (const QAction* a : menu->actions())
        if (!a->isSeparator()) items << a->text();
      menu->close();
    }
  });
  probe.start(0);
  QWidget* top = widget.window();
  QTest::mouseClick(top->windowHandle(), Qt::RightButton, Qt::NoModifier, widget.mapTo(top, pos));
  return items;
}
