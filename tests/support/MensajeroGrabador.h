#pragma once
// Records every status-line text with the operation that showed it.
#include <string>
#include <vector>

#include "common/IIMensajero.h"

namespace qavi::prueba {

class TMensajeroGrabador : public IMensajero {
 public:
  void MsjEnTx(const std::string& s) override { textos.push_back("EnTx:" + s); }
  void MsjTxTemp(const std::string& s) override { textos.push_back("Temp:" + s); }
  void MsjTxEspera(const std::string& s, bool bTLargo) override {
    textos.push_back(std::string(bTLargo ? "EsperaLarga:" : "Espera:") + s);
  }
  void CampoObligatorio(IControlEtiqueta*, IControlEdicion*) override { textos.push_back("CampoObligatorio"); }
  std::vector<std::string> textos;
};

}  // namespace qavi::prueba
