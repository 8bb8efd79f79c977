#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "support/QtPrinters.h"

namespace {

// Ids are written as numbers here, not enumerators, so a wrong number behind a
// name fails as surely as a wrong text.
struct ExactText {
  int id;
  const char16_t* text;
};

void PrintTo(const ExactText& t, std::ostream* os) { *os << "id " << t.id; }

class ExactTextTest : public ::testing::TestWithParam<ExactText> {};

TEST_P(ExactTextTest, TextIsExact) {
  const ExactText& t = GetParam();
  EXPECT_EQ(Strings::LoadString(t.id), QString::fromUtf16(t.text));
  EXPECT_TRUE(Strings::Has(t.id));
}

INSTANTIATE_TEST_SUITE_P(
    NewGraphChecks, ExactTextTest,
    ::testing::Values(
        ExactText{61582, u"End date must be greater than start date."},
        ExactText{61557, u"Dates beyond today's date are not allowed."},
        ExactText{61684,
                  u"For Multi-Day Time Window graphs, start time and end time must be different."},
        ExactText{61685,
                  u"For Multi-Day Time Window graphs, end time must be greater than start time."},
        ExactText{61686,
                  u"For Multi-Day Time Window graphs, start date must be less than end date."},
        ExactText{61523, u"Please select at least one statistic."},
        ExactText{61572,
                  u"Your request could result in a complex graph containing more than 500 data "
                  u"points. Please specify a shorter period of time and/or a larger increment."},
        ExactText{
            61573,
            u"Please specify a period of no more than 25 days. Your request could result in a "
            u"complex graph containing more than 96 ribbons."},
        ExactText{
            61574,
            u"Please specify a shorter period of time and/or a larger increment. Your request "
            u"could result in a complex graph containing more than 96 ribbons."},
        ExactText{61683, u"The frequency is out of %.1fMHz - %.1fMHz range."}));

INSTANTIATE_TEST_SUITE_P(DialogLabels, ExactTextTest,
                         ::testing::Values(ExactText{61520, u" "}, ExactText{61500, u"Increment:"},
                                           ExactText{61539, u"&Increment:"},
                                           ExactText{61521, u"Frequency:"},
                                           ExactText{61765, u"% Exceeding"},
                                           ExactText{61766, u"% Time Beyond"}));

// Trailing newlines, doubled blanks, single-blank texts and misspellings are part
// of what users and launchers see; a tidy-up would change them.
INSTANTIATE_TEST_SUITE_P(
    ServerMessages, ExactTextTest,
    ::testing::Values(
        ExactText{61615,
                  u"You do not have permission to launch Quillon. Please contact your system "
                  u"administrator for more information.\n"},
        ExactText{61759,
                  u"Security check failed. The administrator may have logged you off of the "
                  u"system, or your session may have timed out.\n"},
        ExactText{61601,
                  u"The maximum number of connections has been reached.  Please try again later."},
        ExactText{61757,
                  u"There was an error connecting to the server machine.  Please contact your "
                  u"system administrator."},
        ExactText{61767,
                  u"Error communcating with the server.  Check the status of the Nembra server."},
        ExactText{61604, u" "}, ExactText{61605, u" "},
        ExactText{61587, u"A message error occurred.\n%1\n\n HRESULT = %2, %3, %4"},
        ExactText{61514, u"%1 %2"}, ExactText{61588, u"%#x"},
        ExactText{61771,
                  u"Cannot initialize Nembra Client. Server information is missing in the "
                  u"registry!"},
        ExactText{61688, u"No data is available for the time period specified."}));

INSTANTIATE_TEST_SUITE_P(
    NamesKeysAndFormats, ExactTextTest,
    ::testing::Values(
        ExactText{128, u"QuillonView\n\nQuillon\n\n\nQuillonView.Document\nQuillon Document"},
        ExactText{57344, u"Orlane Quillon"}, ExactText{61455, u"Quillon - %1"},
        ExactText{61465, u"Multi Day"}, ExactText{61551, u"Multi-Day Report"},
        ExactText{61459, u"\n"}, ExactText{61458, u","}, ExactText{61460, u"%g"},
        ExactText{61611, u"%d"}, ExactText{61736, u"UID:"},
        ExactText{61470, u"Comma Delimited Format (*.csv) | *.csv ||"},
        ExactText{61687, u"Exports\\"}, ExactText{61690, u"software\\veltrix\\pm\\client"},
        ExactText{61773, u"All Versions"}, ExactText{61532, u"hh:mm tt"}, ExactText{61737, u"H:mm"},
        ExactText{61546, u"QLBar Settings"}));

TEST(StringsFormatting, ContextMessageWithEmptyContextEndsInABlank) {
  const QString text = Strings::LoadString(Strings::IDS_MESSAGE_WITH_CONTEXT)
                           .arg(Strings::LoadString(Strings::IDS_ERR_MAX_CONNECTIONS), QString());
  EXPECT_EQ(text,
            QStringLiteral(
                "The maximum number of connections has been reached.  Please try again later. "));
}

TEST(StringsFormatting, GenericServerErrorTakesFourArguments) {
  const QString text = Strings::LoadString(Strings::IDS_GENERIC_SERVER_ERROR)
                           .arg(QString(), QStringLiteral("0x800706bc"),
                                QStringLiteral("FACILITY_WIN32"), QStringLiteral("X"));
  EXPECT_EQ(text, QStringLiteral(
                      "A message error occurred.\n\n\n HRESULT = 0x800706bc, FACILITY_WIN32, X"));
}

TEST(StringsFormatting, FrequencyRangeIsAPrintfFormat) {
  const QByteArray format = Strings::LoadString(Strings::IDS_FREQUENCY_OUT_OF_RANGE).toLatin1();
  EXPECT_EQ(QString::asprintf(format.constData(), 0.0, 0.0),
            QStringLiteral("The frequency is out of 0.0MHz - 0.0MHz range."));
}

TEST(StringsFormatting, WindowTitleComposesLabelAndTypeName) {
  const QString title =
      Strings::LoadString(Strings::IDS_TITLE_FORMAT).arg(QStringLiteral("Port 3")) + u' ' +
      Strings::LoadString(Strings::IDS_TYPE_24_HOUR);
  EXPECT_EQ(title, QStringLiteral("Quillon - Port 3 24 Hour"));
}

class UnknownIdTest : public ::testing::TestWithParam<int> {};

TEST_P(UnknownIdTest, GivesEmptyText) {
  EXPECT_FALSE(Strings::Has(GetParam()));
  EXPECT_TRUE(Strings::LoadString(GetParam()).isNull());
}

// Neighbours of real ids, both ends of the table and values outside it.
INSTANTIATE_TEST_SUITE_P(NearRealIds, UnknownIdTest,
                         ::testing::Values(-1, 0, 127, 129, 19999, 57343, 57345, 61445, 61449,
                                           61589, 61776, 65535, 1 << 30));

TEST(StringsTable, IdsStrictlyIncreaseAndEachHasAText) {
  const std::vector<int> ids = Strings::AllIds();
  ASSERT_FALSE(ids.empty());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end(), [](int a, int b) { return a >= b; }),
            ids.end());
  for (int id : ids) EXPECT_FALSE(Strings::LoadString(id).isEmpty()) << "id " << id;
}

// The header is read as text because an enum cannot be walked; this catches a
// name added without a text and a text added without a name.
std::map<QString, int> EnumeratorsInHeader() {
  const auto header = std::filesystem::path(QUILLON_SOURCE_DIR) / "resources" / "Strings.h";
  QFile file(QString::fromStdString(header.string()));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  const QString text = QString::fromUtf8(file.readAll());
  std::map<QString, int> result;
  static const QRegularExpression re(QStringLiteral(R"(\b(IDS_\w+)\s*=\s*(\d+)\s*,)"));
  for (auto it = re.globalMatch(text); it.hasNext();) {
    const auto m = it.next();
    EXPECT_TRUE(result.emplace(m.captured(1), m.captured(2).toInt()).second)
        << "enumerator declared twice: " << m.captured(1).toStdString();
  }
  return result;
}

TEST(StringsTable, EnumeratorsAndTableEntriesMatchOneToOne) {
  const std::map<QString, int> enumerators = EnumeratorsInHeader();
  ASSERT_FALSE(enumerators.empty()) << "could not read resources/Strings.h next to the tests";

  std::set<int> named;
  for (const auto& [name, id] : enumerators) {
    EXPECT_TRUE(Strings::Has(id)) << name.toStdString() << " = " << id << " has no text";
    EXPECT_TRUE(named.insert(id).second) << "two names for id " << id;
  }
  for (int id : Strings::AllIds()) EXPECT_TRUE(named.count(id)) << "id " << id << " has no name";
}

std::vector<CommandIds::CommandInfo> AllMenuCommands() {
  std::vector<CommandIds::CommandInfo> all;
  for (const auto& menu : CommandIds::kMenus)
    all.insert(all.end(), menu.items.begin(), menu.items.end());
  return all;
}

TEST(MenuTable, EveryTitleAndItemHasAText) {
  for (const auto& menu : CommandIds::kMenus) {
    EXPECT_TRUE(Strings::Has(menu.titleTextId)) << menu.titleTextId;
    for (const auto& item : menu.items) EXPECT_TRUE(Strings::Has(item.textId)) << item.id;
  }
}

TEST(MenuTable, CommandIdsAreUniqueAndDistinctFromHelpAliases) {
  std::set<int> seen(std::begin(CommandIds::kHelpAliases), std::end(CommandIds::kHelpAliases));
  for (const auto& item : AllMenuCommands())
    EXPECT_TRUE(seen.insert(item.id).second) << "command " << item.id << " appears twice";
}

// A text that shows its key after a tab must name the key the action is bound to.
TEST(MenuTable, ShortcutShownInTextMatchesTheBinding) {
  for (const auto& item : AllMenuCommands()) {
    const QString text = Strings::LoadString(item.textId);
    const qsizetype tab = text.indexOf(u'\t');
    if (tab < 0) continue;
    QString shown = text.mid(tab + 1);
    shown.remove(u' ');
    EXPECT_EQ(shown, QString::fromLatin1(item.shortcut)) << text.toStdString();
  }
}

TEST(MenuTable, MarkerTracesFollowStatisticOrder) {
  // Trace t of the marker set is item t of the menu; the frame relies on it.
  const int expected[] = {32786, 32787, 32788, 32789, 32790, 32791, 32793};
  for (int t = 0; t < 7; ++t)
    EXPECT_EQ(CommandIds::kMarkerMenu[t].id, expected[t]) << "trace " << t;
}

}  // namespace
