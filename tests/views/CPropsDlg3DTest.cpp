#include "views/CPropsDlg3D.h"

#include "core/Prompts.h"
#include "query/GraphType.h"
#include "support/QtPrinters.h"
#include "support/RecordingPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
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
  const auto shown = [&] {
    return std::tuple(edit("edit1001")->value(), edit("edit1002")->value(), range()->value());
  };
  EXPECT_EQ(shown(), std::tuple(10.0, 60.0, 50));
  EXPECT_EQ(combo("combo1014")->currentIndex(), 1);
  const std::pair<std::function<void()>, std::tuple<double, double, int>> steps[] = {
      {[&] { edit("edit1001")->stepBy(1); }, {10.25, 60.0, 50}},
      {[&] { edit("edit1002")->stepBy(-2); }, {10.25, 59.5, 50}},
      {[&] { range()->stepBy(1), range()->stepBy(-1); }, {10.25, 59.5, 55}},  // not below the report's 55
      {[&] { type(edit("edit1001"), 12.4); }, {12.25, 59.5, 55}}};
  for (const auto& [act, expected] : steps) {
    act();
    EXPECT_EQ(shown(), expected);
  }
}

TEST_F(PropsDialogTest, ANonRoundPlanShowsTellableFrequenciesAndAppliesThemWhole) {
  ViewSettingsSource s = source();
  s.frequencies.clear();
  for (int i = 0; i < 500; ++i) s.frequencies << 5.0 + 60.0 * i / 499;
  s.startFrequency = s.frequencies[1];
  s.stopFrequency = s.frequencies[498];
  m_dlg.prepare(TwentyFourHour, false, true, s, 5);
  QDoubleSpinBox* start = edit("edit1001");
  EXPECT_EQ(std::pair(start->text(), edit("edit1002")->text()),
            std::pair(QString("5.1202"), QString("64.8798")));
  start->stepBy(1);
  EXPECT_EQ(start->text(), "5.2405");
  start->stepBy(-1);
  emit start->editingFinished();
  EXPECT_EQ(start->text(), "5.1202");
  m_dlg.accept();
  EXPECT_EQ(std::tuple(m_dlg.result(), m_dlg.settings().startFrequency, m_dlg.settings().stopFrequency),
            std::tuple(int(QDialog::Accepted), s.frequencies[1], s.frequencies[498]));
}

TEST_F(PropsDialogTest, OkRefusesStopNotAboveStartThenClampsTheRange) {
  type(edit("edit1001"), 40.0);
  type(edit("edit1002"), 40.1);  // snaps to 40.0
  m_dlg.accept();
  EXPECT_EQ(m_dlg.result(), QDialog::Rejected);
  EXPECT_EQ(m_prompts.texts, QStringList{"Stop frequency must be greater than start frequency."});
  EXPECT_DOUBLE_EQ(m_dlg.settings().stopFrequency, ViewSettings{}.stopFrequency);
  type(edit("edit1002"), 60.0);
  range()->setValue(150);
  combo("combo1014")->setCurrentIndex(2);
  m_dlg.accept();
  const ViewSettings s = m_dlg.settings();
  EXPECT_EQ(std::tuple(m_dlg.result(), m_prompts.texts.size(), s.range, s.referenceStep, m_dlg.stepItem()),
            std::tuple(int(QDialog::Accepted), 1, 100, 2, 2));
  EXPECT_EQ(std::pair(s.startFrequency, s.stopFrequency), std::pair(40.0, 60.0));
}

TEST_F(PropsDialogTest, OneFrequencyShowsItsFrequencyAndChecksNone) {
  m_dlg.prepare(OneFreqTimeWindow, false, true, source(), 10);
  EXPECT_EQ(std::tuple(edit("edit1001")->value(), edit("edit1001")->isEnabled(), edit("edit1002")->isHidden(),
                       m_dlg.windowTitle()),
            std::tuple(33.125, false, true, QString("2D Graph Properties")));
  m_dlg.accept();  // its own frequency, not the nearest of the ribbons' list
  EXPECT_EQ(std::tuple(m_dlg.result(), m_prompts.texts.size(), m_dlg.settings().startFrequency),
            std::tuple(int(QDialog::Accepted), 0, 33.125));
}

// Each opening shows the report as it is drawn: whatever a cancelled opening
// changed, typed or left half-typed is gone, and OK applies what is shown.
TEST_F(PropsDialogTest, ACancelledOpeningLeavesNothingBehind) {
  const ViewSettingsSource s = source();
  const auto controls = [&] {
    return QStringList{edit("edit1001")->text(),
                       edit("edit1002")->text(),
                       range()->text(),
                       combo("combo1373")->currentText(),
                       combo("combo1014")->currentText(),
                       m_dlg.focusWidget() ? m_dlg.focusWidget()->objectName() : QString()}
        .join(' ')
        .toStdString();
  };
  const std::function<void()> changes[] = {[&] { type(edit("edit1001"), 20.0); },
                                           [&] { edit("edit1002")->stepBy(-3); },
                                           [&] { range()->setValue(80); },
                                           [&] { range()->findChild<QLineEdit*>()->setText("95"); },
                                           [&] { combo("combo1373")->setCurrentIndex(1); },
                                           [&] { combo("combo1014")->setCurrentIndex(2); },
                                           [&] { combo("combo1014")->setFocus(); }};
  for (const int graphType : {TimeWindowSummary, TwentyFourHour}) {
    m_dlg.prepare(graphType, false, true, s, 2);
    const std::string drawn = controls();
    EXPECT_EQ(drawn, "10.000 60.000 50 10 2 edit1001") << graphType;
    for (const auto& change : changes) change();
    m_dlg.reject();
    m_dlg.prepare(graphType, false, true, s, 2);
    EXPECT_EQ(controls(), drawn) << graphType;
  }
  m_dlg.accept();
  EXPECT_EQ(std::tuple(m_dlg.settings().scale, m_dlg.settings().referenceStep, m_dlg.settings().range),
            std::tuple(10, 2, 50));
  // The scale item of an OK is the one the next opening shows.
  combo("combo1373")->setCurrentIndex(2);
  m_dlg.accept();
  m_dlg.prepare(TimeWindowSummary, false, true, s, 2);
  EXPECT_EQ(combo("combo1373")->currentText(), "2");
}

TEST_F(PropsDialogTest, LevelCombosFollowTheDrawnTraces) {
  m_dlg.prepare(TimeWindowSummary, false, false, source(), 10);
  EXPECT_EQ(std::tuple(combo("combo1373")->isEnabled(), combo("combo1014")->isEnabled(), range()->isHidden()),
            std::tuple(false, false, true));
  // Named by their labels, not by the item a screen reader would read.
  EXPECT_EQ(combo("combo1373")->accessibleName(), "Scale (dB/Div):");
  EXPECT_EQ(edit("edit1002")->accessibleName(), "Stop Frequency (MHz):");
  m_dlg.show();  // the two combos stand one above the other, alike
  EXPECT_EQ(combo("combo1373")->geometry().left(), combo("combo1014")->geometry().left());
  EXPECT_EQ(combo("combo1373")->width(), combo("combo1014")->width());
  const QRect start = edit("edit1001")->geometry(), stop = edit("edit1002")->geometry();
  EXPECT_TRUE(stop.left() == start.left() && stop.top() > start.bottom()) << stop.x() << "," << stop.y();
}

}  // namespace
