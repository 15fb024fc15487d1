#include "db/jet/MotorJet.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

#include "db/jet/ArchivoMdb.h"
#include "db/jet/CargadorTablas.h"
#include "db/jet/ConexionJet.h"
#include "db/jet/SentenciaJet.h"
#include "db/jet/TablaMemoria.h"
#include "db/jet/TiempoJet.h"
#include "db/jet/texto/TextoJet.h"

namespace qavi::jet {

TMotorJet::TMotorJet(std::vector<TFuenteJet> fuentes, std::optional<TPlanConsolidacion> plan,
                     const TOpcionesMotorJet& opciones)
    : fuentes_(std::move(fuentes)), plan_(std::move(plan)), opciones_(opciones) {}

TMotorJet::~TMotorJet() {
  // What runs ahead reads the tables this engine holds: it stops first.
  adelanto_.reset();
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
  adelanto_.reset();  // its results belong to the old snapshot
  conexion_ = std::move(conexion);
  derivadas_.Reinicia(conexion_->Db());
  archivos_ = std::move(archivos);
  sellos_ = std::move(sellos);
  cargadas_.clear();
  tablas_.clear();
  catalogo_ = {};
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
    if (!InstalaTabla(*conexion_, leidas[i].nombre, leidas[i].memoria, error, opciones_.filasParaMemoria))
      return false;
    cargadas_.insert(ClaveNombreJet(pendientes[i]));
    catalogo_.Agrega(*archivos_[0], leidas[i].nombre);
    tablas_.push_back({leidas[i].nombre, std::move(leidas[i].memoria)});
  }
  return true;
}

void TMotorJet::Anticipa(const std::vector<std::string>& sentencias) {
  adelanto_.reset();
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
  std::vector<std::vector<TDerivadaLeida>> leidas(analisis.size());
  try {
    for (std::size_t i = 0; i < analisis.size(); ++i) {
      if (!analisis[i].ok || analisis[i].tipo != TTipoSentencia::Seleccion) continue;
      ReescribeJet(analisis[i], derivadas_, catalogo_);
      leidas[i] = DerivadasLeidas(analisis[i].sentencia);
    }
  } catch (const std::bad_alloc&) {
    return;  // no plan: every statement is served as without it
  }
  // A second connection may answer the batch from its end while this one answers it from its
  // start; each plans the whole batch in its own order, as each keeps its own derived tables.
  const bool adelanta = opciones_.adelantaLote && sentencias.size() >= 2 && std::thread::hardware_concurrency() >= 2;
  std::vector<std::pair<std::size_t, std::vector<TDerivadaLeida>>> adelante, atras;
  for (std::size_t i = leidas.size(); adelanta && i-- > 0;) atras.emplace_back(leidas.size() - 1 - i, leidas[i]);
  for (std::size_t i = 0; i < leidas.size(); ++i) adelante.emplace_back(i, std::move(leidas[i]));
  derivadas_.Planea(TDerivadasJet::Plan(adelante));
  lote_ = sentencias;
  if (adelanta)
    adelanto_ = TAdelantoJet::Inicia(tablas_, catalogo_, opciones_.filasParaMemoria, sentencias, TDerivadasJet::Plan(atras));
}

bool TMotorJet::Consulta(const std::string& sSQL, TResultadoJet& resultado, std::string& error) {
  resultado = {};
  // A statement of the announced batch, in its turn; anything else leaves the plan aside.
  std::optional<std::size_t> indice;
  if (enLote_ < lote_.size() && lote_[enLote_] == sSQL) indice = enLote_++;
  if (indice && adelanto_)
    if (const auto ok = adelanto_->Toma(*indice, resultado, error)) {
      // Met: the rest of the batch is the other connection's, and so is what it reads.
      derivadas_.Libera(lote_.size());
      return *ok;
    }
  derivadas_.Sentencia(indice);
  const bool ok = Corre(sSQL, resultado, error);
  if (indice) derivadas_.Libera(*indice, adelanto_ ? adelanto_->Desde() : lote_.size());
  return ok;
}

bool TMotorJet::Corre(const std::string& sSQL, TResultadoJet& resultado, std::string& error) {
  TAnalisisJet analisis = AnalizaJet(sSQL);
  if (!analisis.ok) {
    error = analisis.error;
    return false;
  }
  if (!PreparaTablas(analisis.tablas, error)) return false;
  TTiempo c("sentencia " + sSQL);
  return CorreSentencia(*conexion_, opciones_.reutilizaDerivadas ? &derivadas_ : nullptr, catalogo_, analisis, resultado,
                        error);
}

bool TMotorJet::Ejecuta(const std::string& sSQL, std::string& error) {
  TResultadoJet r;
  return Consulta(sSQL, r, error);
}

}  // namespace qavi::jet
