#pragma once
// The in-memory SQLite database a Jet file is loaded into: Jet's functions, collation and LIKE
// registered, the module of memory tables with its own tables, temporary data in memory.
#include <memory>
#include <string>

#include "db/jet/ManejadoresSqlite.h"

namespace qavi::jet {

class TModuloMemoria;

class TConexionJet {
 public:
  // Null and a readable Spanish reason when SQLite refuses.
  static std::unique_ptr<TConexionJet> Abre(std::string& error);
  sqlite3* Db() const { return db_.get(); }
  // The memory tables of this connection; lives as long as it.
  TModuloMemoria& Memoria() const { return *memoria_; }

 private:
  TConexionJet() = default;
  TConexionSqlite db_;
  TModuloMemoria* memoria_ = nullptr;  // owned by the connection (SQLite frees it on close)
};

}  // namespace qavi::jet
