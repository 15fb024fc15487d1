#pragma once
// A named connection's parameters, its connection string and its connector.
#include <memory>
#include <string>

#include "db/IIConector.h"

namespace qavi {

enum class TTipoMotorBD : std::uint8_t;
class TConector;

class IConexion : public IConector {
 public:
  virtual TTipoMotorBD TipoMotorBD() const = 0;
  // The connector object; valid while the descriptor lives.
  virtual TConector* ObjetoConector() const = 0;
  virtual void Usuario(const std::string& s) = 0;
  virtual std::string Usuario() const = 0;
  virtual void Passw(const std::string& s) = 0;
  virtual std::string Passw() const = 0;
  virtual void BDNombre(const std::string& s) = 0;
  virtual std::string BDNombre() const = 0;
  virtual void Ubicacion(const std::string& s) = 0;
  virtual std::string Ubicacion() const = 0;
  virtual void Instancia(const std::string& s) = 0;
  virtual std::string Instancia() const = 0;
  virtual void Puerto(const std::string& s) = 0;
  virtual std::string Puerto() const = 0;
};

using IConexionPtr = std::shared_ptr<IConexion>;

}  // namespace qavi
