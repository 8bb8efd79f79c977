#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTimer>

#include "app/AboutDialog.h"
#include "app/BuildInfo.h"
#include "app/HelpLocation.h"
#include "app/HelpWindow.h"
#include "app/PageSetupDialog.h"
#include "query/GraphType.h"
#include "support/QtPrinters.h"
#include "support/TempSettings.h"

namespace {

TEST(PageSetupDialogTest, EditsTheReportTextWithinWhatTheSettingsKeep) {
  PageSetupDialog dialog(QStringLiteral("Quillon - "));
  auto* edit = dialog.findChild<QLineEdit*>();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->accessibleName() + dialog.reportText(), "Report text:Quillon - ");

  edit->clear();
  QTest::keyClicks(edit, QString(300, QLatin1Char('a')));
  EXPECT_EQ(dialog.reportText().size(), PageSetupDialog::kMaxBytes);

  // Two bytes each in UTF-8: only as many as fit in the stored bytes.
  edit->clear();
  for (int i = 0; i < 200; ++i) QTest::keyClick(edit, Qt::Key_Eacute, Qt::NoModifier);
  const auto full = dialog.reportText().toUtf8().size();
  QTest::keyClicks(edit, QStringLiteral("x"));
  EXPECT_EQ(std::pair(full, dialog.reportText().toUtf8().size()), std::pair(qsizetype(254), qsizetype(255)));
}

class HelpLocationTest : public TempSettingsTest {};

// The sources' copy, which the build places beside the program.
TEST_F(HelpLocationTest, EveryTopicAndEveryInternalLinkHasItsAnchor) {
  const QString html = QString::fromUtf8(readFile(QUILLON_SOURCE_DIR "/resources/help/quillon.html"));
  ASSERT_FALSE(html.isEmpty());
  QSet<QString> anchors;
  const QRegularExpression named(QStringLiteral(R"re(<a name="([^"]+)")re"));
  for (const auto& m : named.globalMatch(html)) anchors.insert(m.captured(1));

  for (const QString& topic : HelpLocation::topics())
    EXPECT_TRUE(anchors.contains(topic)) << topic.toStdString();
  for (int type = 0; type < 6; ++type)
    EXPECT_TRUE(HelpLocation::topics().contains(HelpLocation::topicForGraphType(type))) << type;
  EXPECT_TRUE(HelpLocation::topicForGraphType(6).isEmpty());

  const QRegularExpression link(QStringLiteral(R"re(href="#([^"]+)")re"));
  for (const auto& m : link.globalMatch(html))
    EXPECT_TRUE(anchors.contains(m.captured(1))) << "broken link #" << m.captured(1).toStdString();
}

TEST_F(HelpLocationTest, ClientFolderCopyWinsThenTheInstalledCopyThenTheSources) {
  const QString client = userDir() + "/Client", program = userDir() + "/bin";
  const QString source = userDir() + "/src/quillon.html";
  const QString clientCopy = client + "/NB-Quillon-Help-File.html",
                installed = program + "/help/quillon.html";
  EXPECT_TRUE(HelpLocation::find(client, program, source).isEmpty());
  for (const QString& copy :
       {source, userDir() + "/share/quillon/help/quillon.html", installed, clientCopy}) {
    writeFile(copy, "");
    EXPECT_EQ(HelpLocation::find(client, program, source), copy);
  }
  // The installation writes the folder with or without a closing separator.
  EXPECT_EQ(HelpLocation::find(client + QLatin1Char('/'), program, source), clientCopy);
  // No client folder value: straight to the installed copy.
  EXPECT_EQ(HelpLocation::find(QString(), program, source), installed);
}

// One window, not modal, opened at the topic asked; asked again from a modal
// dialog it is usable while the dialog is up.
TEST(HelpWindowTest, OneWindowAtTheTopicAskedUsableUnderAModalDialog) {
  QWidget frame;
  frame.show();
  HelpWindow* help = HelpWindow::instance(&frame);
  ASSERT_FALSE(help->helpFile().isEmpty()) << "the build tree's help file was not found";
  help->showTopic(QStringLiteral("#markers"));
  EXPECT_TRUE(help->isVisible() && !help->isModal());
  EXPECT_TRUE(help->shownText().contains(QStringLiteral("Delta")));

  QDialog dialog(&frame);
  bool ran = false;
  QTimer::singleShot(0, [&] {
    ran = true;
    EXPECT_EQ(HelpWindow::instance(&dialog), help);
    help->showTopic(QStringLiteral("properties"));
    EXPECT_EQ(help->currentSource().fragment(), QStringLiteral("properties"));
    QPushButton* contents = nullptr;
    for (QPushButton* b : help->findChildren<QPushButton*>())
      if (b->text() == QStringLiteral("&Contents")) contents = b;
    EXPECT_TRUE(contents);
    // Through the window system, where a blocked window drops the click.
    if (contents)
      QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {},
                        contents->mapTo(help, contents->rect().center()));
    EXPECT_TRUE(help->currentSource().fragment().isEmpty());
    help->close();
    EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
    dialog.accept();
  });
  dialog.exec();
  EXPECT_TRUE(ran);
}

TEST(AboutDialogTest, ShowsNameVersionAndBuildTime) {
  const std::tuple<const char*, const char*, QDateTime> stamps[] = {
      {"Mar  5 2024", "13:02:03", QDateTime(QDate(2024, 3, 5), QTime(13, 2, 3))},
      {"Dec 31 1999", "00:00:00", QDateTime(QDate(1999, 12, 31), QTime(0, 0))},
      {"Feb 29 2023", "10:00:00", QDateTime()},  // no such day
      {"Foo  1 2024", "10:00:00", QDateTime()},
      {"Mar  5 2024", "25:00:00", QDateTime()},
      {"", "", QDateTime()}};
  for (const auto& [date, time, expected] : stamps)
    EXPECT_EQ(BuildInfo::parseCompilerTimestamp(date, time), expected) << date << " " << time;

  EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^Built [A-Z][a-z]{2} \d\d, \d{4}  \d\d:\d\d:\d\d [AP]M$)"))
                  .match(AboutDialog::buildText())
                  .hasMatch())
      << AboutDialog::buildText().toStdString();
  AboutDialog about;
  QStringList shown;
  for (const QLabel* l : about.findChildren<QLabel*>()) shown << l->text();
  EXPECT_EQ(shown.filter(QRegularExpression("^(Orlane Quillon|Version |Built )")),
            QStringList({"Orlane Quillon", "Version " + BuildInfo::version(), AboutDialog::buildText()}));
}

}  // namespace
