#include "db/jet/MotorJet.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

#include "common/CitaSQL.h"
#include "common/Cronometro.h"
#include "common/Texto.h"
#include "db/jet/ArchivoMdb.h"
#include "db/jet/CargadorTablas.h"
#include "db/jet/ConexionJet.h"
#include "db/jet/ManejadoresSqlite.h"
#include "db/jet/TablaMemoria.h"
#include "db/jet/funciones/FuncionesJet.h"
#include "db/jet/sql/EmisorJet.h"
#include "db/jet/sql/PasoPeriodos.h"
#include "db/jet/sql/TraductorJet.h"
#include "db/jet/texto/TextoJet.h"

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

TMotorJet::TMotorJet(std::vector<TFuenteJet> fuentes, std::optional<TPlanConsolidacion> plan,
                     const TOpcionesMotorJet& opciones)
    : fuentes_(std::move(fuentes)), plan_(std::move(plan)), opciones_(opciones) {}

void TMotorJet::TDerivadas::Borra(const std::string& tabla) {
  EjecutaSqlite(db_, ("DROP TABLE IF EXISTS temp." + CitaNombreSQL(tabla)).c_str());
}

void TMotorJet::TDerivadas::Descarta() {
  for (const auto& [sql, g] : tablas_) Borra(g.tabla);
  tablas_.clear();
}

void TMotorJet::TDerivadas::Libera(std::size_t indice) {
  for (auto it = tablas_.begin(); it != tablas_.end();) {
    if (it->second.hasta && *it->second.hasta <= indice) {
      Borra(it->second.tabla);
      it = tablas_.erase(it);
    } else {
      ++it;
    }
  }
}

std::optional<std::string> TMotorJet::TDerivadas::Materializa(const TDerivadaOfrecida& d) {
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

std::optional<std::vector<std::string>> TMotorJet::TDerivadas::TiposDeclarados(const std::string& sql) {
  return TiposDeclaradosSqlite(db_, sql);
}

TMotorJet::~TMotorJet() = default;

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

std::shared_ptr<TMotorJet> TMotorJet::Abre(const std::filesystem::path& ruta, std::string& error,
                                           const TOpcionesMotorJet& opciones) {
  std::shared_ptr<TMotorJet> motor(new TMotorJet({TFuenteJet{ruta}}, std::nullopt, opciones));
  if (!motor->Reinicia(error)) return nullptr;
  return motor;
}

std::shared_ptr<TMotorJet> TMotorJet::AbreConsolidado(std::vector<TFuenteJet> fuentes, TPlanConsolidacion plan,
                                                      std::string& error, const TOpcionesMotorJet& opciones) {
  if (fuentes.empty()) {
    error = "No se indicó ninguna base de datos.";
    return nullptr;
  }
  std::shared_ptr<TMotorJet> motor(new TMotorJet(std::move(fuentes), std::move(plan), opciones));
  if (!motor->Reinicia(error)) return nullptr;
  return motor;
}

std::vector<std::unique_ptr<TArchivoMdb>> TMotorJet::AbreArchivos(std::string& error) const {
  std::vector<std::unique_ptr<TArchivoMdb>> archivos;
  for (const auto& f : fuentes_) {
    auto a = TArchivoMdb::Abre(f.ruta, error);
    if (!a) {
      if (fuentes_.size() > 1) error += " (" + f.ruta.string() + ")";
      return {};
    }
    archivos.push_back(std::move(a));
  }
  return archivos;
}

bool TMotorJet::Reinicia(std::string& error) {
  std::vector<Sello> sellos(fuentes_.size());
  for (std::size_t i = 0; i < fuentes_.size(); ++i)
    if (!LeeSello(fuentes_[i].ruta, sellos[i], error)) return false;
  auto archivos = AbreArchivos(error);
  if (archivos.empty()) return false;
  auto conexion = TConexionJet::Abre(error);
  if (!conexion) return false;
  conexion_ = std::move(conexion);
  derivadas_.Reinicia(conexion_->Db());
  archivos_ = std::move(archivos);
  sellos_ = std::move(sellos);
  cargadas_.clear();
  ++cargas_;
  return true;
}

bool TMotorJet::PreparaTablas(const std::set<std::string>& tablas, std::string& error) {
  // A change of any file on disk starts a new snapshot of them all.
  for (std::size_t i = 0; i < fuentes_.size(); ++i) {
    Sello actual;
    if (!LeeSello(fuentes_[i].ruta, actual, error)) return false;
    if (!(actual == sellos_[i])) {
      if (!Reinicia(error)) return false;
      break;
    }
  }
  std::vector<std::string> pendientes;
  for (const auto& t : tablas)
    if (!cargadas_.count(ClaveNombreJet(t))) pendientes.push_back(t);
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
  const auto lee = [&](const std::vector<std::unique_ptr<TArchivoMdb>>& propios) {
    std::vector<const TArchivoMdb*> archivos;
    for (const auto& a : propios) archivos.push_back(a.get());
    for (std::size_t i; (i = siguiente++) < pendientes.size();) {
      try {
        leidas[i].memoria =
            plan_ ? LeeTablaConsolidada(archivos, fuentes_, *plan_, pendientes[i], leidas[i].nombre, leidas[i].error)
                  : LeeTabla(*archivos[0], pendientes[i], {}, leidas[i].nombre, leidas[i].error);
      } catch (const std::bad_alloc&) {
        leidas[i].error = "No hay memoria suficiente para cargar la tabla " + pendientes[i] + ".";
      }
    }
  };
  // The operations come in two large tables: a second reader, on its own handles of the files,
  // reads one while this thread reads the other. Without it (no thread, no handle) one reads all.
  std::vector<std::unique_ptr<TArchivoMdb>> otros;
  std::thread ayudante;
  if (pendientes.size() > 1) {
    std::string ignorado;
    otros = AbreArchivos(ignorado);
    try {
      if (!otros.empty()) ayudante = std::thread([&] { lee(otros); });
    } catch (const std::system_error&) {
    }
  }
  lee(archivos_);
  if (ayudante.joinable()) ayudante.join();

  for (std::size_t i = 0; i < pendientes.size(); ++i) {
    if (!leidas[i].memoria) {
      error = leidas[i].error;
      return false;
    }
    if (!InstalaTabla(*conexion_, leidas[i].nombre, std::move(leidas[i].memoria), error, opciones_.filasParaMemoria))
      return false;
    cargadas_.insert(ClaveNombreJet(pendientes[i]));
  }
  return true;
}

void TMotorJet::Reescribe(TAnalisisJet& analisis) {
  EmpujaPeriodos(analisis.sentencia);
  OrdenaClavesNumericas(analisis.sentencia, derivadas_);
}

void TMotorJet::Anticipa(const std::vector<std::string>& sentencias) {
  lote_.clear();
  enLote_ = 0;
  derivadas_.Planea({});
  if (!opciones_.reutilizaDerivadas) return;
  std::vector<TAnalisisJet> analisis;
  std::set<std::string> tablas;
  for (const auto& s : sentencias) {
    analisis.push_back(AnalizaJet(s));
    if (analisis.back().ok) tablas.insert(analisis.back().tablas.begin(), analisis.back().tablas.end());
  }
  std::string error;
  // The key order asks SQLite about the loaded tables; a table that cannot be loaded is told by
  // the statement that needs it.
  if (!PreparaTablas(tablas, error)) return;
  std::map<std::string, TDerivadas::TUso> plan;
  try {
    for (std::size_t i = 0; i < analisis.size(); ++i) {
      if (!analisis[i].ok || analisis[i].tipo != TTipoSentencia::Seleccion) continue;
      Reescribe(analisis[i]);
      for (auto& identidad : IdentidadesDerivadas(analisis[i].sentencia)) {
        auto& uso = plan[std::move(identidad)];
        ++uso.usos;
        uso.ultima = i;
      }
    }
  } catch (const std::bad_alloc&) {
    return;  // no plan: every statement is served as without it
  }
  derivadas_.Planea(std::move(plan));
  lote_ = sentencias;
}

bool TMotorJet::Consulta(const std::string& sSQL, TResultadoConsulta& resultado, std::string& error) {
  resultado = {};
  // A statement of the announced batch, in its turn; anything else leaves the plan aside.
  std::optional<std::size_t> indice;
  if (enLote_ < lote_.size() && lote_[enLote_] == sSQL) indice = enLote_++;
  derivadas_.Sentencia(indice);
  const bool ok = Corre(sSQL, resultado, error);
  if (indice) derivadas_.Libera(*indice);
  return ok;
}

bool TMotorJet::Corre(const std::string& sSQL, TResultadoConsulta& resultado, std::string& error) {
  TAnalisisJet analisis = AnalizaJet(sSQL);
  if (!analisis.ok) {
    error = analisis.error;
    return false;
  }
  if (!PreparaTablas(analisis.tablas, error)) return false;
  TTiempo c("sentencia " + sSQL);
  std::string sql;
  try {
    if (analisis.tipo == TTipoSentencia::Borrado) {
      derivadas_.Descarta();  // the rows change: nothing computed before holds
    } else if (opciones_.reutilizaDerivadas) {
      Reescribe(analisis);
      ReutilizaDerivadas(analisis.sentencia, derivadas_);
    }
    sql = EmiteSentencia(analisis.sentencia);
  } catch (const std::bad_alloc&) {
    error = "Memoria insuficiente para ejecutar la consulta.";
    return false;
  }
  sqlite3* db = conexion_->Db();
  const TSentenciaSqlite st = PreparaSqlite(db, sql);
  if (!st) {
    error = TraduceErrorSqlite(sqlite3_errmsg(db));
    return false;
  }
  const int n = sqlite3_column_count(st.get());
  for (int i = 0; i < n; ++i) resultado.columnas.emplace_back(sqlite3_column_name(st.get(), i));
  int rc;
  while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    std::vector<TVariante> fila;
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

bool TMotorJet::Ejecuta(const std::string& sSQL, std::string& error) {
  TResultadoConsulta r;
  return Consulta(sSQL, r, error);
}

}  // namespace qavi::jet
