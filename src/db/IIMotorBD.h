#pragma once
// A database engine behind the connection object: runs one statement at a time.
#include <memory>
#include <string>
#include <vector>

#include "db/Variante.h"

namespace qavi {

struct TResultadoConsulta {
  std::vector<std::string> columnas;
  std::vector<std::vector<TVariante>> filas;
};

class IMotorBD {
 public:
  virtual ~IMotorBD() = default;
  // A statement that returns rows. False and a readable reason on failure.
  virtual bool Consulta(const std::string& sSQL, TResultadoConsulta& resultado, std::string& error) = 0;
  // A statement that returns no rows.
  virtual bool Ejecuta(const std::string& sSQL, std::string& error) = 0;
  // The statements about to be run, in their order: an engine may plan its work by them (keep
  // only what several of them share, and only for as long as they need it). The rows of every
  // statement are the same with or without it.
  virtual void Anticipa(const std::vector<std::string>& /*sentencias*/) {}
};

using IMotorBDPtr = std::shared_ptr<IMotorBD>;

}  // namespace qavi
