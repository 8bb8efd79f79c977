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
