#pragma once

#include "sim/SimRecords.h"
#include "sim/SqliteStatement.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>

struct sqlite3;

// The stand-in server's SQLite store: ports, users, tokens and raw scans.
// Every call is serialised on one connection, so the request workers, the
// objects and the writer of live scans may share it; a Transaction only
// groups the writes of the one thread that writes to the store, and readers
// on other threads may see its rows before the commit.
class SimDatabase {
public:
  // Opens (creating when missing) the file and its tables.
  static std::unique_ptr<SimDatabase> open(const std::string& path, std::string* error);
  ~SimDatabase();
  SimDatabase(const SimDatabase&) = delete;
  SimDatabase& operator=(const SimDatabase&) = delete;

  class Transaction {
  public:
    explicit Transaction(SimDatabase& db);
    ~Transaction();  // rolls back unless committed
    bool commit(std::string* error);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

  private:
    SimDatabase& m_db;
    bool m_open = false;
  };

  bool clear(std::string* error);
  bool putPort(const PortRecord& port, std::string* error);
  // Stores the password as a salted slow hash (PasswordHash), never as given.
  bool putUser(const std::string& name, const std::string& password, std::string* error);
  bool putToken(const TokenRecord& token, std::string* error);
  bool putScan(int32_t node, int32_t time, std::span<const float> levels, std::string* error);

  // nullopt when there is no such row or it cannot be read.
  std::optional<PortRecord> port(int32_t node) const;
  std::optional<TokenRecord> token(int32_t token) const;
  // The stored password hash of a user; nullopt for an unknown one.
  std::optional<std::string> passwordHash(const std::string& name) const;

  // Calls `visit` for each scan of `node` with from <= time < to, ascending,
  // its levels cut or padded (NaN) to `width`. The store is held meanwhile,
  // so `visit` must not call back into it.
  using ScanVisitor = std::function<void(int32_t time, std::span<const float> levels)>;
  bool forEachScan(int32_t node, int64_t from, int64_t to, std::size_t width, const ScanVisitor& visit,
                   std::string* error) const;
  // The same scans gathered in memory.
  bool scans(int32_t node, int64_t from, int64_t to, std::size_t width, ScanSet& out,
             std::string* error) const;
  int64_t scanCount(int32_t node) const;
  // The time of the latest scan of `node`; nullopt when it has none.
  std::optional<int32_t> newestScan(int32_t node) const;

private:
  explicit SimDatabase(sqlite3* db);
  bool addMissingColumns(std::string* error);
  bool hashPlainPasswords(std::string* error);
  bool exec(const char* sql, std::string* error);
  bool fail(std::string* error) const;

  struct Closer {
    void operator()(sqlite3* db) const;
  };
  std::unique_ptr<sqlite3, Closer> m_db;
  mutable std::mutex m_mutex;
  // Prepared once; SQLite statements are not reentrant, hence the mutex.
  mutable SqliteStatement m_putScan, m_selectScans, m_selectPort, m_selectToken, m_selectUser, m_countScans;
};
