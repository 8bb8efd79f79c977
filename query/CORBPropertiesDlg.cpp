#include "query/CORBPropertiesDlg.h"

#include "core/CNBDateTime.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "query/FrequencyEdit.h"
#include "query/NewGraphLayout.h"
#include "query/NewGraphRules.h"
#include "query/QuarterTimeEdit.h"
#include "resources/Strings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QString text(int id) {
  return Strings::LoadString(id);
}

// Accessible names are the visible label without its mnemonic.
QString plain(const QString& label) {
  QString s = label;
  s.remove(QLatin1Char('&'));
  return s.trimmed();
}

// The locale's short date, always with a four-digit year: a two-digit year is
// ambiguous in a field that spans decades.
QString dateEditFormat() {
  QString f = QLocale().dateFormat(QLocale::ShortFormat);
  if (!f.contains(QLatin1String("yyyy"))) f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
  return f;
}

// Earliest and latest dates the server's 32-bit time can carry.
const QDate kFirstDate(1970, 1, 2);
const QDate kLastDate(2037, 12, 31);

void retainSpace(QWidget* w) {
  QSizePolicy p = w->sizePolicy();
  p.setRetainSizeWhenHidden(true);
  w->setSizePolicy(p);
}

}  // namespace

CORBPropertiesDlg::CORBPropertiesDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(text(Strings::IDS_UI_NEW_GRAPH_TITLE));
  setAccessibleName(windowTitle());
  setModal(true);
  buildControls();
}

void CORBPropertiesDlg::buildControls() {
  auto* root = new QVBoxLayout(this);

  m_type = new QComboBox(this);
  m_type->setObjectName(QStringLiteral("graphType"));
  const int typeNames[] = {
      Strings::IDS_UI_TYPE_TIME_WINDOW_SUMMARY, Strings::IDS_UI_TYPE_ONE_FREQ_TIME_WINDOW,
      Strings::IDS_UI_TYPE_TIME_WINDOW_DETAIL,  Strings::IDS_UI_TYPE_24_HOUR,
      Strings::IDS_UI_TYPE_MULTI_DAY,           Strings::IDS_UI_TYPE_MULTI_DAY_TIME_WINDOW};
  for (int id : typeNames) m_type->addItem(text(id));
  auto* typeForm = new QFormLayout;
  auto* typeLabel = new QLabel(text(Strings::IDS_UI_GRAPH_TYPE_LABEL), this);
  typeLabel->setBuddy(m_type);
  m_type->setAccessibleName(plain(typeLabel->text()));
  typeForm->addRow(typeLabel, m_type);
  root->addLayout(typeForm);

  auto* window = new QGroupBox(text(Strings::IDS_UI_TIME_WINDOW_GROUP), this);
  auto* grid = new QGridLayout(window);
  const QString timeFormat = CNBDateTime::TimeLabelFormat();
  auto makeDate = [&] {
    auto* d = new QDateEdit(window);
    d->setCalendarPopup(true);
    d->setDisplayFormat(dateEditFormat());
    d->setDateRange(kFirstDate, kLastDate);
    return d;
  };
  auto makeTime = [&] {
    auto* t = new QuarterTimeEdit(window);
    t->setDisplayFormat(timeFormat);
    return t;
  };
  m_startDate = makeDate();
  m_startTime = makeTime();
  m_endDate = makeDate();
  m_endTime = makeTime();
  m_startDate->setObjectName(QStringLiteral("startDate"));
  m_startTime->setObjectName(QStringLiteral("startTime"));
  m_endDate->setObjectName(QStringLiteral("endDate"));
  m_endTime->setObjectName(QStringLiteral("endTime"));
  auto* startLabel = new QLabel(text(Strings::IDS_UI_START_LABEL), window);
  auto* endLabel = new QLabel(text(Strings::IDS_UI_END_LABEL), window);
  startLabel->setBuddy(m_startDate);
  endLabel->setBuddy(m_endDate);
  grid->addWidget(startLabel, 0, 0);
  grid->addWidget(m_startDate, 0, 1);
  grid->addWidget(m_startTime, 0, 2);
  grid->addWidget(endLabel, 1, 0);
  grid->addWidget(m_endDate, 1, 1);
  grid->addWidget(m_endTime, 1, 2);
  m_upToTheSecond = new QCheckBox(text(Strings::IDS_UI_UP_TO_THE_SECOND), window);
  m_upToTheSecond->setObjectName(QStringLiteral("upToTheSecond"));
  grid->addWidget(m_upToTheSecond, 2, 1, 1, 2);
  grid->setColumnStretch(1, 1);
  m_startDate->setAccessibleName(plain(startLabel->text()) + QLatin1Char(' ') +
                                 plain(text(Strings::IDS_UI_DATE)));
  m_startTime->setAccessibleName(plain(startLabel->text()) + QLatin1Char(' ') +
                                 plain(text(Strings::IDS_UI_TIME)));
  m_endDate->setAccessibleName(plain(endLabel->text()) + QLatin1Char(' ') +
                               plain(text(Strings::IDS_UI_DATE)));
  m_endTime->setAccessibleName(plain(endLabel->text()) + QLatin1Char(' ') +
                               plain(text(Strings::IDS_UI_TIME)));
  m_upToTheSecond->setAccessibleName(plain(m_upToTheSecond->text()));
  root->addWidget(window);

  auto* stats = new QGroupBox(text(Strings::IDS_UI_STATISTICS_GROUP), this);
  // Levels in the first column, the four threshold percentages beside them.
  auto* statColumns = new QHBoxLayout(stats);
  auto* levels = new QVBoxLayout;
  auto* percentages = new QVBoxLayout;
  statColumns->addLayout(levels);
  statColumns->addLayout(percentages, 1);
  m_radioGroup = new QButtonGroup(this);
  for (int i = 0; i < Statistic::kCount; ++i) {
    m_checks[i] = new QCheckBox(stats);
    m_radios[i] = new QRadioButton(stats);
    m_radioGroup->addButton(m_radios[i], i);
    m_checks[i]->setObjectName(QStringLiteral("statCheck%1").arg(i));
    m_radios[i]->setObjectName(QStringLiteral("statRadio%1").arg(i));
    QVBoxLayout* column = i < Statistic::kThreshold1 ? levels : percentages;
    column->addWidget(m_checks[i]);
    column->addWidget(m_radios[i]);
  }
  levels->addStretch(1);
  root->addWidget(stats);

  auto* params = new QGridLayout;
  m_frequencyLabel = new QLabel(this);
  m_frequencyLabel->setObjectName(QStringLiteral("frequencyLabel"));
  m_frequency = new FrequencyEdit(this);
  m_frequency->setObjectName(QStringLiteral("frequency"));
  m_frequencyLabel->setBuddy(m_frequency);
  m_frequency->setAccessibleName(plain(text(Strings::IDS_LABEL_FREQUENCY)));
  auto* mhz = new QLabel(text(Strings::IDS_UI_MHZ), this);
  m_frequencyUnit = mhz;
  m_incrementLabel = new QLabel(this);
  m_incrementLabel->setObjectName(QStringLiteral("incrementLabel"));
  m_increment = new QComboBox(this);
  m_increment->setObjectName(QStringLiteral("increment"));
  for (int id :
       {Strings::IDS_UI_INCREMENT_15_MIN, Strings::IDS_UI_INCREMENT_1_HOUR, Strings::IDS_UI_INCREMENT_1_DAY})
    m_increment->addItem(text(id));
  m_incrementLabel->setBuddy(m_increment);
  m_increment->setAccessibleName(plain(text(Strings::IDS_LABEL_INCREMENT)));
  for (QWidget* w :
       {static_cast<QWidget*>(m_frequency), static_cast<QWidget*>(mhz), static_cast<QWidget*>(m_increment)})
    retainSpace(w);
  params->addWidget(m_frequencyLabel, 0, 0);
  params->addWidget(m_frequency, 0, 1);
  params->addWidget(mhz, 0, 2);
  params->addWidget(m_incrementLabel, 1, 0);
  params->addWidget(m_increment, 1, 1);
  params->setColumnStretch(1, 1);
  root->addLayout(params);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(text(Strings::IDS_UI_OK));
  buttons->button(QDialogButtonBox::Cancel)->setText(text(Strings::IDS_UI_CANCEL));
  root->addWidget(buttons);
  root->setSizeConstraint(QLayout::SetFixedSize);

  connect(buttons, &QDialogButtonBox::accepted, this, &CORBPropertiesDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CORBPropertiesDlg::reject);
  connect(m_type, &QComboBox::currentIndexChanged, this, &CORBPropertiesDlg::onTypeChanged);
  connect(m_increment, &QComboBox::currentIndexChanged, this, &CORBPropertiesDlg::onIncrementChanged);
  connect(m_upToTheSecond, &QCheckBox::toggled, this, &CORBPropertiesDlg::onUpToTheSecondToggled);
  connect(m_startTime, &QuarterTimeEdit::editingFinished, this, &CORBPropertiesDlg::onStartTimeLeft);
  connect(m_endTime, &QuarterTimeEdit::editingFinished, this, &CORBPropertiesDlg::onEndTimeLeft);
  connect(m_startDate, &QDateEdit::editingFinished, this, &CORBPropertiesDlg::onStartDateLeft);
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  connect(f1, &QShortcut::activated, this, &CORBPropertiesDlg::helpRequested);
}

void CORBPropertiesDlg::setFrequencyRange(double lower, double upper) {
  m_lowerFrequency = lower;
  m_upperFrequency = upper;
  m_frequency->setSpinRange(lower, upper);
}

void CORBPropertiesDlg::setThresholdNames(const QStringList& names) {
  m_thresholdNames = ThresholdNames(names);
}

void CORBPropertiesDlg::setStatisticLabels() {
  const int levels[] = {Strings::IDS_STAT_AVERAGE, Strings::IDS_STAT_MAXIMUM, Strings::IDS_STAT_MINIMUM};
  for (int i = 0; i < Statistic::kCount; ++i) {
    QString check, radio;
    if (i < Statistic::kThreshold1) {
      check = radio = text(levels[i]);
    } else {
      const QString name = m_thresholdNames.at(i - Statistic::kThreshold1);
      check = text(Strings::IDS_EXCEEDING) + QLatin1Char(' ') + name;
      radio = text(Strings::IDS_TIME_BEYOND) + QLatin1Char(' ') + name;
    }
    m_checks[i]->setText(check);
    m_radios[i]->setText(radio);
    m_checks[i]->setAccessibleName(plain(check));
    m_radios[i]->setAccessibleName(plain(radio));
  }
}

void CORBPropertiesDlg::prepareToShow() {
  if (!m_openedByLaunch) {
    SettingsStore store;
    m_query.LoadFromRegistry(store.sectionKey(text(Strings::IDS_SETTINGS_SECTION)),
                             m_launchedWithReferenceTime && !m_loadedOnce);
    m_loadedOnce = true;
  }
  m_openedByLaunch = false;
  setStatisticLabels();

  const QSignalBlocker typeBlock(m_type);
  const QSignalBlocker incBlock(m_increment);
  const QSignalBlocker tickBlock(m_upToTheSecond);
  m_type->setCurrentIndex(isValidGraphType(m_query.graphType) ? m_query.graphType : 0);
  m_query.graphType = m_type->currentIndex();
  for (int i = 0; i < Statistic::kCount; ++i) m_checks[i]->setChecked(m_query.statistics[i] != 0);
  m_frequency->setValue(m_query.frequency);
  m_increment->setCurrentIndex(Increment::isValid(m_query.increment) ? m_query.increment : 0);
  m_radios[Statistic::isValid(m_query.statisticIndex) ? m_query.statisticIndex : 0]->setChecked(true);
  m_query.SetEnd(CNBDateTime::FromQDateTime(NewGraphRules::roundToQuarter(m_query.GetEnd().toUtc(), false)));
  m_upToTheSecond->setChecked(m_upToTheSecondAtLastOk);
  showWindow();
  applyLayout();
  m_startTime->rememberShownMinute();
  m_endTime->rememberShownMinute();
}

int CORBPropertiesDlg::exec() {
  prepareToShow();
  return QDialog::exec();
}

void CORBPropertiesDlg::showWindow() {
  const QDateTime start = m_query.GetStart().toLocal();
  const QDateTime end = m_query.GetEnd().toLocal();
  m_startDate->setDate(start.date());
  m_startTime->setTime(start.time());
  m_endDate->setDate(end.date());
  m_endTime->setTime(end.time());
}

void CORBPropertiesDlg::applyLayout() {
  const int type = m_type->currentIndex();
  if (choosesIncrement(type)) {
    const QSignalBlocker block(m_increment);
    m_increment->setCurrentIndex(Increment::isValid(m_query.increment) ? m_query.increment : 0);
  }
  const NewGraphLayout l =
      NewGraphLayout::forType(type, m_increment->currentIndex(), m_upToTheSecond->isChecked());
  if (l.fixedIncrement >= 0) {
    const QSignalBlocker block(m_increment);
    m_increment->setCurrentIndex(l.fixedIncrement);
  }
  m_startDate->setEnabled(l.startDateEnabled);
  m_startTime->setEnabled(l.startTimeEnabled);
  m_endDate->setEnabled(l.endDateEnabled);
  m_endTime->setEnabled(l.endTimeEnabled);
  m_frequency->setVisible(l.frequencyShown);
  m_frequencyUnit->setVisible(l.frequencyShown);
  m_increment->setVisible(l.incrementShown);
  m_increment->setEnabled(l.incrementEnabled);
  m_frequencyLabel->setText(text(l.frequencyLabelId));
  m_incrementLabel->setText(text(l.incrementLabelId));
  {
    const QSignalBlocker block(m_upToTheSecond);
    m_upToTheSecond->setChecked(l.upToTheSecondTicked);
  }
  m_upToTheSecond->setEnabled(l.upToTheSecondEnabled);
  for (int i = 0; i < Statistic::kCount; ++i) {
    m_checks[i]->setVisible(l.checkBoxStatistics);
    m_radios[i]->setVisible(!l.checkBoxStatistics);
  }
}

void CORBPropertiesDlg::collectFromControls() {
  m_query.graphType = m_type->currentIndex();
  for (int i = 0; i < Statistic::kCount; ++i) m_query.statistics[i] = m_checks[i]->isChecked() ? 1 : 0;
  m_query.increment = m_increment->currentIndex();
  m_frequency->interpretText();
  m_query.frequency = m_frequency->value();
  m_query.statisticIndex = std::max(0, m_radioGroup->checkedId());
  const QTime st = m_startTime->time();
  m_query.SetStart(CNBDateTime::FromLocal(m_startDate->date(), QTime(st.hour(), st.minute())));
  if (m_upToTheSecond->isChecked()) {
    m_query.SetEnd(CNBDateTime().Now());
  } else {
    const QTime et = m_endTime->time();
    m_query.SetEnd(CNBDateTime::FromLocal(m_endDate->date(), QTime(et.hour(), et.minute())));
  }
}

void CORBPropertiesDlg::accept() {
  collectFromControls();
  NewGraphRules::CheckContext context;
  context.nowUtc = CNBDateTime().Now();
  context.upToTheSecond = m_upToTheSecond->isChecked();
  context.lowerFrequency = m_lowerFrequency;
  context.upperFrequency = m_upperFrequency;
  const auto failures = NewGraphRules::runChecks(m_query, context);
  for (const auto& f : failures) Prompts::current().message(this, f.text);
  if (!failures.empty()) return;

  SettingsStore store;
  RegistryKey section = store.sectionKey(text(Strings::IDS_SETTINGS_SECTION));
  m_query.SaveToRegistry(section);
  store.sync();
  m_upToTheSecondAtLastOk = m_upToTheSecond->isChecked();
  QDialog::accept();
}

void CORBPropertiesDlg::reject() {
  m_cancelled = true;
  QDialog::reject();
}

void CORBPropertiesDlg::onTypeChanged(int index) {
  m_query.graphType = index;
  applyLayout();
  showWindow();
}

void CORBPropertiesDlg::onIncrementChanged(int index) {
  const int type = m_type->currentIndex();
  if (!choosesIncrement(type)) return;
  m_query.increment = index;
  if (NewGraphRules::incrementClearsUpToTheSecond(type, index)) {
    const QSignalBlocker block(m_upToTheSecond);
    m_upToTheSecond->setChecked(false);
    onStartTimeLeft();
  }
  applyLayout();
}

void CORBPropertiesDlg::onUpToTheSecondToggled(bool ticked) {
  if (ticked) {
    collectFromControls();
    applyLayout();
    return;
  }
  applyLayout();
  const QDateTime rounded = NewGraphRules::roundToQuarter(m_query.GetEnd().toUtc(), false);
  m_query.SetEnd(CNBDateTime::FromQDateTime(rounded));
  writeEndTime(rounded.toLocalTime());
}

void CORBPropertiesDlg::writeStartTime(const QDateTime& local) {
  m_startDate->setDate(local.date());
  m_startTime->setTime(local.time());
}

void CORBPropertiesDlg::writeEndTime(const QDateTime& local) {
  m_endDate->setDate(local.date());
  m_endTime->setTime(local.time());
}

void CORBPropertiesDlg::onStartTimeLeft() {
  const QDateTime start(m_startDate->date(), m_startTime->time());
  const QDateTime rounded = NewGraphRules::roundToQuarter(start, false);
  writeStartTime(rounded);
  if (NewGraphRules::endTimeFollowsStart(m_type->currentIndex(), m_increment->currentIndex()))
    m_endTime->setTime(rounded.time());
}

void CORBPropertiesDlg::onEndTimeLeft() {
  const QDateTime end(m_endDate->date(), m_endTime->time());
  writeEndTime(NewGraphRules::roundToQuarter(end, false));
}

void CORBPropertiesDlg::onStartDateLeft() {
  if (NewGraphRules::endDateFollowsStart(m_type->currentIndex()))
    m_endDate->setDate(m_startDate->date().addDays(1));
}
