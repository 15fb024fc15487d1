#include "db/jet/CargadorTablas.h"

#include <sqlite3.h>

#include "common/CitaSQL.h"
#include "db/jet/ArchivoMdb.h"
#include "db/jet/ConexionJet.h"
#include "db/jet/ManejadoresSqlite.h"
#include "db/jet/funciones/FuncionesJet.h"
#include "db/jet/TablaMemoria.h"
#include "db/jet/texto/TextoJet.h"

namespace qavi::jet {
namespace {

std::string TipoSqlite(TTipoColumna t) {
  switch (t) {
    case TTipoColumna::Booleano:
    case TTipoColumna::Byte:
    case TTipoColumna::Entero:
    case TTipoColumna::EnteroLargo: return " INTEGER";
    case TTipoColumna::Moneda:
    case TTipoColumna::Simple:
    case TTipoColumna::Doble:
    case TTipoColumna::FechaHora:
    case TTipoColumna::Decimal: return " REAL";
    case TTipoColumna::Texto:
    case TTipoColumna::Memo: return std::string(" TEXT COLLATE ") + kColacionJet;
    case TTipoColumna::Binario:
    case TTipoColumna::Ole:
    case TTipoColumna::Guid:
    case TTipoColumna::Otro: return "";
  }
  return "";
}

// Small tables become ordinary SQLite tables: joins on them get SQLite's automatic indexes.
bool CopiaATabla(const TTablaMemoria& memoria, sqlite3* db, const std::string& nombre, std::string& error) {
  std::string crea = "CREATE TABLE " + CitaNombreSQL(nombre) + " (";
  std::string inserta = "INSERT INTO " + CitaNombreSQL(nombre) + " VALUES (";
  for (std::size_t i = 0; i < memoria.NumColumnas(); ++i) {
    crea += (i ? ", " : "") + memoria.Declaraciones()[i];
    inserta += i ? ", ?" : "?";
  }
  crea += ")";
  inserta += ")";

  TTransaccionSqlite transaccion(db);
  if (!transaccion.Abierta()) {
    error = "No se pudo cargar la tabla " + nombre + ": " + sqlite3_errmsg(db);
    return false;
  }
  bool creada = false;
  const auto falla = [&](const std::string& que) {
    error = "No se pudo cargar la tabla " + nombre + " (" + que + "): " + sqlite3_errmsg(db);
    // Without a journal a rollback cannot be trusted to take the table away.
    if (creada) EjecutaSqlite(db, ("DROP TABLE IF EXISTS " + CitaNombreSQL(nombre)).c_str());
    return false;
  };
  if (!EjecutaSqlite(db, crea.c_str())) return falla("creación");
  creada = true;
  const TSentenciaSqlite st = PreparaSqlite(db, inserta);
  if (!st) return falla("inserción");
  for (std::size_t f = 0; f < memoria.Filas(); ++f) {
    for (std::size_t i = 0; i < memoria.NumColumnas(); ++i) {
      const int n = static_cast<int>(i) + 1;
      switch (memoria.Clase(f, i)) {
        case TTablaMemoria::TClase::Nulo: sqlite3_bind_null(st.get(), n); break;
        case TTablaMemoria::TClase::Entero: sqlite3_bind_int64(st.get(), n, memoria.Entero(f, i)); break;
        case TTablaMemoria::TClase::Real: sqlite3_bind_double(st.get(), n, memoria.Real(f, i)); break;
        case TTablaMemoria::TClase::Texto: {
          const std::string_view b = memoria.Bytes(f, i);
          sqlite3_bind_text(st.get(), n, b.data(), static_cast<int>(b.size()), SQLITE_STATIC);
          break;
        }
        case TTablaMemoria::TClase::Blob: {
          const std::string_view b = memoria.Bytes(f, i);
          sqlite3_bind_blob(st.get(), n, b.data(), static_cast<int>(b.size()), SQLITE_STATIC);
          break;
        }
        case TTablaMemoria::TClase::Ilegible: return falla("valor ilegible");  // such tables stay in memory
      }
    }
    if (sqlite3_step(st.get()) != SQLITE_DONE) return falla("inserción");
    sqlite3_reset(st.get());
  }
  if (!transaccion.Confirma()) return falla("confirmación");
  return true;
}

}  // namespace

bool ColumnasParaCarga(const TArchivoMdb& archivo, const std::string& tabla, const std::vector<std::string>& columnas,
                       TColumnasCarga& carga, std::string& error) {
  carga = {};
  carga.tabla = archivo.NombreTabla(tabla);
  if (carga.tabla.empty()) {
    error = "La tabla " + tabla + " no existe en la base de datos";
    return false;
  }
  std::vector<TColumnaMdb> todas;
  if (!archivo.Columnas(carga.tabla, todas, error)) return false;

  // The requested columns in the file's spelling, each once.
  std::vector<const TColumnaMdb*> elegidas;
  if (columnas.empty()) {
    for (const auto& c : todas) elegidas.push_back(&c);
  } else {
    for (const auto& pedida : columnas) {
      const TColumnaMdb* hallada = nullptr;
      const auto clave = ClaveNombreJet(pedida);
      for (const auto& c : todas)
        if (!hallada && ClaveNombreJet(c.nombre) == clave) hallada = &c;
      if (!hallada) {
        error = "La tabla " + carga.tabla + " no tiene la columna " + pedida;
        return false;
      }
      bool repetida = false;
      for (const auto* e : elegidas) repetida = repetida || e == hallada;
      if (!repetida) elegidas.push_back(hallada);
    }
  }
  if (elegidas.empty()) {
    error = "La tabla " + carga.tabla + " no tiene columnas";
    return false;
  }
  for (const auto* c : elegidas) {
    carga.nombres.push_back(c->nombre);
    carga.declaraciones.push_back(CitaNombreSQL(c->nombre) + TipoSqlite(c->tipo));
  }
  return true;
}

bool AgregaFilas(const TArchivoMdb& archivo, const TColumnasCarga& carga, TTablaMemoria& memoria,
                 const TTransformaFila& transforma, std::string& error) {
  bool cabe = true;
  // The reader fills the row anew for each one: the transform may change it in place.
  const auto agrega = [&](std::vector<TValorMdb>& fila) {
    if (transforma && !transforma(fila)) return true;
    return cabe = memoria.Agrega(fila);
  };
  if (archivo.LeeFilas(carga.tabla, carga.nombres, agrega, error)) return true;
  if (!cabe) error = "La tabla " + carga.tabla + " es demasiado grande para cargarla";
  return false;
}

std::shared_ptr<TTablaMemoria> LeeTabla(const TArchivoMdb& archivo, const std::string& tabla,
                                        const std::vector<std::string>& columnas, std::string& nombre,
                                        std::string& error) {
  TColumnasCarga carga;
  if (!ColumnasParaCarga(archivo, tabla, columnas, carga, error)) return nullptr;
  nombre = carga.tabla;
  auto memoria = std::make_shared<TTablaMemoria>(carga.declaraciones, carga.tabla, carga.nombres);
  memoria->Reserva(archivo.FilasAnunciadas(nombre));
  if (!AgregaFilas(archivo, carga, *memoria, nullptr, error)) return nullptr;
  return memoria;
}

bool InstalaTabla(const TConexionJet& conexion, const std::string& nombre, std::shared_ptr<TTablaMemoria> memoria,
                  std::string& error, std::size_t filasParaMemoria) {
  // A value that cannot be read must fail the statements that read it, and only those: a memory
  // table raises the error when SQLite asks for that cell.
  if (memoria->Filas() >= filasParaMemoria || memoria->TieneIlegibles()) {
    if (CreaTablaMemoria(conexion.Memoria(), CitaNombreSQL(nombre), memoria, error)) return true;
    error = "No se pudo cargar la tabla " + nombre + ": " + error;
    return false;
  }
  return CopiaATabla(*memoria, conexion.Db(), nombre, error);
}

bool CargaTabla(const TArchivoMdb& archivo, const TConexionJet& conexion, const std::string& tabla,
                const std::vector<std::string>& columnas, std::string& error, std::size_t filasParaMemoria) {
  std::string nombre;
  auto memoria = LeeTabla(archivo, tabla, columnas, nombre, error);
  return memoria && InstalaTabla(conexion, nombre, std::move(memoria), error, filasParaMemoria);
}

}  // namespace qavi::jet
