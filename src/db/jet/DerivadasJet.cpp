#include "db/jet/DerivadasJet.h"

#include <sqlite3.h>

#include <set>

#include "common/CitaSQL.h"
#include "common/Texto.h"
#include "db/jet/ManejadoresSqlite.h"
#include "db/jet/TiempoJet.h"
#include "db/jet/funciones/FuncionesJet.h"

namespace qavi::jet {

void TDerivadasJet::Borra(const std::string& tabla) {
  EjecutaSqlite(db_, ("DROP TABLE IF EXISTS temp." + CitaNombreSQL(tabla)).c_str());
}

void TDerivadasJet::Descarta() {
  for (const auto& [sql, g] : tablas_) Borra(g.tabla);
  tablas_.clear();
}

void TDerivadasJet::Libera(std::size_t indice) {
  for (auto it = tablas_.begin(); it != tablas_.end();) {
    if (it->second.hasta && *it->second.hasta <= indice) {
      Borra(it->second.tabla);
      it = tablas_.erase(it);
    } else {
      ++it;
    }
  }
}

std::optional<std::string> TDerivadasJet::Materializa(const TDerivadaOfrecida& d) {
  const std::string& sql = d.sql;
  if (auto it = tablas_.find(sql); it != tablas_.end()) return it->second.tabla;
  if (d.trivial) return std::nullopt;
  // Within a batch, a table no other use will read again costs a copy for nothing.
  std::optional<std::size_t> hasta;
  if (actual_) {
    if (auto p = plan_.find(d.identidad); p != plan_.end()) {
      if (p->second.usos < 2) return std::nullopt;
      hasta = p->second.ultima;
    }
  }
  const TSentenciaSqlite st = PreparaSqlite(db_, sql);
  if (!st) return std::nullopt;  // inline, the statement reports its own error
  // Same names, same declared types (so the same affinity) and the Jet collation for text.
  std::string columnas;
  std::set<std::string> vistas;
  bool repetida = false;
  for (int i = 0, n = sqlite3_column_count(st.get()); i < n; ++i) {
    std::string nombre = sqlite3_column_name(st.get(), i);
    // SQLite refuses two columns whose names differ only in ASCII letter case.
    if (!vistas.insert(MinusculasAscii(nombre)).second) repetida = true;
    const char* tipo = sqlite3_column_decltype(st.get(), i);
    columnas += (i ? ", " : "") + CitaNombreSQL(nombre) + " " + (tipo ? std::string(tipo) : std::string()) +
                " COLLATE " + kColacionJet;
  }
  if (repetida || columnas.empty()) return std::nullopt;
  const std::string tabla = "qavi_derivada_" + std::to_string(++siguiente_);
  TTiempo c("derivada " + tabla + ": " + sql);
  const std::string crea = "CREATE TEMP TABLE " + CitaNombreSQL(tabla) + " (" + columnas + "); INSERT INTO temp." +
                           CitaNombreSQL(tabla) + " " + sql;
  if (!EjecutaSqlite(db_, crea.c_str())) {
    Borra(tabla);
    return std::nullopt;
  }
  c.Nota(std::to_string(sqlite3_changes64(db_)) + " filas");
  tablas_.emplace(sql, TGuardada{tabla, hasta});
  return tabla;
}

std::optional<std::vector<std::string>> TDerivadasJet::TiposDeclarados(const std::string& sql) {
  return TiposDeclaradosSqlite(db_, sql);
}

}  // namespace qavi::jet
