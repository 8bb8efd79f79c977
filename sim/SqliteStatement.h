#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement, finalized with its owner. Binding indexes count
// from 1 and column indexes from 0, as in SQLite itself. Reset before reuse.
class SqliteStatement {
public:
  SqliteStatement() = default;
  SqliteStatement(sqlite3* db, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(SqliteStatement&& other) noexcept;
  SqliteStatement& operator=(SqliteStatement&& other) noexcept;
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  bool valid() const { return m_stmt != nullptr; }

  void bind(int index, int64_t value);
  void bind(int index, double value);
  void bind(int index, std::string_view text);
  void bindBlob(int index, std::span<const uint8_t> bytes);

  // Advances to the next row: true while a row is available. A failure ends
  // the rows; ok() tells it apart from the natural end.
  bool step();
  bool ok() const { return m_ok; }
  // Runs a statement that answers no rows; false when it failed.
  bool run();
  void reset();

  int64_t columnInt(int column) const;
  double columnDouble(int column) const;
  std::string columnText(int column) const;
  std::span<const uint8_t> columnBlob(int column) const;

private:
  sqlite3_stmt* m_stmt = nullptr;
  bool m_ok = true;
};
