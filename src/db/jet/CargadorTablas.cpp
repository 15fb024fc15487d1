#include "db/jet/CargadorTablas.h"

#include <sqlite3.h>

#include "db/jet/ArchivoMdb.h"
#include "db/jet/JetFunciones.h"
#include "db/jet/TablaMemoria.h"

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

// Small tables become ordinary SQLite tables: joins on them get SQLite's automatic indexes.
bool CopiaATabla(const TTablaMemoria& memoria, sqlite3* db, const std::string& nombre, std::string& error) {
  std::string crea = "CREATE TABLE " + Cita(nombre) + " (";
  std::string inserta = "INSERT INTO " + Cita(nombre) + " VALUES (";
  for (std::size_t i = 0; i < memoria.NumColumnas(); ++i) {
    crea += (i ? ", " : "") + memoria.Declaraciones()[i];
    inserta += i ? ", ?" : "?";
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
  for (std::size_t f = 0; f < memoria.Filas(); ++f) {
    for (std::size_t i = 0; i < memoria.NumColumnas(); ++i) {
      const int n = static_cast<int>(i) + 1;
      const auto& celda = memoria.Celda(f, i);
      switch (memoria.Clase(f, i)) {
        case TTablaMemoria::TClase::Nulo: sqlite3_bind_null(st, n); break;
        case TTablaMemoria::TClase::Entero: sqlite3_bind_int64(st, n, celda.entero); break;
        case TTablaMemoria::TClase::Real: sqlite3_bind_double(st, n, celda.real); break;
        case TTablaMemoria::TClase::Texto:
          sqlite3_bind_text(st, n, memoria.Texto(celda), static_cast<int>(celda.texto.largo), SQLITE_STATIC);
          break;
      }
    }
    if (sqlite3_step(st) != SQLITE_DONE) return falla("inserción");
    sqlite3_reset(st);
  }
  if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) return falla("confirmación");
  return true;
}

}  // namespace

std::shared_ptr<TTablaMemoria> LeeTabla(const TArchivoMdb& archivo, const std::string& tabla,
                                        const std::vector<std::string>& columnas, std::string& nombre,
                                        std::string& error) {
  nombre = archivo.NombreTabla(tabla);
  if (nombre.empty()) {
    error = "La tabla " + tabla + " no existe en la base de datos";
    return nullptr;
  }
  std::vector<TColumnaMdb> todas;
  if (!archivo.Columnas(nombre, todas, error)) return nullptr;

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
        return nullptr;
      }
      bool repetida = false;
      for (const auto* e : elegidas) repetida = repetida || e == hallada;
      if (!repetida) elegidas.push_back(hallada);
    }
  }
  if (elegidas.empty()) {
    error = "La tabla " + nombre + " no tiene columnas";
    return nullptr;
  }

  std::vector<std::string> nombres, declaraciones;
  for (const auto* c : elegidas) {
    nombres.push_back(c->nombre);
    declaraciones.push_back(Cita(c->nombre) + TipoSqlite(c->tipo));
  }
  auto memoria = std::make_shared<TTablaMemoria>(declaraciones);
  memoria->Reserva(archivo.FilasAnunciadas(nombre));
  bool cabe = true;
  if (!archivo.LeeFilas(
          nombre, nombres, [&](const std::vector<TVariante>& fila) { return cabe = memoria->Agrega(fila); }, error)) {
    if (!cabe) error = "La tabla " + nombre + " es demasiado grande para cargarla";
    return nullptr;
  }
  return memoria;
}

bool InstalaTabla(sqlite3* db, const std::string& nombre, std::shared_ptr<TTablaMemoria> memoria, std::string& error,
                  std::size_t filasParaMemoria) {
  if (memoria->Filas() >= filasParaMemoria) {
    if (CreaTablaMemoria(db, Cita(nombre), memoria, error)) return true;
    error = "No se pudo cargar la tabla " + nombre + ": " + error;
    return false;
  }
  return CopiaATabla(*memoria, db, nombre, error);
}

bool CargaTabla(const TArchivoMdb& archivo, sqlite3* db, const std::string& tabla,
                const std::vector<std::string>& columnas, std::string& error, std::size_t filasParaMemoria) {
  std::string nombre;
  auto memoria = LeeTabla(archivo, tabla, columnas, nombre, error);
  return memoria && InstalaTabla(db, nombre, std::move(memoria), error, filasParaMemoria);
}

}  // namespace qavi::jet
