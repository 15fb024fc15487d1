#pragma once
// The few facts of the Velmar database the wizard needs before computing anything.
#include <string>

namespace qavi {

struct TEmpresa {
  std::string sRazonSocial;
  std::string sRFC;
  std::string sRegistroQAVI;
  std::string sNumEmpresa;
};

class IVelmarBD {
 public:
  virtual ~IVelmarBD() = default;
  virtual bool Conectado() const = 0;
  virtual TEmpresa Empresa() = 0;
  virtual bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw, bool bSoloAdmins) = 0;
  // True when somebody is connected to Velmar or no count could be obtained.
  virtual bool UsuariosConectados() = 0;
};

}  // namespace qavi
