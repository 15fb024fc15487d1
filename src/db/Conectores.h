#pragma once
#include <cstdint>
#include <memory>

#include "db/ADO.h"
#include "db/IIConector.h"
#include "db/IILogErrores.h"

namespace qavi {

enum class TTipoMotorBD : std::uint8_t { tmSQLServer = 0, tmAccess = 1 };

class TConector : public IConector {
 public:
  TConector();

 protected:
  ILogErroresPtr F_Errores;
};

// A connector wrapping a connection object of class T, which it owns.
template <class T>
class TTipoConector : public TConector {
 public:
  T* DameConector() const { return F_Conector.get(); }

 protected:
  std::unique_ptr<T> F_Conector = std::make_unique<T>();
};

class TConectSQLServer : public TTipoConector<TADOConnection> {
 public:
  TConectSQLServer();
  ~TConectSQLServer() override;
  void StrConexion(const std::string& sValor) override;
  std::string StrConexion() const override;
  void Conecta(bool bValor) override;
  bool Conecta() const override;
};

class TConectAccess : public TConectSQLServer {
 public:
  explicit TConectAccess(const jet::TOpcionesMotorJet& opciones = {});
};

}  // namespace qavi
