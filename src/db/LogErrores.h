#pragma once
#include <map>
#include <string>

#include "db/IILogErrores.h"

namespace qavi {

struct TMsjError {
  std::string sMsjUsuario;
  std::string sMsjLog;  // kept with the entry; nothing reads it
  bool bMostrarMsj = true;
};

// Base of every error catalogue; a concrete one registers its codes in CargaErrores.
class TManejadorErrores : public ILogErrores {
 public:
  ~TManejadorErrores() override = default;
  void MuestraError(const std::string& sClaveErr, const std::string& sMsjAdicional) override;
  std::string DameErrorMsj(const std::string& sClaveErr, const std::string& sMsjAdicional,
                           bool bIncluyeClave) override;

 protected:
  TManejadorErrores() = default;
  virtual void CargaErrores() = 0;
  // A code is registered once; a duplicate throws std::logic_error (a programming error).
  void AgregaError(const std::string& sClaveErr, const std::string& sMsjUsuario, const std::string& sMsjLog,
                   bool bMostrarMsj);
  // Concrete catalogues call this from their factory, once the object is complete.
  void Inicializa() { CargaErrores(); }

 private:
  std::map<std::string, TMsjError> F_ListaErrores;
};

}  // namespace qavi
