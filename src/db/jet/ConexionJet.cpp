#include "db/jet/ConexionJet.h"

#include "db/jet/TablaMemoria.h"
#include "db/jet/funciones/FuncionesJet.h"

namespace qavi::jet {

std::unique_ptr<TConexionJet> TConexionJet::Abre(std::string& error) {
  // SQLite's allocation statistics take a lock on every allocation and nothing here reads them.
  // Only possible before SQLite's first use in the process; later it is refused and harmless.
  static const bool sinEstadisticas = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
  (void)sinEstadisticas;
  std::unique_ptr<TConexionJet> c(new TConexionJet());
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  c->db_.reset(db);
  if (rc != SQLITE_OK || !RegistraFunciones(db) || !(c->memoria_ = RegistraModuloMemoria(db))) {
    error = "No se pudo preparar el motor de consultas.";
    return nullptr;
  }
  // Sorting and temporary tables stay in memory: the file is never the place for them.
  EjecutaSqlite(db, "PRAGMA temp_store = MEMORY");
  // Nothing here is ever rolled back to: loading and computing need no journal.
  EjecutaSqlite(db, "PRAGMA main.journal_mode = OFF; PRAGMA temp.journal_mode = OFF");
  return c;
}

}  // namespace qavi::jet
