#include "db/jet/AdelantoJet.h"

#include <sqlite3.h>

#include <algorithm>
#include <limits>
#include <new>
#include <set>
#include <system_error>

#include "db/jet/CargadorTablas.h"
#include "db/jet/ConexionJet.h"
#include "db/jet/SentenciaJet.h"

namespace qavi::jet {

std::size_t CorteEquilibrado(const std::vector<TCostoSentencia>& sentencias) {
  const std::size_t n = sentencias.size();
  if (n < 2) return n;
  // Passes paid by each prefix and by each suffix.
  auto pasadas = [&](auto primero, auto ultimo) {
    std::vector<std::size_t> acumuladas{0};
    std::set<std::string> vistas;
    for (auto i = primero; i != ultimo; ++i) {
      std::size_t nuevas = i->derivadas.empty() ? 1 : 0;
      for (const auto& identidad : i->derivadas) nuevas += vistas.insert(identidad).second ? 1 : 0;
      acumuladas.push_back(acumuladas.back() + nuevas * i->filas);
    }
    return acumuladas;
  };
  const auto antes = pasadas(sentencias.begin(), sentencias.end());
  const auto despues = pasadas(sentencias.rbegin(), sentencias.rend());
  std::size_t corte = n / 2, mejor = std::numeric_limits<std::size_t>::max();
  for (std::size_t c = 1; c < n; ++c) {
    const std::size_t costo = std::max(antes[c], despues[n - c]);
    if (costo < mejor) mejor = costo, corte = c;
  }
  return corte;
}

std::unique_ptr<TAdelantoJet> TAdelantoJet::Inicia(std::vector<TTablaCargada> tablas, TCatalogoTipos catalogo,
                                                   std::size_t filasParaMemoria,
                                                   std::vector<std::string> sentencias,
                                                   std::vector<std::size_t> propias,
                                                   std::map<std::string, TDerivadasJet::TUso> plan) {
  std::unique_ptr<TAdelantoJet> a(new TAdelantoJet());
  std::string error;
  a->conexion_ = TConexionJet::Abre(error);
  if (!a->conexion_) return nullptr;
  a->derivadas_.Reinicia(a->conexion_->Db());
  a->derivadas_.Planea(std::move(plan));
  a->tablas_ = std::move(tablas);
  a->catalogo_ = std::move(catalogo);
  a->filasParaMemoria_ = filasParaMemoria;
  a->sentencias_ = std::move(sentencias);
  a->propias_ = std::move(propias);
  for (const std::size_t i : a->propias_) a->resultados_[i];
  try {
    a->hilo_ = std::thread([p = a.get()] { p->Corre(); });
  } catch (const std::system_error&) {
    return nullptr;
  }
  return a;
}

TAdelantoJet::~TAdelantoJet() {
  detener_ = true;
  if (conexion_) sqlite3_interrupt(conexion_->Db());
  if (hilo_.joinable()) hilo_.join();
}

void TAdelantoJet::Corre() {
  // The same tables, shared with the engine's connection; a table that cannot be installed here
  // leaves every statement to the engine, which tells its own error.
  std::string error;
  bool instaladas = true;
  try {
    for (auto& t : tablas_)
      instaladas = instaladas && InstalaTabla(*conexion_, t.nombre, t.filas, error, filasParaMemoria_);
  } catch (const std::bad_alloc&) {
    instaladas = false;
  }
  tablas_.clear();
  for (const std::size_t i : propias_) {
    if (detener_) return;
    TResultado r;
    r.hecho = instaladas;
    if (instaladas) {
      try {
        TAnalisisJet analisis = AnalizaJet(sentencias_[i]);
        derivadas_.Sentencia(i);
        r.ok = analisis.ok && CorreSentencia(*conexion_, &derivadas_, catalogo_, analisis, r.filas, r.error);
        if (!analisis.ok) r.error = analisis.error;
        derivadas_.Libera(i);
      } catch (const std::bad_alloc&) {
        r = {};
        r.error = "Memoria insuficiente para ejecutar la consulta.";
      }
    }
    std::lock_guard<std::mutex> l(mutex_);
    r.listo = true;
    resultados_[i] = std::move(r);
    listo_.notify_all();
  }
}

std::optional<bool> TAdelantoJet::Toma(std::size_t indice, TResultadoJet& resultado, std::string& error) {
  std::unique_lock<std::mutex> l(mutex_);
  TResultado& r = resultados_.at(indice);
  listo_.wait(l, [&] { return r.listo; });
  if (!r.hecho) return std::nullopt;
  resultado = std::move(r.filas);
  error = std::move(r.error);
  return r.ok;
}

}  // namespace qavi::jet
