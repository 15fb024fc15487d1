#pragma once
// The Jet engine: a Jet 4 file opened read-only, the tables a statement names loaded
// into an in-memory SQLite database, Jet SQL translated and run there.
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "db/jet/IIMotorBD.h"

struct sqlite3;

namespace qavi::jet {

class TArchivoMdb;

class TMotorJet : public IMotorBD {
 public:
  // Null and a readable reason when the file cannot be opened as a Jet 4 database.
  static std::shared_ptr<TMotorJet> Abre(const std::filesystem::path& ruta, std::string& error);
  ~TMotorJet() override;

  bool Consulta(const std::string& sSQL, TResultadoConsulta& resultado, std::string& error) override;
  bool Ejecuta(const std::string& sSQL, std::string& error) override;

  // How many times the file has been (re)loaded; a change on disk makes the next statement reload.
  int Cargas() const { return cargas_; }

 private:
  struct Sello {
    std::uintmax_t tamano = 0;
    std::filesystem::file_time_type modificado{};
    bool operator==(const Sello&) const = default;
  };
  explicit TMotorJet(std::filesystem::path ruta);
  bool Reinicia(std::string& error);
  bool PreparaTablas(const std::set<std::string>& tablas, std::string& error);
  static bool LeeSello(const std::filesystem::path& ruta, Sello& sello, std::string& error);

  std::filesystem::path ruta_;
  Sello sello_;
  std::unique_ptr<TArchivoMdb> archivo_;
  sqlite3* db_ = nullptr;
  std::set<std::string> cargadas_;  // lower-case names
  int cargas_ = 0;
};

}  // namespace qavi::jet
