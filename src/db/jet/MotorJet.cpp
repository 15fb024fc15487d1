#include "db/jet/MotorJet.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

#include "common/Cronometro.h"
#include "common/Texto.h"
#include "db/jet/ArchivoMdb.h"
#include "db/jet/CargadorTablas.h"
#include "db/jet/JetFunciones.h"
#include "db/jet/TablaMemoria.h"
#include "db/jet/sql/TraductorJet.h"

namespace qavi::jet {
namespace {

// QAVI_TIEMPOS=1 writes how long each load, derived table and statement took.
class TTiempo : public TCronometro {
 public:
  explicit TTiempo(std::string que) : TCronometro("tiempo", std::move(que), 110) {}
};

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

TVariante LeeCelda(sqlite3_stmt* st, int i) {
  switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER: return TVariante::DeEntero(sqlite3_column_int64(st, i));
    case SQLITE_FLOAT: return TVariante::DeReal(sqlite3_column_double(st, i));
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
      auto p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
      return TVariante::DeTexto(p ? std::string(p, sqlite3_column_bytes(st, i)) : std::string());
    }
    default: return TVariante::Nulo();
  }
}

}  // namespace

TMotorJet::TMotorJet(std::filesystem::path ruta) : ruta_(std::move(ruta)) {
  const char* sinCache = std::getenv("QAVI_SIN_CACHE");
  reutiliza_ = !(sinCache && std::string(sinCache) == "1");
  // QAVI_FILAS_MEMORIA=N moves the threshold (0: every table), so that small databases can take
  // the same path as large ones.
  if (const char* filas = std::getenv("QAVI_FILAS_MEMORIA")) {
    char* fin = nullptr;
    const unsigned long long n = std::strtoull(filas, &fin, 10);
    if (fin != filas && *fin == '\0') filasParaMemoria_ = static_cast<std::size_t>(n);
  }
}

void TMotorJet::TDerivadas::Descarta() {
  for (const auto& [sql, tabla] : tablas_)
    sqlite3_exec(db_, ("DROP TABLE IF EXISTS temp.\"" + tabla + "\"").c_str(), nullptr, nullptr, nullptr);
  tablas_.clear();
}

std::optional<std::string> TMotorJet::TDerivadas::Materializa(const std::string& sql, bool trivial) {
  if (auto it = tablas_.find(sql); it != tablas_.end()) return it->second;
  if (trivial) return std::nullopt;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &st, nullptr) != SQLITE_OK) {
    sqlite3_finalize(st);
    return std::nullopt;  // inline, the statement reports its own error
  }
  // Same names, same declared types (so the same affinity) and the Jet collation for text.
  std::string columnas;
  std::set<std::string> vistas;
  bool repetida = false;
  for (int i = 0, n = sqlite3_column_count(st); i < n; ++i) {
    std::string nombre = sqlite3_column_name(st, i);
    if (!vistas.insert(MinusculasAscii(nombre)).second) repetida = true;
    const char* tipo = sqlite3_column_decltype(st, i);
    std::string id = "\"";
    for (char c : nombre) id += c == '"' ? std::string("\"\"") : std::string(1, c);
    columnas += (i ? ", " : "") + id + "\" " + (tipo ? std::string(tipo) : std::string()) + " COLLATE " + kColacionJet;
  }
  sqlite3_finalize(st);
  if (repetida || columnas.empty()) return std::nullopt;
  const std::string tabla = "qavi_derivada_" + std::to_string(++siguiente_);
  TTiempo c("derivada " + tabla + ": " + sql);
  const std::string crea = "CREATE TEMP TABLE \"" + tabla + "\" (" + columnas + "); INSERT INTO temp.\"" + tabla + "\" " + sql;
  if (sqlite3_exec(db_, crea.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    sqlite3_exec(db_, ("DROP TABLE IF EXISTS temp.\"" + tabla + "\"").c_str(), nullptr, nullptr, nullptr);
    return std::nullopt;
  }
  c.Nota(std::to_string(sqlite3_changes64(db_)) + " filas");
  tablas_.emplace(sql, tabla);
  return tabla;
}

std::optional<std::vector<std::string>> TMotorJet::TDerivadas::TiposDeclarados(const std::string& sql) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &st, nullptr) != SQLITE_OK) {
    sqlite3_finalize(st);
    return std::nullopt;
  }
  std::vector<std::string> tipos;
  for (int i = 0, n = sqlite3_column_count(st); i < n; ++i) {
    const char* t = sqlite3_column_decltype(st, i);
    tipos.emplace_back(t ? t : "");
  }
  sqlite3_finalize(st);
  return tipos;
}

TMotorJet::~TMotorJet() {
  if (db_) sqlite3_close(db_);
}

bool TMotorJet::LeeSello(const std::filesystem::path& ruta, Sello& sello, std::string& error) {
  std::error_code ec;
  sello.tamano = std::filesystem::file_size(ruta, ec);
  if (!ec) sello.modificado = std::filesystem::last_write_time(ruta, ec);
  if (ec) {
    error = "No se puede leer el archivo " + ruta.string() + ".";
    return false;
  }
  return true;
}

std::shared_ptr<TMotorJet> TMotorJet::Abre(const std::filesystem::path& ruta, std::string& error) {
  std::shared_ptr<TMotorJet> motor(new TMotorJet(ruta));
  if (!motor->Reinicia(error)) return nullptr;
  return motor;
}

bool TMotorJet::Reinicia(std::string& error) {
  Sello sello;
  if (!LeeSello(ruta_, sello, error)) return false;
  auto archivo = TArchivoMdb::Abre(ruta_, error);
  if (!archivo) return false;
  // SQLite's allocation statistics take a lock on every allocation and nothing here reads them.
  // Only possible before SQLite's first use in the process; later it is refused and harmless.
  static const bool sinEstadisticas = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
  (void)sinEstadisticas;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK ||
      !RegistraFunciones(db)) {
    error = "No se pudo preparar el motor de consultas.";
    if (db) sqlite3_close(db);
    return false;
  }
  // Sorting and temporary tables stay in memory: the file is never the place for them.
  sqlite3_exec(db, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
  // Nothing here is ever rolled back to: loading and computing need no journal.
  sqlite3_exec(db, "PRAGMA main.journal_mode = OFF; PRAGMA temp.journal_mode = OFF", nullptr, nullptr, nullptr);
  if (db_) sqlite3_close(db_);
  db_ = db;
  derivadas_.Reinicia(db_);
  archivo_ = std::move(archivo);
  sello_ = sello;
  cargadas_.clear();
  ++cargas_;
  return true;
}

bool TMotorJet::PreparaTablas(const std::set<std::string>& tablas, std::string& error) {
  Sello actual;
  if (!LeeSello(ruta_, actual, error)) return false;
  if (!(actual == sello_) && !Reinicia(error)) return false;
  std::vector<std::string> pendientes;
  for (const auto& t : tablas)
    if (!cargadas_.count(MinusculasAscii(t))) pendientes.push_back(t);
  if (pendientes.empty()) return true;
  std::string nombres;
  for (const auto& t : pendientes) nombres += (nombres.empty() ? "" : ", ") + t;
  TTiempo c("carga " + nombres);

  struct TLeida {
    std::string nombre, error;
    std::shared_ptr<TTablaMemoria> memoria;
  };
  std::vector<TLeida> leidas(pendientes.size());
  std::atomic<std::size_t> siguiente{0};
  const auto lee = [&](const TArchivoMdb& archivo) {
    for (std::size_t i; (i = siguiente++) < pendientes.size();) {
      try {
        leidas[i].memoria = LeeTabla(archivo, pendientes[i], {}, leidas[i].nombre, leidas[i].error);
      } catch (const std::bad_alloc&) {
        leidas[i].error = "No hay memoria suficiente para cargar la tabla " + pendientes[i] + ".";
      }
    }
  };
  // The operations come in two large tables: a second reader, on its own handle of the file,
  // reads one while this thread reads the other. Without it (no thread, no handle) one reads all.
  std::unique_ptr<TArchivoMdb> otro;
  std::thread ayudante;
  if (pendientes.size() > 1) {
    std::string ignorado;
    otro = TArchivoMdb::Abre(ruta_, ignorado);
    try {
      if (otro) ayudante = std::thread([&] { lee(*otro); });
    } catch (const std::system_error&) {
    }
  }
  lee(*archivo_);
  if (ayudante.joinable()) ayudante.join();

  for (std::size_t i = 0; i < pendientes.size(); ++i) {
    if (!leidas[i].memoria) {
      error = leidas[i].error;
      return false;
    }
    if (!InstalaTabla(db_, leidas[i].nombre, std::move(leidas[i].memoria), error, filasParaMemoria_)) return false;
    cargadas_.insert(MinusculasAscii(pendientes[i]));
  }
  return true;
}

bool TMotorJet::Consulta(const std::string& sSQL, TResultadoConsulta& resultado, std::string& error) {
  resultado = {};
  auto tr = TraduceSQL(sSQL);
  if (!tr.ok) {
    error = tr.error;
    return false;
  }
  if (!PreparaTablas(tr.tablas, error)) return false;
  TTiempo c("sentencia " + sSQL);
  if (tr.tipo == TTipoSentencia::Borrado) {
    derivadas_.Descarta();  // the rows change: nothing computed before holds
  } else if (reutiliza_) {
    auto conDerivadas = TraduceSQL(sSQL, &derivadas_);
    if (conDerivadas.ok) tr = std::move(conDerivadas);
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, tr.sql.c_str(), static_cast<int>(tr.sql.size()), &st, nullptr) != SQLITE_OK) {
    error = TraduceErrorSqlite(sqlite3_errmsg(db_));
    sqlite3_finalize(st);
    return false;
  }
  const int n = sqlite3_column_count(st);
  for (int i = 0; i < n; ++i) resultado.columnas.emplace_back(sqlite3_column_name(st, i));
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    std::vector<TVariante> fila;
    fila.reserve(n);
    for (int i = 0; i < n; ++i) fila.push_back(LeeCelda(st, i));
    resultado.filas.push_back(std::move(fila));
  }
  if (rc != SQLITE_DONE) {
    error = TraduceErrorSqlite(sqlite3_errmsg(db_));
    sqlite3_finalize(st);
    resultado = {};
    return false;
  }
  sqlite3_finalize(st);
  return true;
}

bool TMotorJet::Ejecuta(const std::string& sSQL, std::string& error) {
  TResultadoConsulta r;
  return Consulta(sSQL, r, error);
}

}  // namespace qavi::jet
