#include "db/jet/AdelantoJet.h"

#include <sqlite3.h>

#include <new>
#include <system_error>

#include "db/jet/CargadorTablas.h"
#include "db/jet/ConexionJet.h"
#include "db/jet/SentenciaJet.h"

namespace qavi::jet {

std::unique_ptr<TAdelantoJet> TAdelantoJet::Inicia(std::vector<TTablaCargada> tablas, TCatalogoTipos catalogo,
                                                   std::size_t filasParaMemoria,
                                                   std::vector<std::string> sentencias,
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
  if (!instaladas) return;
  const std::size_t n = sentencias_.size();
  for (std::size_t i = n; i-- > 0;) {
    std::size_t ajenas;  // from this position on (counted from the end), the engine's statements
    {
      std::lock_guard<std::mutex> l(mutex_);
      if (detener_ || (frontera_ && i <= *frontera_)) break;
      resultados_[i];
      ajenas = frontera_ ? n - 1 - *frontera_ : n;
    }
    TResultado r;
    r.hecho = true;
    const std::size_t posicion = n - 1 - i;
    try {
      TAnalisisJet analisis = AnalizaJet(sentencias_[i]);
      derivadas_.Sentencia(posicion);
      r.ok = analisis.ok && CorreSentencia(*conexion_, &derivadas_, catalogo_, analisis, r.filas, r.error);
      if (!analisis.ok) r.error = analisis.error;
      derivadas_.Libera(posicion, ajenas);
    } catch (const std::bad_alloc&) {
      r = {};  // not done: the engine runs it on its own connection
    }
    std::lock_guard<std::mutex> l(mutex_);
    r.listo = true;
    resultados_[i] = std::move(r);
    listo_.notify_all();
  }
  // What the statements left to the engine would have read goes now, not with this object.
  derivadas_.Descarta();
}

std::size_t TAdelantoJet::Desde() {
  std::lock_guard<std::mutex> l(mutex_);
  return resultados_.empty() ? sentencias_.size() : resultados_.begin()->first;
}

std::optional<bool> TAdelantoJet::Toma(std::size_t indice, TResultadoJet& resultado, std::string& error) {
  std::unique_lock<std::mutex> l(mutex_);
  const auto it = resultados_.find(indice);
  if (it == resultados_.end()) {
    if (!frontera_ || indice > *frontera_) frontera_ = indice;
    return std::nullopt;
  }
  TResultado& r = it->second;
  listo_.wait(l, [&] { return r.listo; });
  if (!r.hecho) return std::nullopt;
  resultado = std::move(r.filas);
  error = std::move(r.error);
  return r.ok;
}

}  // namespace qavi::jet
