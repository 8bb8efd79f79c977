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

TEST(StringsTable, UnknownIdsGiveNoText) {
  // Around real ids, both ends of the table and values outside it.
  for (int id : {-1, 0, 127, 129, 19999, 57343, 57345, 65535, 1 << 30}) {
    EXPECT_FALSE(Strings::Has(id)) << id;
    EXPECT_TRUE(Strings::LoadString(id).isNull()) << id;
  }
}

TEST(StringsTable, IdsStrictlyIncreaseAndEachHasAText) {
  const std::vector<int> ids = Strings::AllIds();
  ASSERT_FALSE(ids.empty());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end(), [](int a, int b) { return a >= b; }), ids.end());
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
  for (const auto& menu : CommandIds::kMenus) all.insert(all.end(), menu.items.begin(), menu.items.end());
  return all;
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

}  // namespace
