#pragma once
// The questionnaire of a company with several branches, as the window and the headless command
// hold it: each branch's own object finds that branch's PEP candidates; one object over the
// branches' databases read as one answers the questionnaire.
#include <vector>

#include "db/ADO.h"
#include "report/IIRepCuestionarioQAVI.h"

namespace qavi {

class TRepSucursales : public IRepCuestionarioQAVI {
 public:
  // `sucursales[i]` is the object of branch i + 1; `consolidado` runs on `conexion`. `registro`:
  // the registry's entries of branches 2 onwards, whose tables are let go before the answers.
  TRepSucursales(std::vector<IRepCuestionarioQAVIPtr> sucursales, std::shared_ptr<TADOConnection> conexion,
                 IRepCuestionarioQAVIPtr consolidado, std::vector<std::string> registro = {});

  // Every branch's candidates, branch by branch, each row with its branch number.
  bool DetectaPEPs(TTablaPEPs& vtPEPS) override;
  // The answers over every branch. Each branch's own database was needed only for its candidates:
  // its loaded tables are let go first (the next run opens it again).
  bool GeneraReporte(TTablaPEPs& vtPEPS) override;
  // Every branch must accept the key and password.
  bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw, bool bSoloAdmins) override;
  // Somebody is connected to any branch.
  bool UsuariosConectados() override;

 private:
  std::vector<IRepCuestionarioQAVIPtr> sucursales_;
  std::shared_ptr<TADOConnection> conexion_;  // outlives the object that runs on it
  IRepCuestionarioQAVIPtr consolidado_;
  std::vector<std::string> registro_;
};

}  // namespace qavi
