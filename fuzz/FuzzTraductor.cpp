// Any text as a Jet statement: translating never crashes; what translates runs on SQLite
// without a crash either.
#include <sqlite3.h>

#include <cstdint>
#include <string_view>

#include "db/jet/JetFunciones.h"
#include "db/jet/sql/TraductorJet.h"

namespace {

sqlite3* BaseDePrueba() {
  static sqlite3* db = [] {
    sqlite3* d = nullptr;
    sqlite3_open(":memory:", &d);
    qavi::jet::RegistraFunciones(d);
    sqlite3_exec(d,
                 "CREATE TABLE tEmpresa(NumEmp INTEGER, Empresa TEXT COLLATE JETNOCASE);"
                 "INSERT INTO tEmpresa VALUES(1,'CC');"
                 "CREATE TABLE tEmps(ClaveEmp TEXT COLLATE JETNOCASE, Password TEXT COLLATE JETNOCASE, Nivel INTEGER);"
                 "INSERT INTO tEmps VALUES('ADMIN','',0),('b',NULL,3);"
                 "CREATE TABLE tMovtos(Tipo TEXT COLLATE JETNOCASE, Folio INTEGER, Fecha REAL, Cantidad REAL);"
                 "INSERT INTO tMovtos VALUES('C',1,42005.5,10.5),('V',2,42369,11);",
                 nullptr, nullptr, nullptr);
    return d;
  }();
  return db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
  auto tr = qavi::jet::TraduceSQL(std::string_view(reinterpret_cast<const char*>(datos), n));
  if (!tr.ok) return 0;
  sqlite3_stmt* st = nullptr;
  sqlite3* db = BaseDePrueba();
  if (sqlite3_prepare_v2(db, tr.sql.c_str(), -1, &st, nullptr) == SQLITE_OK && !sqlite3_stmt_readonly(st)) {
    sqlite3_finalize(st);  // nothing that writes: the fixture stays the same for every input
    return 0;
  }
  for (int filas = 0; st && filas < 1000 && sqlite3_step(st) == SQLITE_ROW; ++filas) {
  }
  sqlite3_finalize(st);
  return 0;
}
