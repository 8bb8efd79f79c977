#include "sim/SimDatabase.h"

#include "server/BlockCodec.h"
#include "sim/PasswordHash.h"
#include "sim/SimLog.h"

#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace {

static_assert(std::endian::native == std::endian::little,
              "level and frequency blobs are stored as little-endian machine values");

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS ports (
  node INTEGER PRIMARY KEY,
  label TEXT NOT NULL,
  level_unit INTEGER NOT NULL DEFAULT 0,
  frequencies BLOB NOT NULL,
  threshold1_name TEXT NOT NULL DEFAULT '',
  threshold2_name TEXT NOT NULL DEFAULT '',
  threshold3_name TEXT NOT NULL DEFAULT '',
  threshold4_name TEXT NOT NULL DEFAULT '',
  threshold1_level REAL NOT NULL DEFAULT 0,
  threshold2_level REAL NOT NULL DEFAULT 0,
  threshold3_level REAL NOT NULL DEFAULT 0,
  threshold4_level REAL NOT NULL DEFAULT 0,
  threshold_table BLOB,
  monitor_version INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE IF NOT EXISTS users (
  name TEXT PRIMARY KEY,
  password TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS tokens (
  token INTEGER PRIMARY KEY,
  user TEXT NOT NULL,
  permissions INTEGER NOT NULL,
  expires INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS scans (
  node INTEGER NOT NULL,
  time INTEGER NOT NULL,
  levels BLOB NOT NULL,
  PRIMARY KEY (node, time)
);
)sql";

template <typename T>
std::span<const uint8_t> asBytes(std::span<const T> values) {
  return {reinterpret_cast<const uint8_t*>(values.data()), values.size_bytes()};
}

template <typename T>
std::vector<T> fromBytes(std::span<const uint8_t> bytes) {
  std::vector<T> out(bytes.size() / sizeof(T));
  if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * sizeof(T));
  return out;
}

void setError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

}  // namespace

void SimDatabase::Closer::operator()(sqlite3* db) const {
  sqlite3_close(db);
}

std::unique_ptr<SimDatabase> SimDatabase::open(const std::string& path, std::string* error) {
  sqlite3* raw = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path.c_str(), &raw, flags, nullptr) != SQLITE_OK) {
    setError(error, "cannot open " + path + ": " + (raw ? sqlite3_errmsg(raw) : "out of memory"));
    sqlite3_close(raw);
    return nullptr;
  }
  std::unique_ptr<SimDatabase> db(new SimDatabase(raw));
  // Another process (a seeding run) may hold the file for a moment.
  sqlite3_busy_timeout(raw, 5000);
  if (!db->exec(kSchema, error)) return nullptr;
  if (!db->addMissingColumns(error)) return nullptr;
  if (!db->hashPlainPasswords(error)) return nullptr;
  db->m_putScan = SqliteStatement(raw, "INSERT OR REPLACE INTO scans(node, time, levels) VALUES(?, ?, ?)");
  db->m_selectScans = SqliteStatement(
      raw, "SELECT time, levels FROM scans WHERE node = ? AND time >= ? AND time < ? ORDER BY time");
  db->m_selectPort = SqliteStatement(
      raw,
      "SELECT label, level_unit, frequencies, threshold1_name, threshold2_name, threshold3_name, "
      "threshold4_name, threshold1_level, threshold2_level, threshold3_level, threshold4_level, "
      "threshold_table, monitor_version FROM ports WHERE node = ?");
  db->m_selectToken = SqliteStatement(raw, "SELECT user, permissions, expires FROM tokens WHERE token = ?");
  db->m_selectUser = SqliteStatement(raw, "SELECT password FROM users WHERE name = ?");
  db->m_countScans = SqliteStatement(raw, "SELECT COUNT(*) FROM scans WHERE node = ?");
  for (const SqliteStatement* s : {&db->m_putScan, &db->m_selectScans, &db->m_selectPort, &db->m_selectToken,
                                   &db->m_selectUser, &db->m_countScans}) {
    if (!s->valid()) {
      setError(error, std::string("cannot prepare statements: ") + sqlite3_errmsg(raw));
      return nullptr;
    }
  }
  return db;
}

SimDatabase::SimDatabase(sqlite3* db) : m_db(db) {}

// Statements go before the connection they belong to.
SimDatabase::~SimDatabase() {
  m_putScan = {};
  m_selectScans = {};
  m_selectPort = {};
  m_selectToken = {};
  m_selectUser = {};
  m_countScans = {};
}

bool SimDatabase::exec(const char* sql, std::string* error) {
  std::lock_guard lock(m_mutex);
  char* message = nullptr;
  if (sqlite3_exec(m_db.get(), sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  setError(error, message ? message : "database error");
  sqlite3_free(message);
  return false;
}

// A database seeded by an older build lacks the columns added since; they
// arrive with their defaults, so its scans need not be seeded again.
bool SimDatabase::addMissingColumns(std::string* error) {
  bool hasVersion = false;
  {
    std::lock_guard lock(m_mutex);
    SqliteStatement columns(m_db.get(), "SELECT name FROM pragma_table_info('ports')");
    if (!columns.valid()) return fail(error);
    while (columns.step())
      if (columns.columnText(0) == "monitor_version") hasVersion = true;
  }
  return hasVersion || exec("ALTER TABLE ports ADD COLUMN monitor_version INTEGER NOT NULL DEFAULT 0", error);
}

// Older builds kept passwords as plain text; they are replaced by their
// hashes the first time such a file is opened, in one transaction, so the
// file never holds a mix it cannot explain.
bool SimDatabase::hashPlainPasswords(std::string* error) {
  std::vector<std::pair<std::string, std::string>> plain;
  {
    std::lock_guard lock(m_mutex);
    SqliteStatement users(m_db.get(), "SELECT name, password FROM users");
    if (!users.valid()) return fail(error);
    while (users.step())
      if (!PasswordHash::isHash(users.columnText(1)))
        plain.emplace_back(users.columnText(0), users.columnText(1));
  }
  if (plain.empty()) return true;
  Transaction transaction(*this);
  for (auto& [name, password] : plain) {
    const bool stored = putUser(name, password, error);
    std::fill(password.begin(), password.end(), '\0');
    if (!stored) return false;
  }
  if (!transaction.commit(error)) return false;
  SimLog::line("stored " + std::to_string(plain.size()) + " plain-text password(s) as hashes");
  return true;
}

bool SimDatabase::fail(std::string* error) const {
  setError(error, sqlite3_errmsg(m_db.get()));
  return false;
}

SimDatabase::Transaction::Transaction(SimDatabase& db) : m_db(db) {
  m_open = m_db.exec("BEGIN", nullptr);
}

SimDatabase::Transaction::~Transaction() {
  if (m_open) m_db.exec("ROLLBACK", nullptr);
}

bool SimDatabase::Transaction::commit(std::string* error) {
  if (!m_open) {
    setError(error, "no transaction");
    return false;
  }
  m_open = false;
  return m_db.exec("COMMIT", error);
}

bool SimDatabase::clear(std::string* error) {
  return exec("DELETE FROM scans; DELETE FROM tokens; DELETE FROM users; DELETE FROM ports;", error);
}

bool SimDatabase::putPort(const PortRecord& port, std::string* error) {
  if (port.frequencies.size() > static_cast<size_t>(Blocks::kMaxEntries)) {
    setError(error, "a frequency plan holds at most 500 frequencies");
    return false;
  }
  std::lock_guard lock(m_mutex);
  SqliteStatement s(m_db.get(),
                    "INSERT OR REPLACE INTO ports(node, label, level_unit, frequencies, threshold1_name, "
                    "threshold2_name, threshold3_name, threshold4_name, threshold1_level, threshold2_level, "
                    "threshold3_level, threshold4_level, threshold_table, monitor_version) "
                    "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  if (!s.valid()) return fail(error);
  s.bind(1, int64_t{port.node});
  s.bind(2, port.label);
  s.bind(3, int64_t{port.levelUnit.code()});
  s.bindBlob(4, asBytes(std::span<const double>(port.frequencies)));
  for (int k = 0; k < kThresholdCount; ++k) {
    s.bind(5 + k, port.thresholdNames[static_cast<size_t>(k)]);
    s.bind(9 + k, port.thresholdLevels[static_cast<size_t>(k)]);
  }
  s.bindBlob(13, BlockCodec::encode(port.thresholdTable));
  s.bind(14, int64_t{port.monitorVersion});
  return s.run() || fail(error);
}

bool SimDatabase::putUser(const std::string& name, const std::string& password, std::string* error) {
  std::lock_guard lock(m_mutex);
  SqliteStatement s(m_db.get(), "INSERT OR REPLACE INTO users(name, password) VALUES(?, ?)");
  if (!s.valid()) return fail(error);
  const std::string hash = PasswordHash::make(password);
  if (hash.empty()) {
    setError(error, "cannot hash the password");
    return false;
  }
  s.bind(1, name);
  s.bind(2, hash);
  return s.run() || fail(error);
}

bool SimDatabase::putToken(const TokenRecord& token, std::string* error) {
  std::lock_guard lock(m_mutex);
  SqliteStatement s(m_db.get(),
                    "INSERT OR REPLACE INTO tokens(token, user, permissions, expires) VALUES(?, ?, ?, ?)");
  if (!s.valid()) return fail(error);
  s.bind(1, int64_t{token.token});
  s.bind(2, token.user);
  s.bind(3, int64_t{token.permissions});
  s.bind(4, token.expires);
  return s.run() || fail(error);
}

bool SimDatabase::putScan(int32_t node, int32_t time, std::span<const float> levels, std::string* error) {
  std::lock_guard lock(m_mutex);
  m_putScan.reset();
  m_putScan.bind(1, int64_t{node});
  m_putScan.bind(2, int64_t{time});
  m_putScan.bindBlob(3, asBytes(levels));
  return m_putScan.run() || fail(error);
}

std::optional<PortRecord> SimDatabase::port(int32_t node) const {
  std::lock_guard lock(m_mutex);
  SqliteStatement& s = m_selectPort;
  s.reset();
  s.bind(1, int64_t{node});
  if (!s.step()) return std::nullopt;
  PortRecord p;
  p.node = node;
  p.label = s.columnText(0);
  p.levelUnit = LevelUnit::fromCode(s.columnInt(1));
  p.frequencies = fromBytes<double>(s.columnBlob(2));
  if (p.frequencies.size() > static_cast<size_t>(Blocks::kMaxEntries))
    p.frequencies.resize(Blocks::kMaxEntries);
  for (int k = 0; k < kThresholdCount; ++k) {
    p.thresholdNames[static_cast<size_t>(k)] = s.columnText(3 + k);
    p.thresholdLevels[static_cast<size_t>(k)] = s.columnDouble(7 + k);
  }
  // A missing or damaged table reads as an empty one.
  if (BlockCodec::decode(s.columnBlob(11), p.thresholdTable) != BlockCodec::Status::Ok) p.thresholdTable = {};
  p.monitorVersion = static_cast<uint16_t>(std::clamp<int64_t>(s.columnInt(12), 0, 0xFFFF));
  s.reset();
  return p;
}

std::optional<TokenRecord> SimDatabase::token(int32_t token) const {
  std::lock_guard lock(m_mutex);
  SqliteStatement& s = m_selectToken;
  s.reset();
  s.bind(1, int64_t{token});
  if (!s.step()) return std::nullopt;
  TokenRecord t{token, s.columnText(0), static_cast<int32_t>(s.columnInt(1)), s.columnInt(2)};
  s.reset();
  return t;
}

std::optional<std::string> SimDatabase::passwordHash(const std::string& name) const {
  std::lock_guard lock(m_mutex);
  SqliteStatement& s = m_selectUser;
  s.reset();
  s.bind(1, name);
  std::optional<std::string> hash;
  if (s.step()) hash = s.columnText(0);
  s.reset();
  return hash;
}

bool SimDatabase::forEachScan(int32_t node, int64_t from, int64_t to, std::size_t width,
                              const ScanVisitor& visit, std::string* error) const {
  std::lock_guard lock(m_mutex);
  SqliteStatement& s = m_selectScans;
  s.reset();
  s.bind(1, int64_t{node});
  s.bind(2, from);
  s.bind(3, to);
  // SQLite's blob memory carries no alignment promise: copy each row once.
  std::vector<float> row(width);
  while (s.step()) {
    const std::span<const uint8_t> blob = s.columnBlob(1);
    const std::size_t stored = std::min(width, blob.size() / sizeof(float));
    if (stored) std::memcpy(row.data(), blob.data(), stored * sizeof(float));
    std::fill(row.begin() + static_cast<std::ptrdiff_t>(stored), row.end(),
              std::numeric_limits<float>::quiet_NaN());
    visit(static_cast<int32_t>(s.columnInt(0)), row);
  }
  const bool ok = s.ok() || fail(error);
  s.reset();
  return ok;
}

bool SimDatabase::scans(int32_t node, int64_t from, int64_t to, std::size_t width, ScanSet& out,
                        std::string* error) const {
  out = ScanSet{};
  out.width = width;
  return forEachScan(
      node, from, to, width,
      [&out](int32_t time, std::span<const float> levels) {
        out.times.push_back(time);
        out.levels.insert(out.levels.end(), levels.begin(), levels.end());
      },
      error);
}

int64_t SimDatabase::scanCount(int32_t node) const {
  std::lock_guard lock(m_mutex);
  SqliteStatement& s = m_countScans;
  s.reset();
  s.bind(1, int64_t{node});
  const int64_t n = s.step() ? s.columnInt(0) : 0;
  s.reset();
  return n;
}

std::optional<int32_t> SimDatabase::newestScan(int32_t node) const {
  std::lock_guard lock(m_mutex);
  SqliteStatement s(m_db.get(), "SELECT time FROM scans WHERE node = ? ORDER BY time DESC LIMIT 1");
  if (!s.valid()) return std::nullopt;
  s.bind(1, int64_t{node});
  if (!s.step()) return std::nullopt;
  return static_cast<int32_t>(s.columnInt(0));
}
