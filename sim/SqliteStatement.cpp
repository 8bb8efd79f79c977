#include "sim/SqliteStatement.h"

#include <sqlite3.h>

#include <utility>

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) {
  if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_stmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    m_ok = false;
  }
}

SqliteStatement::~SqliteStatement() {
  sqlite3_finalize(m_stmt);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_stmt(std::exchange(other.m_stmt, nullptr)), m_ok(other.m_ok) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(m_stmt);
    m_stmt = std::exchange(other.m_stmt, nullptr);
    m_ok = other.m_ok;
  }
  return *this;
}

void SqliteStatement::bind(int index, int64_t value) {
  sqlite3_bind_int64(m_stmt, index, value);
}

void SqliteStatement::bind(int index, double value) {
  sqlite3_bind_double(m_stmt, index, value);
}

void SqliteStatement::bind(int index, std::string_view text) {
  sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bindBlob(int index, std::span<const uint8_t> bytes) {
  // A zero-length blob still binds as a blob, never as NULL.
  static const uint8_t empty = 0;
  sqlite3_bind_blob(m_stmt, index, bytes.empty() ? &empty : bytes.data(), static_cast<int>(bytes.size()),
                    SQLITE_TRANSIENT);
}

bool SqliteStatement::step() {
  if (!m_stmt) return false;
  const int rc = sqlite3_step(m_stmt);
  if (rc == SQLITE_ROW) return true;
  m_ok = rc == SQLITE_DONE;
  return false;
}

bool SqliteStatement::run() {
  if (!m_stmt) return false;
  const int rc = sqlite3_step(m_stmt);
  m_ok = rc == SQLITE_DONE || rc == SQLITE_ROW;
  sqlite3_reset(m_stmt);
  return m_ok;
}

void SqliteStatement::reset() {
  if (!m_stmt) return;
  sqlite3_reset(m_stmt);
  sqlite3_clear_bindings(m_stmt);
  m_ok = true;
}

int64_t SqliteStatement::columnInt(int column) const {
  return sqlite3_column_int64(m_stmt, column);
}

double SqliteStatement::columnDouble(int column) const {
  return sqlite3_column_double(m_stmt, column);
}

std::string SqliteStatement::columnText(int column) const {
  const auto* text = sqlite3_column_text(m_stmt, column);
  const int size = sqlite3_column_bytes(m_stmt, column);
  return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size)) : std::string();
}

std::span<const uint8_t> SqliteStatement::columnBlob(int column) const {
  const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(m_stmt, column));
  const int size = sqlite3_column_bytes(m_stmt, column);
  if (!data || size <= 0) return {};
  return {data, static_cast<size_t>(size)};
}
