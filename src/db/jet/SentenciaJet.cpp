#include "db/jet/SentenciaJet.h"

#include <sqlite3.h>

#include <new>

#include "db/jet/ConexionJet.h"
#include "db/jet/DerivadasJet.h"
#include "db/jet/ManejadoresSqlite.h"
#include "db/jet/TiempoJet.h"
#include "db/jet/sql/EmisorJet.h"
#include "db/jet/sql/PasoDerivadas.h"
#include "db/jet/sql/PasoPeriodos.h"

namespace qavi::jet {
namespace {

// SQLite's English messages, told the way a user of the program can read them.
std::string TraduceErrorSqlite(const std::string& msg) {
  static const std::pair<const char*, const char*> kPrefijos[] = {
      {"no such column: ", "No se encontró la columna "},
      {"no such table: ", "No se encontró la tabla "},
      {"ambiguous column name: ", "El nombre de columna es ambiguo: "},
      {"no such function: ", "Función no reconocida: "},
  };
  for (auto [en, es] : kPrefijos)
    if (msg.rfind(en, 0) == 0) return std::string(es) + msg.substr(std::char_traits<char>::length(en)) + ".";
  return "Error al ejecutar la consulta: " + msg + ".";
}

// A blob is handed out as text, as the query layer reads it.
TValorMdb LeeCelda(sqlite3_stmt* st, int i) {
  switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER: return TValorMdb::Entero(sqlite3_column_int64(st, i));
    case SQLITE_FLOAT: return TValorMdb::Doble(sqlite3_column_double(st, i));
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
      auto p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
      return TValorMdb::Texto(p ? std::string(p, sqlite3_column_bytes(st, i)) : std::string());
    }
    default: return TValorMdb::Nulo();
  }
}

}  // namespace

void ReescribeJet(TAnalisisJet& analisis, IOraculoTipos& oraculo, const ICatalogoTipos& catalogo) {
  CalculaTiposExactos(analisis.sentencia, catalogo);
  EmpujaPeriodos(analisis.sentencia);
  OrdenaClavesNumericas(analisis.sentencia, oraculo);
}

bool CorreSentencia(TConexionJet& conexion, TDerivadasJet* derivadas, const ICatalogoTipos& catalogo,
                    TAnalisisJet& analisis, TResultadoJet& resultado, std::string& error) {
  resultado = {};
  std::string sql;
  try {
    if (analisis.tipo == TTipoSentencia::Borrado) {
      if (derivadas) derivadas->Descarta();  // the rows change: nothing computed before holds
    } else if (derivadas) {
      ReescribeJet(analisis, *derivadas, catalogo);
      ReutilizaDerivadas(analisis.sentencia, *derivadas);
    } else {
      CalculaTiposExactos(analisis.sentencia, catalogo);
    }
    sql = EmiteSentencia(analisis.sentencia);
  } catch (const std::bad_alloc&) {
    error = "Memoria insuficiente para ejecutar la consulta.";
    return false;
  }
  sqlite3* db = conexion.Db();
  const TSentenciaSqlite st = PreparaSqlite(db, sql);
  if (!st) {
    error = TraduceErrorSqlite(sqlite3_errmsg(db));
    return false;
  }
  const int n = sqlite3_column_count(st.get());
  for (int i = 0; i < n; ++i) resultado.columnas.emplace_back(sqlite3_column_name(st.get(), i));
  int rc;
  while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    std::vector<TValorMdb> fila;
    fila.reserve(n);
    for (int i = 0; i < n; ++i) fila.push_back(LeeCelda(st.get(), i));
    resultado.filas.push_back(std::move(fila));
  }
  if (rc != SQLITE_DONE) {
    error = TraduceErrorSqlite(sqlite3_errmsg(db));
    resultado = {};
    return false;
  }
  return true;
}

}  // namespace qavi::jet
