#include "db/jet/CargadorTablas.h"

#include <sqlite3.h>

#include "db/jet/ArchivoMdb.h"
#include "db/jet/JetFunciones.h"

namespace qavi::jet {
namespace {

std::string Cita(const std::string& nombre) {
  std::string r = "\"";
  for (char c : nombre) {
    if (c == '"') r.push_back('"');
    r.push_back(c);
  }
  return r + "\"";
}

std::string TipoSqlite(TTipoColumna t) {
  switch (t) {
    case TTipoColumna::Booleano:
    case TTipoColumna::Byte:
    case TTipoColumna::Entero:
    case TTipoColumna::EnteroLargo: return " INTEGER";
    case TTipoColumna::Moneda:
    case TTipoColumna::Simple:
    case TTipoColumna::Doble:
    case TTipoColumna::FechaHora: return " REAL";
    case TTipoColumna::Texto:
    case TTipoColumna::Memo: return std::string(" TEXT COLLATE ") + kColacionJet;
    case TTipoColumna::Otro: return "";
  }
  return "";
}

class Sentencia {
 public:
  ~Sentencia() { sqlite3_finalize(st_); }
  sqlite3_stmt** operator&() { return &st_; }
  operator sqlite3_stmt*() const { return st_; }

 private:
  sqlite3_stmt* st_ = nullptr;
};

}  // namespace

bool CargaTabla(const TArchivoMdb& archivo, sqlite3* db, const std::string& tabla,
                const std::vector<std::string>& columnas, std::string& error) {
  const std::string nombre = archivo.NombreTabla(tabla);
  if (nombre.empty()) {
    error = "La tabla " + tabla + " no existe en la base de datos";
    return false;
  }
  std::vector<TColumnaMdb> todas;
  if (!archivo.Columnas(nombre, todas, error)) return false;

  // The requested columns in the file's spelling, each once.
  std::vector<const TColumnaMdb*> elegidas;
  if (columnas.empty()) {
    for (const auto& c : todas) elegidas.push_back(&c);
  } else {
    for (const auto& pedida : columnas) {
      const TColumnaMdb* hallada = nullptr;
      const auto clave = ClaveNombre(pedida);
      for (const auto& c : todas)
        if (!hallada && ClaveNombre(c.nombre) == clave) hallada = &c;
      if (!hallada) {
        error = "La tabla " + nombre + " no tiene la columna " + pedida;
        return false;
      }
      bool repetida = false;
      for (const auto* e : elegidas) repetida = repetida || e == hallada;
      if (!repetida) elegidas.push_back(hallada);
    }
  }
  if (elegidas.empty()) {
    error = "La tabla " + nombre + " no tiene columnas";
    return false;
  }

  std::string crea = "CREATE TABLE " + Cita(nombre) + " (";
  std::string inserta = "INSERT INTO " + Cita(nombre) + " VALUES (";
  std::vector<std::string> nombres;
  for (std::size_t i = 0; i < elegidas.size(); ++i) {
    crea += (i ? ", " : "") + Cita(elegidas[i]->nombre) + TipoSqlite(elegidas[i]->tipo);
    inserta += i ? ", ?" : "?";
    nombres.push_back(elegidas[i]->nombre);
  }
  crea += ")";
  inserta += ")";

  const auto falla = [&](const std::string& que) {
    error = "No se pudo cargar la tabla " + nombre + " (" + que + "): " + sqlite3_errmsg(db);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
  };
  if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) {
    error = "No se pudo cargar la tabla " + nombre + ": " + sqlite3_errmsg(db);
    return false;
  }
  if (sqlite3_exec(db, crea.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) return falla("creación");
  Sentencia st;
  if (sqlite3_prepare_v2(db, inserta.c_str(), -1, &st, nullptr) != SQLITE_OK) return falla("inserción");

  bool fallo = false;
  const bool leida = archivo.LeeFilas(
      nombre, nombres,
      [&](const std::vector<TVariante>& fila) {
        for (std::size_t i = 0; i < fila.size(); ++i) {
          const int n = static_cast<int>(i) + 1;
          const TVariante& v = fila[i];
          switch (v.tipo) {
            case TVariante::Tipo::Nulo: sqlite3_bind_null(st, n); break;
            case TVariante::Tipo::Entero: sqlite3_bind_int64(st, n, v.entero); break;
            case TVariante::Tipo::Real: sqlite3_bind_double(st, n, v.real); break;
            case TVariante::Tipo::Texto:
              sqlite3_bind_text(st, n, v.texto.data(), static_cast<int>(v.texto.size()), SQLITE_STATIC);
              break;
          }
        }
        const bool ok = sqlite3_step(st) == SQLITE_DONE;
        sqlite3_reset(st);
        fallo = !ok;
        return ok;
      },
      error);
  if (fallo) return falla("inserción");
  if (!leida) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
  }
  if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) return falla("confirmación");
  return true;
}

}  // namespace qavi::jet
