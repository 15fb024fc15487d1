#pragma once
// The "Microsoft.Jet.OLEDB.4.0" provider: the Jet engine (db/jet) behind the connection object.
#include <memory>

#include "db/IIMotorBD.h"

namespace qavi {
namespace jet {
class TMotorJet;
}

class TMotorAccess : public IMotorBD {
 public:
  explicit TMotorAccess(std::shared_ptr<jet::TMotorJet> motor);
  bool Consulta(const std::string& sSQL, TResultadoConsulta& resultado, std::string& error) override;
  bool Ejecuta(const std::string& sSQL, std::string& error) override;
  void Anticipa(const std::vector<std::string>& sentencias) override;

 private:
  std::shared_ptr<jet::TMotorJet> motor_;
};

}  // namespace qavi
