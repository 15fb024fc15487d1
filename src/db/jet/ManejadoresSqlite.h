#pragma once
// SQLite handles that close themselves: a connection, a prepared statement, a transaction that
// rolls back unless it was confirmed.
#include <sqlite3.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qavi::jet {

struct TCierraConexionSqlite {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct TFinalizaSentenciaSqlite {
  void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }
};
using TConexionSqlite = std::unique_ptr<sqlite3, TCierraConexionSqlite>;
using TSentenciaSqlite = std::unique_ptr<sqlite3_stmt, TFinalizaSentenciaSqlite>;

// A prepared statement, or null (sqlite3_errmsg(db) tells why).
inline TSentenciaSqlite PreparaSqlite(sqlite3* db, std::string_view sql) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &st, nullptr) != SQLITE_OK) {
    sqlite3_finalize(st);
    return nullptr;
  }
  return TSentenciaSqlite(st);
}

// Declared types of the result columns of `sql` ("" where none), or nothing if it does not prepare.
inline std::optional<std::vector<std::string>> TiposDeclaradosSqlite(sqlite3* db, std::string_view sql) {
  const TSentenciaSqlite st = PreparaSqlite(db, sql);
  if (!st) return std::nullopt;
  std::vector<std::string> tipos;
  for (int i = 0, n = sqlite3_column_count(st.get()); i < n; ++i) {
    const char* t = sqlite3_column_decltype(st.get(), i);
    tipos.emplace_back(t ? t : "");
  }
  return tipos;
}

inline bool EjecutaSqlite(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

class TTransaccionSqlite {
 public:
  explicit TTransaccionSqlite(sqlite3* db) : db_(db), abierta_(EjecutaSqlite(db, "BEGIN")) {}
  ~TTransaccionSqlite() {
    if (abierta_) EjecutaSqlite(db_, "ROLLBACK");
  }
  TTransaccionSqlite(const TTransaccionSqlite&) = delete;
  TTransaccionSqlite& operator=(const TTransaccionSqlite&) = delete;
  // False if BEGIN failed.
  bool Abierta() const { return abierta_; }
  bool Confirma() {
    if (!abierta_ || !EjecutaSqlite(db_, "COMMIT")) return false;
    abierta_ = false;
    return true;
  }

 private:
  sqlite3* db_;
  bool abierta_;
};

}  // namespace qavi::jet
