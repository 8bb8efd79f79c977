#include "views/ChartAppearanceDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct ToyLook {
  int width = 1;
  int pattern = 2;
  int shown = 1;
  int colour = 0x0000FF;
  QString title;
  AppearanceFields fields() {
    using K = AppearanceField::Kind;
    return {{.page = "Border", .label = "Width:", .kind = K::Number, .value = &width, .maximum = 10},
            {.page = "Grid Lines",
             .label = "Pattern:",
             .kind = K::Choice,
             .value = &pattern,
             .choices = {"None", "Solid", "Dash"}},
            {.page = "Border", .label = "Colour:", .kind = K::Colour, .value = &colour},
            {.page = "Legend", .label = "Shown:", .kind = K::Flag, .value = &shown},
            {.page = "Legend", .label = "Title:", .kind = K::Text, .text = &title}};
  }
};

TEST(ChartAppearanceDialogTest, PagesInOrderAndEveryChangePreviews) {
  ToyLook look;
  int previews = 0;
  ChartAppearanceDialog dialog(look.fields(), [&] { ++previews; });
  EXPECT_EQ(dialog.pages(), (QStringList{"Border", "Grid Lines", "Legend"}));
  EXPECT_EQ(dialog.findChild<QTabWidget*>()->count(), 3);

  dialog.findChild<QSpinBox*>()->setValue(4);
  dialog.findChild<QComboBox*>()->setCurrentIndex(0);
  dialog.findChild<QCheckBox*>()->setChecked(false);
  QLineEdit* title = dialog.findChild<QLineEdit*>();
  title->setText("Level");
  emit title->textEdited("Level");
  EXPECT_EQ(std::tuple(look.width, look.pattern, look.shown, look.title, previews),
            std::tuple(4, 0, 0, QString("Level"), 4));
}

TEST(ChartAppearanceDialogTest, OpensWideEnoughForEveryPageName) {
  // As many pages as a 2D chart with all its series in use.
  AppearanceFields fields;
  int value = 0;
  for (const char* page : {"Border", "Interior", "Chart Area", "Plot Area", "Grid Lines", "Average",
                           "Maximum", "Minimum", "% Beyond Ingress Critical", "% Beyond Ingress Major"})
    fields.push_back(
        {.page = page, .label = "Width:", .kind = AppearanceField::Kind::Number, .value = &value});
  ChartAppearanceDialog dialog(fields, {});
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const QTabBar* bar = dialog.findChild<QTabWidget*>()->tabBar();
  EXPECT_LE(bar->tabRect(bar->count() - 1).right(), bar->width());
  for (const QToolButton* arrow : bar->findChildren<QToolButton*>()) EXPECT_FALSE(arrow->isVisible());
}

}  // namespace
