#pragma once
// One open database connection of one engine.
#include <memory>
#include <string>

namespace qavi {

class IConector {
 public:
  virtual ~IConector() = default;
  virtual void StrConexion(const std::string& sValor) = 0;
  virtual std::string StrConexion() const = 0;
  // Opening or closing; a failure is shown as "BD-101" and leaves the connection closed.
  virtual void Conecta(bool bValor) = 0;
  virtual bool Conecta() const = 0;
};

using IConectorPtr = std::shared_ptr<IConector>;

}  // namespace qavi
