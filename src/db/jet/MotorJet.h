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

#include "db/jet/ConsolidacionJet.h"
#include "db/jet/IIMotorBD.h"
#include "db/jet/OpcionesMotorJet.h"
#include "db/jet/sql/PasoClavesNumericas.h"
#include "db/jet/sql/PasoDerivadas.h"
#include "db/jet/sql/TraductorJet.h"

struct sqlite3;

namespace qavi::jet {

class TArchivoMdb;
class TConexionJet;

class TMotorJet : public IMotorBD {
 public:
  // Null and a readable reason when the file cannot be opened as a Jet 4 database.
  static std::shared_ptr<TMotorJet> Abre(const std::filesystem::path& ruta, std::string& error,
                                         const TOpcionesMotorJet& opciones = {});
  // Several files of one company as one database (ConsolidacionJet.h); the first file speaks for
  // the tables the plan does not name. Null and a reason naming the file that cannot be opened.
  static std::shared_ptr<TMotorJet> AbreConsolidado(std::vector<TFuenteJet> fuentes, TPlanConsolidacion plan,
                                                    std::string& error, const TOpcionesMotorJet& opciones = {});
  ~TMotorJet() override;

  bool Consulta(const std::string& sSQL, TResultadoConsulta& resultado, std::string& error) override;
  bool Ejecuta(const std::string& sSQL, std::string& error) override;
  // Loads every table the statements name and counts, for each derived table, how many of them
  // use it and which is the last: one used once stays inline, one used again is kept until the
  // last statement that uses it has run. Statements run in another order, or others, are served
  // as without it.
  void Anticipa(const std::vector<std::string>& sentencias) override;

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
  bool Corre(const std::string& sSQL, TResultadoConsulta& resultado, std::string& error);
  // The rewrites of the engine's path, up to the point where derived tables are kept.
  void Reescribe(TAnalisisJet& analisis);
  static bool LeeSello(const std::filesystem::path& ruta, Sello& sello, std::string& error);

  // Within one snapshot of a read-only file, a derived table whose SQL text is the same gives the
  // same rows: it is computed once into a temporary table and reused by later statements. Also
  // answers the key-order pass with SQLite's declared types.
  class TDerivadas : public IMaterializador, public IOraculoTipos {
   public:
    std::optional<std::string> Materializa(const TDerivadaOfrecida& derivada) override;
    std::optional<std::vector<std::string>> TiposDeclarados(const std::string& sql) override;
    // A new snapshot on a new database: what was kept went with the old one.
    void Reinicia(sqlite3* db) {
      db_ = db;
      tablas_.clear();
    }
    // The same database whose rows changed.
    void Descarta();
    std::size_t Tamano() const { return tablas_.size(); }

    // The plan of a batch (Anticipa): identity -> how many uses, and the last statement of them.
    struct TUso {
      int usos = 0;
      std::size_t ultima = 0;
    };
    void Planea(std::map<std::string, TUso> plan) { plan_ = std::move(plan); }
    // The statement of the batch now running (none: no plan applies).
    void Sentencia(std::optional<std::size_t> indice) { actual_ = indice; }
    // Drops what no later statement of the batch needs.
    void Libera(std::size_t indice);

   private:
    struct TGuardada {
      std::string tabla;
      std::optional<std::size_t> hasta;  // the last statement of the batch that needs it
    };
    void Borra(const std::string& tabla);
    sqlite3* db_ = nullptr;
    std::map<std::string, TGuardada> tablas_;  // SQL text -> table
    std::map<std::string, TUso> plan_;
    std::optional<std::size_t> actual_;
    int siguiente_ = 0;
  };

  std::vector<TFuenteJet> fuentes_;
  std::optional<TPlanConsolidacion> plan_;  // only when several files make one database
  TOpcionesMotorJet opciones_;
  TDerivadas derivadas_;
  std::vector<Sello> sellos_;
  std::vector<std::unique_ptr<TArchivoMdb>> archivos_;
  std::unique_ptr<TConexionJet> conexion_;
  std::set<std::string> cargadas_;  // Jet name keys
  int cargas_ = 0;
  std::vector<std::string> lote_;  // the statements announced by Anticipa
  std::size_t enLote_ = 0;         // the next one expected
};

}  // namespace qavi::jet
