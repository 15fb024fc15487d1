#include "db/jet/MotorJet.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <system_error>

#include "db/jet/ArchivoMdb.h"
#include "db/jet/CargadorTablas.h"
#include "db/jet/JetFunciones.h"
#include "db/jet/sql/TraductorJet.h"

namespace qavi::jet {
namespace {

std::string Minusculas(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

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

TMotorJet::TMotorJet(std::filesystem::path ruta) : ruta_(std::move(ruta)) {}

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
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK ||
      !RegistraFunciones(db)) {
    error = "No se pudo preparar el motor de consultas.";
    if (db) sqlite3_close(db);
    return false;
  }
  if (db_) sqlite3_close(db_);
  db_ = db;
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
  for (const auto& t : tablas) {
    auto clave = Minusculas(t);
    if (cargadas_.count(clave)) continue;
    if (!CargaTabla(*archivo_, db_, t, {}, error)) return false;
    cargadas_.insert(clave);
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
