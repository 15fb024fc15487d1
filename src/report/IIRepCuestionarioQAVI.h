#pragma once
// The questionnaire object as the window and the headless command hold it.
#include <memory>
#include <string>

namespace qavi {

class TTablaPEPs;

class IRepCuestionarioQAVI {
 public:
  virtual ~IRepCuestionarioQAVI() = default;
  // Fills the table with the 2015 PEP candidates; true when the search ran.
  virtual bool DetectaPEPs(TTablaPEPs& vtPEPS) = 0;
  // Computes every answer with the ticked candidates and shows the report; true when all succeeded.
  virtual bool GeneraReporte(TTablaPEPs& vtPEPS) = 0;
  virtual bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw, bool bSoloAdmins) = 0;
  virtual bool UsuariosConectados() = 0;
};

using IRepCuestionarioQAVIPtr = std::shared_ptr<IRepCuestionarioQAVI>;

}  // namespace qavi
