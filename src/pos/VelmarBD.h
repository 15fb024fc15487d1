#pragma once
#include <filesystem>

#include "db/ConsultasSQL.h"
#include "pos/IIVelmarBD.h"

namespace qavi {

class TVelmarBD : public TConsultasSQL, public virtual IVelmarBD {
 public:
  // Over the open connection of "BDPrincipal".
  explicit TVelmarBD(TADOConnection* Conector);
  // Registers and opens its own registry entry "Velmar" for the file.
  explicit TVelmarBD(const std::filesystem::path& sRutaVelmar);
  ~TVelmarBD() override;

  bool Conectado() const override { return F_bConectado; }
  TEmpresa Empresa() override;
  bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw, bool bSoloAdmins) override;
  bool UsuariosConectados() override;

  static std::string ArmaValidaAcceso(const std::string& sUsuario, const std::string& sPassw, bool bSoloAdmins);

 private:
  static TADOConnection* AbreVelmar(const std::filesystem::path& sRutaVelmar, bool& bRegistrada, bool& bConectado);
  bool F_bConectado = false;
  // Only the gateway that registered "Velmar" removes it: another one's connection must not vanish.
  bool F_bEntradaPropia = false;
};

}  // namespace qavi
