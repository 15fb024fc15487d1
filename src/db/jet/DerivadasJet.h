#pragma once
// What one connection keeps of derived tables within a snapshot of a read-only database: a
// derived table whose identity (its SQL text) is the same gives the same rows, so it is computed once into a
// temporary table and read again by later statements. With the plan of a batch (TMotorJet::
// Anticipa) only what several statements use is kept, and only until the last of them has run.
// Also answers the key-order pass with SQLite's declared types.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "db/jet/sql/PasoClavesNumericas.h"
#include "db/jet/sql/PasoDerivadas.h"

struct sqlite3;

namespace qavi::jet {

class TDerivadasJet : public IMaterializador, public IOraculoTipos {
 public:
  std::optional<std::string> Materializa(const TDerivadaOfrecida& derivada) override;
  std::optional<std::string> Guardada(const std::string& identidad) override;
  std::optional<std::vector<std::string>> TiposDeclarados(const std::string& sql) override;

  // A new snapshot on a new database: what was kept went with the old one.
  void Reinicia(sqlite3* db) {
    db_ = db;
    tablas_.clear();
  }
  // The same database whose rows changed.
  void Descarta();
  std::size_t Tamano() const { return tablas_.size(); }

  // The plan of a batch: identity -> every statement that reads it, in order (once per reading).
  struct TUso {
    std::vector<std::size_t> en;
  };
  void Planea(std::map<std::string, TUso> plan) { plan_ = std::move(plan); }
  // The plan of statements run in this order (their batch index and derived tables). A derived
  // table written inside another is read where that one is computed: once, when the outer one is
  // kept; at each of its reads, when it stays inline.
  static std::map<std::string, TUso> Plan(const std::vector<std::pair<std::size_t, std::vector<TDerivadaLeida>>>& sentencias);
  // The statement of the batch now running (none: no plan applies).
  void Sentencia(std::optional<std::size_t> indice) { actual_ = indice; }
  // Drops what no later statement of the batch needs, after statement `indice`: counting only
  // the statements before `ajenas` (from there on another connection answers the batch).
  void Libera(std::size_t indice, std::size_t ajenas = static_cast<std::size_t>(-1));

 private:
  struct TGuardada {
    std::string tabla;
    std::vector<std::size_t> lecturas;  // the statements of the batch that read it; none: kept
  };
  void Borra(const std::string& tabla);
  sqlite3* db_ = nullptr;
  std::map<std::string, TGuardada> tablas_;  // identity -> table
  std::map<std::string, TUso> plan_;
  std::optional<std::size_t> actual_;
  int siguiente_ = 0;
};

}  // namespace qavi::jet
