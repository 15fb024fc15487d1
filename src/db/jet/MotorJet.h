#pragma once
// The Jet engine: a Jet 4 file opened read-only, the tables a statement names loaded
// into an in-memory SQLite database (large ones served from memory columns), Jet SQL
// translated and run there.
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "db/jet/AdelantoJet.h"
#include "db/jet/CatalogoTipos.h"
#include "db/jet/ConsolidacionJet.h"
#include "db/jet/DerivadasJet.h"
#include "db/jet/SentenciaJet.h"
#include "db/jet/OpcionesMotorJet.h"
#include "db/jet/sql/TraductorJet.h"

struct sqlite3;

namespace qavi::jet {

class TArchivoMdb;
class TConexionJet;

class TMotorJet {
 public:
  // Null and a readable reason when the file cannot be opened as a Jet 4 database.
  static std::shared_ptr<TMotorJet> Abre(const std::filesystem::path& ruta, std::string& error,
                                         const TOpcionesMotorJet& opciones = {});
  // Several files of one company as one database (ConsolidacionJet.h); the first file speaks for
  // the tables the plan does not name. Null and a reason naming the file that cannot be opened.
  static std::shared_ptr<TMotorJet> AbreConsolidado(std::vector<TFuenteJet> fuentes, TPlanConsolidacion plan,
                                                    std::string& error, const TOpcionesMotorJet& opciones = {});
  ~TMotorJet();

  // A statement that returns rows / one that returns none. False and a readable Spanish reason.
  bool Consulta(const std::string& sSQL, TResultadoJet& resultado, std::string& error);
  bool Ejecuta(const std::string& sSQL, std::string& error);
  // Loads every table the statements name and counts, for each derived table, how many of them
  // use it and which is the last: one used once stays inline, one used again is kept until the
  // last statement that uses it has run. A second connection (TAdelantoJet) answers the batch
  // from its end unless the options say otherwise. Statements run in another order,
  // or others, are served as without it.
  void Anticipa(const std::vector<std::string>& sentencias);

  // How many times the file has been (re)loaded; a change on disk makes the next statement reload.
  int Cargas() const { return cargas_; }
  // Derived tables held for the current snapshot (0 when reuse is off).
  std::size_t DerivadasGuardadas() const { return derivadas_.Tamano(); }

 private:
  struct Sello {
    std::uintmax_t tamano = 0;
    std::filesystem::file_time_type modificado{};
    bool operator==(const Sello&) const = default;
  };
  TMotorJet(std::vector<TFuenteJet> fuentes, std::optional<TPlanConsolidacion> plan, const TOpcionesMotorJet& opciones);
  // One reader per file, in the order of the sources; null and `error` if one cannot be opened.
  std::vector<std::unique_ptr<TArchivoMdb>> AbreArchivos(std::string& error) const;
  bool Reinicia(std::string& error);
  bool PreparaTablas(const std::set<std::string>& tablas, std::string& error);
  bool Corre(const std::string& sSQL, TResultadoJet& resultado, std::string& error);
  static bool LeeSello(const std::filesystem::path& ruta, Sello& sello, std::string& error);

  std::vector<TFuenteJet> fuentes_;
  std::optional<TPlanConsolidacion> plan_;  // only when several files make one database
  TOpcionesMotorJet opciones_;
  TDerivadasJet derivadas_;
  std::vector<Sello> sellos_;
  std::vector<std::unique_ptr<TArchivoMdb>> archivos_;
  std::unique_ptr<TConexionJet> conexion_;
  std::set<std::string> cargadas_;  // Jet name keys
  std::vector<TTablaCargada> tablas_;  // what is loaded, for a second connection to share
  TCatalogoTipos catalogo_;            // their columns' Jet types (the first file's)
  int cargas_ = 0;
  std::vector<std::string> lote_;  // the statements announced by Anticipa
  std::size_t enLote_ = 0;         // the next one expected
  std::unique_ptr<TAdelantoJet> adelanto_;  // the part of the batch running ahead
};

}  // namespace qavi::jet
