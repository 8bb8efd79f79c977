#include "core/Clock.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "query/CORBPropertiesDlg.h"
#include "query/FrequencyEdit.h"
#include "query/QuarterTimeEdit.h"
#include "query/QueryTestUtil.h"
#include "resources/Strings.h"
#include "support/FixedClock.h"
#include "support/RecordingPrompts.h"
#include "support/TempSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// 12:07 UTC is 14:07 in Berlin summer time; the last quarter hour is 14:00.
const QDateTime kNow = utc(2024, 6, 15, 12, 7);

class NewGraphDialogTest : public TempSettingsTest {
protected:
  void SetUp() override {
    TempSettingsTest::SetUp();
    m_dlg = std::make_unique<CORBPropertiesDlg>();
  }

  template <typename T>
  T* get(const QString& name) {
    return m_dlg->findChild<T*>(name);
  }
  void open() {
    m_dlg->clearCancelled();
    m_dlg->prepareToShow();
    m_dlg->show();
  }
  void clickOk() {
    QTest::mouseClick(m_dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
  }
  void setType(int type) { get<QComboBox>("graphType")->setCurrentIndex(type); }
  void set(const QString& which, const QDateTime& local) {
    get<QDateEdit>(which + "Date")->setDate(local.date());
    get<QuarterTimeEdit>(which + "Time")->setTime(local.time());
  }
  QDateTime shown(const QString& which) {
    return QDateTime(get<QDateEdit>(which + "Date")->date(), get<QuarterTimeEdit>(which + "Time")->time());
  }
  // The window, which date/time fields take input, the frequency, the increment
  // (shown, enabled, selected), up to the second, statistics, the labels.
  QString layout() {
    const auto bit = [](bool b) { return QString(b ? "1" : "0"); };
    const auto* inc = get<QComboBox>("increment");
    return QStringList{
        shown("start").toString("MM-dd hh:mm") + " - " + shown("end").toString("MM-dd hh:mm"),
        bit(get<QDateEdit>("startDate")->isEnabled()) + bit(get<QuarterTimeEdit>("startTime")->isEnabled()) +
            bit(get<QDateEdit>("endDate")->isEnabled()) + bit(get<QuarterTimeEdit>("endTime")->isEnabled()),
        "freq " + bit(get<FrequencyEdit>("frequency")->isVisible()),
        "inc " + bit(inc->isVisible()) + bit(inc->isEnabled()) + QString::number(inc->currentIndex()),
        "second " + bit(get<QCheckBox>("upToTheSecond")->isEnabled()),
        QString(get<QCheckBox>("statCheck3")->isVisible() ? "checks" : "") +
            (get<QRadioButton>("statRadio3")->isVisible() ? "radios" : ""),
        "'" + get<QLabel>("frequencyLabel")->text() + "' '" + get<QLabel>("incrementLabel")->text() + "'"}
        .join(", ");
  }

  ScopedFixedClock m_clock{kNow};
  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
  std::unique_ptr<CORBPropertiesDlg> m_dlg;
};

// Each type shows its own window (Multi-Day: yesterday, midnight to
// midnight) and lays the fields out for it; the port's threshold names label
// the statistics.
TEST_F(NewGraphDialogTest, LaysItselfOutPerType) {
  m_dlg->setThresholdNames({"Upper High", "", "Lower", "LL"});
  const char* rows[] = {
      "06-14 14:00 - 06-15 14:00, 1111, freq 0, inc 000, second 1, checks, ' ' ' '",
      "06-14 14:00 - 06-15 14:00, 1111, freq 1, inc 110, second 1, checks, 'Frequency:' '&Increment:'",
      "06-14 14:00 - 06-15 14:00, 1111, freq 0, inc 110, second 1, radios, ' ' 'Increment:'",
      "06-14 14:00 - 06-15 14:00, 1100, freq 0, inc 101, second 0, radios, ' ' 'Increment:'",
      "06-14 00:00 - 06-15 00:00, 1010, freq 0, inc 102, second 0, radios, ' ' 'Increment:'",
      "06-14 13:00 - 06-15 14:00, 1111, freq 0, inc 102, second 0, radios, ' ' '&Increment:'",
  };
  open();
  for (int type = 0; type < 6; ++type) {
    setType(type);
    EXPECT_EQ(layout(), rows[type]) << type;
  }
  EXPECT_EQ(get<QCheckBox>("statCheck3")->text(), "% Exceeding Upper High");
  EXPECT_EQ(get<QRadioButton>("statRadio6")->text(), "% Time Beyond LL");
}

// Cancel saves nothing; a failed OK shows every failed check over the dialog,
// which stays open; the next opening shows the last accepted selection, except
// the one after a launch that filled the dialog in.
TEST_F(NewGraphDialogTest, ReopensOnTheLastAcceptedSelection) {
  open();
  setType(3);
  QTest::mouseClick(m_dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
  EXPECT_TRUE(m_dlg->cancelled());
  EXPECT_FALSE(SettingsStore().sectionKey("Settings").subKey("Settings").exists());

  open();
  setType(2);
  get<QComboBox>("increment")->setCurrentIndex(1);
  get<QRadioButton>("statRadio5")->setChecked(true);
  set("start", local(2024, 6, 1, 14, 0));
  set("end", local(2024, 6, 16, 14, 0));
  clickOk();
  EXPECT_EQ(m_prompts.texts, (QStringList{Strings::LoadString(Strings::IDS_DATES_BEYOND_TODAY),
                                          Strings::LoadString(Strings::IDS_TOO_MANY_RIBBONS)}));
  EXPECT_EQ(m_prompts.owners.value(0), m_dlg.get());
  EXPECT_TRUE(m_dlg->isVisible());
  set("start", local(2024, 6, 14, 14, 0));
  set("end", local(2024, 6, 15, 14, 0));
  clickOk();
  ASSERT_EQ(m_dlg->result(), QDialog::Accepted) << m_prompts.texts.join('|').toStdString();

  GraphQuery launched;
  launched.graphType = 3;
  m_dlg->setQuery(launched);
  m_dlg->setOpenedByLaunch(true);
  open();
  EXPECT_EQ(get<QComboBox>("graphType")->currentIndex(), 3);
  m_dlg->reject();
  open();
  EXPECT_EQ(get<QComboBox>("graphType")->currentIndex(), 2);
  EXPECT_EQ(get<QComboBox>("increment")->currentIndex(), 1);
  EXPECT_TRUE(get<QRadioButton>("statRadio5")->isChecked());
}

// The quarter-hour arithmetic is NewGraphRules'; the field uses it spun and left.
TEST_F(NewGraphDialogTest, TimeFieldsStepAndRoundInQuarterHours) {
  open();
  auto* end = get<QuarterTimeEdit>("endTime");
  end->setTime(QTime(13, 0));
  end->setCurrentSection(QDateTimeEdit::MinuteSection);
  end->stepBy(-1);
  EXPECT_EQ(end->time(), QTime(13, 45));
  end->stepBy(3);
  end->setCurrentSection(QDateTimeEdit::HourSection);
  end->stepBy(1);
  end->setCurrentSection(QDateTimeEdit::MinuteSection);
  end->setTime(QTime(14, 50));  // typed, not yet left: the spin steps from :30
  end->stepBy(1);
  EXPECT_EQ(end->time(), QTime(14, 45));

  set("end", local(2024, 6, 14, 23, 55));
  emit end->editingFinished();
  EXPECT_EQ(shown("end"), local(2024, 6, 15, 0, 0));  // the date moves with the hour
}

TEST_F(NewGraphDialogTest, EndFollowsTheStart) {
  open();
  setType(3);
  set("start", local(2024, 6, 10, 9, 22));
  emit get<QuarterTimeEdit>("startTime")->editingFinished();
  emit get<QDateEdit>("startDate")->editingFinished();
  EXPECT_EQ(shown("end"), local(2024, 6, 11, 9, 15));

  // A daily increment locks the end time to the start.
  setType(1);
  auto* tick = get<QCheckBox>("upToTheSecond");
  tick->setChecked(true);
  set("start", local(2024, 6, 10, 9, 40));
  get<QComboBox>("increment")->setCurrentIndex(2);
  EXPECT_FALSE(tick->isChecked());
  EXPECT_FALSE(get<QuarterTimeEdit>("endTime")->isEnabled());
  EXPECT_EQ(get<QuarterTimeEdit>("endTime")->time(), QTime(9, 45));
  get<QComboBox>("increment")->setCurrentIndex(1);
  EXPECT_TRUE(get<QuarterTimeEdit>("endTime")->isEnabled());
}

TEST_F(NewGraphDialogTest, UpToTheSecondEndsNowAndAddsARibbon) {
  open();
  setType(2);
  set("start", local(2024, 6, 14, 13, 45));  // 24h22m to now: 97 ribbons, +1
  auto* tick = get<QCheckBox>("upToTheSecond");
  tick->setChecked(true);
  clickOk();
  EXPECT_EQ(m_prompts.texts, QStringList{Strings::LoadString(Strings::IDS_TOO_MANY_RIBBONS)});
  set("start", local(2024, 6, 14, 14, 15));
  clickOk();
  ASSERT_EQ(m_dlg->result(), QDialog::Accepted) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(m_dlg->query().end.toUtc(), kNow);

  open();  // the tick is remembered from the last OK
  EXPECT_TRUE(tick->isChecked());
  setType(4);
  EXPECT_FALSE(tick->isChecked());
  setType(2);
  tick->setChecked(true);
  tick->setChecked(false);  // back to the rounded end, 14:00 local
  EXPECT_EQ(shown("end"), local(2024, 6, 15, 14, 0));
}

// The field shows and sends every digit it was given, at least three decimals.
TEST_F(NewGraphDialogTest, FrequencyIsCheckedAgainstTheRange) {
  m_dlg->setFrequencyRange(5.0, 65.0);
  open();
  setType(1);
  auto* freq = get<FrequencyEdit>("frequency");
  freq->setValue(70.0);  // typing is free; the check names the range
  EXPECT_EQ(freq->text(), "70.000");
  clickOk();
  EXPECT_EQ(m_prompts.texts, QStringList{"The frequency is out of 5.0MHz - 65.0MHz range."});
  freq->setValue(10.0);
  QTest::keyClick(freq, Qt::Key_Down);
  EXPECT_EQ(freq->text(), "9.995");

  m_dlg->setFrequencyRange(55.0625, 55.0625);
  freq->setValue(55.0625);
  EXPECT_EQ(freq->text(), "55.0625");
  clickOk();
  EXPECT_EQ(m_prompts.texts.size(), 1);
  EXPECT_EQ(m_dlg->query().frequency, 55.0625);
}

}  // namespace
