#include "db/jet/DerivadasJet.h"

#include <sqlite3.h>

#include <algorithm>
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

void TDerivadasJet::Libera(std::size_t indice, std::size_t ajenas) {
  for (auto it = tablas_.begin(); it != tablas_.end();) {
    const auto& l = it->second.lecturas;
    const auto siguiente = std::upper_bound(l.begin(), l.end(), indice);
    if (!l.empty() && (siguiente == l.end() || *siguiente >= ajenas)) {
      Borra(it->second.tabla);
      it = tablas_.erase(it);
    } else {
      ++it;
    }
  }
}

std::map<std::string, TDerivadasJet::TUso> TDerivadasJet::Plan(
    const std::vector<std::pair<std::size_t, std::vector<TDerivadaLeida>>>& sentencias) {
  struct TLecturas {
    std::vector<std::size_t> en;  // the statements that read it, once per reading
    bool trivial = false;
    std::set<std::string> hijas;
  };
  std::map<std::string, TLecturas> lecturas;
  for (const auto& [indice, derivadas] : sentencias)
    for (const auto& d : derivadas) {
      auto& l = lecturas[d.identidad];
      l.trivial = d.trivial;
      if (d.dentro)
        lecturas[derivadas[*d.dentro].identidad].hijas.insert(d.identidad);
      else
        l.en.push_back(indice);
    }
  // An outer table's text holds its inner ones': the longer first, so each is settled before
  // the tables written in it.
  std::vector<const std::string*> orden;
  for (const auto& [identidad, l] : lecturas) orden.push_back(&identidad);
  std::stable_sort(orden.begin(), orden.end(),
                   [](const std::string* a, const std::string* b) { return a->size() > b->size(); });
  std::map<std::string, TUso> plan;
  for (const std::string* identidad : orden) {
    const auto& l = lecturas[*identidad];
    if (l.en.empty()) continue;
    const bool guardada = !l.trivial && l.en.size() >= 2;
    for (const auto& hija : l.hijas) {
      auto& en = lecturas[hija].en;
      if (guardada)
        en.push_back(*std::min_element(l.en.begin(), l.en.end()));
      else
        en.insert(en.end(), l.en.begin(), l.en.end());
    }
    std::vector<std::size_t> en = l.en;
    std::sort(en.begin(), en.end());
    plan[*identidad] = {std::move(en)};
  }
  return plan;
}

std::optional<std::string> TDerivadasJet::Materializa(const TDerivadaOfrecida& d) {
  const std::string& sql = d.sql;
  if (auto it = tablas_.find(d.identidad); it != tablas_.end()) return it->second.tabla;
  if (d.trivial) return std::nullopt;
  // Within a batch, a table no other use will read again costs a copy for nothing.
  std::vector<std::size_t> lecturas;
  if (actual_) {
    if (auto p = plan_.find(d.identidad); p != plan_.end()) {
      if (p->second.en.size() < 2) return std::nullopt;
      lecturas = p->second.en;
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
  tablas_.emplace(d.identidad, TGuardada{tabla, std::move(lecturas)});
  return tabla;
}

std::optional<std::string> TDerivadasJet::Guardada(const std::string& identidad) {
  if (auto it = tablas_.find(identidad); it != tablas_.end()) return it->second.tabla;
  return std::nullopt;
}

std::optional<std::vector<std::string>> TDerivadasJet::TiposDeclarados(const std::string& sql) {
  return TiposDeclaradosSqlite(db_, sql);
}

}  // namespace qavi::jet
