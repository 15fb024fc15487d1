#pragma once
// The status line on standard error: a progress bar on a terminal, plain lines otherwise.
// No pauses: nobody watches a headless run.
#include "common/IIMensajero.h"

namespace qavi {

class TMensajeroConsola : public IMensajero {
 public:
  explicit TMensajeroConsola(bool bTerminal) : terminal_(bTerminal) {}
  ~TMensajeroConsola() override;
  void MsjEnTx(const std::string& sMensaje) override;
  void MsjTxTemp(const std::string& sMensaje) override { MsjEnTx(sMensaje); }
  void MsjTxEspera(const std::string& sMensaje, bool) override { MsjEnTx(sMensaje); }
  void CampoObligatorio(IControlEtiqueta*, IControlEdicion*) override {}

 private:
  void TerminaBarra();
  bool terminal_;
  bool enBarra_ = false;
};

}  // namespace qavi
