#include "views/ChartAppearanceDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

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
  bool operator==(const ToyLook&) const = default;
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
  EXPECT_EQ(look.width, 4);
  EXPECT_EQ(look.pattern, 0);
  EXPECT_EQ(look.shown, 0);
  EXPECT_EQ(look.title, "Level");
  EXPECT_EQ(previews, 4);
}

// Cancel takes the previews back from the record and the chart; OK keeps them.
TEST(ChartAppearanceDialogTest, CancelPutsRecordAndChartBackOkKeepsTheEdit) {
  for (const bool accept : {false, true}) {
    ToyLook look;
    const ToyLook before = look;
    ToyLook onChart;
    QTimer::singleShot(0, [accept] {
      auto* dialog = qobject_cast<ChartAppearanceDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->findChild<QSpinBox*>()->setValue(3);
      accept ? dialog->accept() : dialog->reject();
    });
    EXPECT_EQ(editAppearance<ToyLook>(nullptr, look, [&](const ToyLook& l) { onChart = l; }), accept);
    EXPECT_EQ(look.width, accept ? 3 : before.width);
    EXPECT_EQ(onChart, accept ? look : before);  // a cancelled preview is taken back
  }
}

}  // namespace
