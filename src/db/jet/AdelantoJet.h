#pragma once
// The tail of an announced batch run ahead, on a connection and a thread of its own, over the same
// loaded tables: while the engine answers the batch from its first statement on, this one answers
// it from its last statement backwards, and they meet wherever the work happens to balance. Each
// statement is run by exactly one of them; its rows are those the engine would give.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "db/jet/CatalogoTipos.h"
#include "db/jet/DerivadasJet.h"
#include "db/jet/SentenciaJet.h"

namespace qavi::jet {

class TConexionJet;
class TTablaMemoria;

struct TTablaCargada {
  std::string nombre;  // as the file spells it
  std::shared_ptr<TTablaMemoria> filas;
};

class TAdelantoJet {
 public:
  // Runs `sentencias` from the last one backwards, over `tablas` with the Jet types `catalogo`
  // gives them, under `plan` (whose statement numbers count from the last statement: 0 is the
  // last). Null when no second connection or thread can be had: the engine then runs them all.
  static std::unique_ptr<TAdelantoJet> Inicia(std::vector<TTablaCargada> tablas, TCatalogoTipos catalogo,
                                              std::size_t filasParaMemoria, std::vector<std::string> sentencias,
                                              std::map<std::string, TDerivadasJet::TUso> plan);
  // Stops what is still running and waits for it.
  ~TAdelantoJet();
  TAdelantoJet(const TAdelantoJet&) = delete;
  TAdelantoJet& operator=(const TAdelantoJet&) = delete;

  // Statement `indice`, which the engine reaches now: when this one has taken it, waits for it and
  // hands out whether it ran, and its rows or its error. Otherwise nothing, and the engine runs it
  // itself: from then on this one takes no statement at or before it.
  std::optional<bool> Toma(std::size_t indice, TResultadoJet& resultado, std::string& error);
  // The first statement this one has taken (the batch's size while it has taken none): the engine
  // need not keep for later what only statements from there on read.
  std::size_t Desde();

 private:
  struct TResultado {
    bool listo = false, hecho = false, ok = false;
    TResultadoJet filas;
    std::string error;
  };
  TAdelantoJet() = default;
  void Corre();

  std::vector<TTablaCargada> tablas_;
  TCatalogoTipos catalogo_;
  std::size_t filasParaMemoria_ = 0;
  std::vector<std::string> sentencias_;
  std::unique_ptr<TConexionJet> conexion_;
  TDerivadasJet derivadas_;
  // Under the mutex: what this one has taken, and the last statement the engine took.
  std::map<std::size_t, TResultado> resultados_;
  std::optional<std::size_t> frontera_;
  std::mutex mutex_;
  std::condition_variable listo_;
  std::atomic<bool> detener_{false};
  std::thread hilo_;
};

}  // namespace qavi::jet
