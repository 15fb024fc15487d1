// Any text as a Jet statement: translating never crashes, as written or through the engine's
// rewrite passes; what translates runs on SQLite without a crash either.
#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/jet/ManejadoresSqlite.h"
#include "db/jet/funciones/FuncionesJet.h"
#include "db/jet/sql/EmisorJet.h"
#include "db/jet/sql/PasoClavesNumericas.h"
#include "db/jet/sql/PasoPeriodos.h"
#include "db/jet/sql/PasoTiposExactos.h"
#include "db/jet/sql/TraductorJet.h"
#include "db/jet/texto/TextoJet.h"

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

struct TOraculo : qavi::jet::IOraculoTipos {
  std::optional<std::vector<std::string>> TiposDeclarados(const std::string& sql) override {
    return qavi::jet::TiposDeclaradosSqlite(BaseDePrueba(), sql);
  }
};

// The amounts are Currency, so that the exact-types pass has something to rewrite.
struct TCatalogo : qavi::jet::ICatalogoTipos {
  const std::vector<qavi::jet::TColumnaTipada>* Columnas(const std::string& tabla) const override {
    using C = qavi::jet::TClaseValor;
    static const std::vector<qavi::jet::TColumnaTipada> movtos = {
        {"Tipo", {}}, {"Folio", {C::Entero}}, {"Fecha", {}}, {"Cantidad", {C::Moneda, 4}}};
    return qavi::jet::MismoNombreJet(tabla, "tMovtos") ? &movtos : nullptr;
  }
};

void Corre(const std::string& sql) {
  sqlite3_stmt* st = nullptr;
  sqlite3* db = BaseDePrueba();
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && !sqlite3_stmt_readonly(st)) {
    sqlite3_finalize(st);  // nothing that writes: the fixture stays the same for every input
    return;
  }
  for (int filas = 0; st && filas < 1000 && sqlite3_step(st) == SQLITE_ROW; ++filas) {
  }
  sqlite3_finalize(st);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
  const std::string_view texto(reinterpret_cast<const char*>(datos), n);
  auto tr = qavi::jet::TraduceSQL(texto);
  if (!tr.ok) return 0;
  Corre(tr.sql);
  auto a = qavi::jet::AnalizaJet(texto);
  if (!a.ok || a.tipo != qavi::jet::TTipoSentencia::Seleccion) return 0;
  TOraculo oraculo;
  qavi::jet::CalculaTiposExactos(a.sentencia, TCatalogo());
  qavi::jet::EmpujaPeriodos(a.sentencia);
  qavi::jet::OrdenaClavesNumericas(a.sentencia, oraculo);
  Corre(qavi::jet::EmiteSentencia(a.sentencia));
  return 0;
}
