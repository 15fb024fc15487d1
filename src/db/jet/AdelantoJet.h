#pragma once
// Part of an announced batch run ahead, on a connection and a thread of its own, over the same
// loaded tables: while the engine answers the first statements of the batch, this one answers
// the later ones, and the engine takes each result when the batch reaches it. The rows of every
// statement are those the engine would give.
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

// What a statement of a batch costs: the derived tables it reads, and the rows of the loaded
// tables it reads (what one pass over them costs).
struct TCostoSentencia {
  std::vector<std::string> derivadas;
  std::size_t filas = 0;
};

// Where to cut a batch so that the part before (answered by the engine) and the part from the
// cut on (run ahead) take about the same time. Each part pays one pass for every derived table
// it builds (each part builds its own) and for every statement that reads no derived table; the
// rest is small. Between 1 and the batch size - 1.
std::size_t CorteEquilibrado(const std::vector<TCostoSentencia>& sentencias);

class TAdelantoJet {
 public:
  // Runs `sentencias[i]` for each i of `propias` (in that order) under `plan`, over `tablas` with
  // the Jet types `catalogo` gives them. Null when no second connection or thread can be had: the
  // engine then runs them itself.
  static std::unique_ptr<TAdelantoJet> Inicia(std::vector<TTablaCargada> tablas, TCatalogoTipos catalogo,
                                              std::size_t filasParaMemoria,
                                              std::vector<std::string> sentencias, std::vector<std::size_t> propias,
                                              std::map<std::string, TDerivadasJet::TUso> plan);
  // Stops what is still running and waits for it.
  ~TAdelantoJet();
  TAdelantoJet(const TAdelantoJet&) = delete;
  TAdelantoJet& operator=(const TAdelantoJet&) = delete;

  bool Propia(std::size_t indice) const { return resultados_.count(indice) != 0; }
  // Waits for statement `indice` (one of `propias`) and hands out whether it ran, and its rows or
  // its error; nothing when it could not be run here, for the engine to run it itself.
  std::optional<bool> Toma(std::size_t indice, TResultadoJet& resultado, std::string& error);

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
  std::vector<std::size_t> propias_;
  std::unique_ptr<TConexionJet> conexion_;
  TDerivadasJet derivadas_;
  std::map<std::size_t, TResultado> resultados_;  // keys fixed before the thread starts
  std::mutex mutex_;
  std::condition_variable listo_;
  std::atomic<bool> detener_{false};
  std::thread hilo_;
};

}  // namespace qavi::jet
