#include "views/CPropsDlg3D.h"

#include "core/Prompts.h"
#include "query/GraphType.h"
#include "support/RecordingPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

ViewSettingsSource source() {
  ViewSettingsSource s;
  for (int i = 0; i < 241; ++i) s.frequencies << 5.0 + 0.25 * i;  // 5 to 65 MHz
  s.startFrequency = 10.1;                                        // not a list frequency: shown as 10.0
  s.stopFrequency = 60.0;
  s.singleFrequency = 33.125;
  s.range = 50;
  s.minimumRange = 55;
  return s;
}

class PropsDialogTest : public ::testing::Test {
protected:
  void SetUp() override { m_dlg.prepare(TwentyFourHour, false, true, source(), 5); }
  QDoubleSpinBox* edit(const char* name) { return m_dlg.findChild<QDoubleSpinBox*>(name); }
  QSpinBox* range() { return m_dlg.findChild<QSpinBox*>("edit1007"); }
  QComboBox* combo(const char* name) { return m_dlg.findChild<QComboBox*>(name); }
  void type(QDoubleSpinBox* e, double v) {
    e->setValue(v);
    emit e->editingFinished();
  }

  RecordingPrompts m_prompts;
  ScopedPrompts m_scope{m_prompts};
  CPropsDlg3D m_dlg;
};

// Opens on the nearest list frequencies; spins and typed values stay on the
// list, the range spin within its band.
TEST_F(PropsDialogTest, FrequenciesStayOnTheListAndTheRangeInItsBand) {
  EXPECT_DOUBLE_EQ(edit("edit1001")->value(), 10.0);
  EXPECT_EQ(combo("combo1014")->currentIndex(), 1);
  EXPECT_EQ(range()->value(), 50);
  edit("edit1001")->stepBy(1);
  EXPECT_DOUBLE_EQ(edit("edit1001")->value(), 10.25);
  edit("edit1002")->stepBy(-2);
  EXPECT_DOUBLE_EQ(edit("edit1002")->value(), 59.5);
  range()->stepBy(1);
  range()->stepBy(-1);  // 50 would be below the report's minimum of 55
  EXPECT_EQ(range()->value(), 55);
  type(edit("edit1001"), 12.4);
  EXPECT_DOUBLE_EQ(edit("edit1001")->value(), 12.25);
  type(edit("edit1001"), 1.0);
  EXPECT_DOUBLE_EQ(edit("edit1001")->value(), 5.0);
}

TEST_F(PropsDialogTest, ANonRoundPlanShowsTellableFrequenciesAndAppliesThemWhole) {
  ViewSettingsSource s = source();
  s.frequencies.clear();
  for (int i = 0; i < 500; ++i) s.frequencies << 5.0 + 60.0 * i / 499;
  s.startFrequency = s.frequencies[1];
  s.stopFrequency = s.frequencies[498];
  m_dlg.prepare(TwentyFourHour, false, true, s, 5);
  QDoubleSpinBox* start = edit("edit1001");
  EXPECT_EQ(start->text(), "5.1202");
  EXPECT_EQ(edit("edit1002")->text(), "64.8798");
  start->stepBy(1);
  EXPECT_EQ(start->text(), "5.2405");
  start->stepBy(-1);
  emit start->editingFinished();
  EXPECT_EQ(start->text(), "5.1202");
  m_dlg.accept();
  ASSERT_EQ(m_dlg.result(), QDialog::Accepted);
  EXPECT_EQ(m_dlg.settings().startFrequency, s.frequencies[1]);
  EXPECT_EQ(m_dlg.settings().stopFrequency, s.frequencies[498]);
}

TEST_F(PropsDialogTest, OkRefusesStopNotAboveStartAndAppliesNothing) {
  type(edit("edit1001"), 40.0);
  type(edit("edit1002"), 40.1);  // snaps to 40.0
  m_dlg.accept();
  EXPECT_EQ(m_dlg.result(), QDialog::Rejected);
  ASSERT_EQ(m_prompts.texts.size(), 1);
  EXPECT_EQ(m_prompts.texts[0], "Stop frequency must be greater than start frequency.");
  EXPECT_DOUBLE_EQ(m_dlg.settings().stopFrequency, ViewSettings{}.stopFrequency);
}

TEST_F(PropsDialogTest, OkClampsTheRangeAndReadsTheCombos) {
  range()->setValue(150);
  combo("combo1014")->setCurrentIndex(2);
  m_dlg.accept();
  EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(m_prompts.texts.isEmpty());
  const ViewSettings s = m_dlg.settings();
  EXPECT_EQ(s.range, 100);
  EXPECT_EQ(s.referenceStep, 2);
  EXPECT_EQ(m_dlg.stepItem(), 2);
  EXPECT_DOUBLE_EQ(s.startFrequency, 10.0);
  EXPECT_DOUBLE_EQ(s.stopFrequency, 60.0);
}

TEST_F(PropsDialogTest, OneFrequencyShowsItsFrequencyAndChecksNone) {
  combo("combo1373")->setCurrentIndex(1);
  m_dlg.prepare(OneFreqTimeWindow, false, true, source(), 10);
  EXPECT_DOUBLE_EQ(edit("edit1001")->value(), 33.125);
  EXPECT_FALSE(edit("edit1001")->isEnabled());
  EXPECT_TRUE(edit("edit1002")->isHidden());
  EXPECT_EQ(m_dlg.windowTitle(), "2D Graph Properties");
  m_dlg.accept();
  EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(m_prompts.texts.isEmpty());
  EXPECT_EQ(m_dlg.settings().scale, 5);  // the scale item is kept between openings
}

TEST_F(PropsDialogTest, LevelCombosFollowTheDrawnTraces) {
  m_dlg.prepare(TimeWindowSummary, false, false, source(), 10);
  EXPECT_FALSE(combo("combo1373")->isEnabled());
  EXPECT_FALSE(combo("combo1014")->isEnabled());
  EXPECT_TRUE(range()->isHidden());
  // Named by their labels, not by the item a screen reader would read.
  EXPECT_EQ(combo("combo1373")->accessibleName(), "Scale (dB/Div):");
  EXPECT_EQ(combo("combo1014")->accessibleName(), "Ref Level Step (dB):");
  EXPECT_EQ(edit("edit1002")->accessibleName(), "Stop Frequency (MHz):");
  m_dlg.show();  // the two combos stand one above the other, alike
  EXPECT_EQ(combo("combo1373")->geometry().left(), combo("combo1014")->geometry().left());
  EXPECT_EQ(combo("combo1373")->width(), combo("combo1014")->width());
}

}  // namespace
