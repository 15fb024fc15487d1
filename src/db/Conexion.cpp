#include "db/Conexion.h"

namespace qavi {

TConexion::TConexion(TTipoMotorBD TipoMotorBD, const jet::TOpcionesMotorJet& opcionesJet)
    : F_TipoMotorBD(TipoMotorBD) {
  std::shared_ptr<TConector> c;
  if (TipoMotorBD == TTipoMotorBD::tmSQLServer)
    c = std::make_shared<TConectSQLServer>();
  else
    c = std::make_shared<TConectAccess>(opcionesJet);
  F_ObjConector = c.get();
  F_Conector = c;
}

bool TConexion::HayDatosConexion() const {
  for (const auto* s : {&F_sUsuario, &F_sPassw, &F_sBDNombre, &F_sUbicacion, &F_sInstancia, &F_sPuerto})
    if (!RecortaBlancos(*s).empty()) return true;
  return false;
}

void TConexion::ArmaStrConexSQLServer() {
  F_sSrtConexion = "Provider=SQLOLEDB.1;Password=" + F_sPassw + ";Persist Security Info=True;" + "User ID=" +
                   F_sUsuario + ";Initial Catalog=" + F_sBDNombre + ";Data Source=" + F_sUbicacion + "\\" +
                   F_sInstancia;
  if (!F_sPuerto.empty()) F_sSrtConexion += "," + F_sPuerto;
}

void TConexion::ArmaStrConexAccess() {
  F_sSrtConexion = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + F_sUbicacion + ";Persist Security Info=True" +
                   ";Mode=Share Deny None";
  if (!RecortaBlancos(F_sPassw).empty()) F_sSrtConexion += ";Jet OLEDB:Database Password=" + F_sPassw;
}

bool TConexion::ArmaStrConexion() {
  if (!HayDatosConexion()) return false;
  if (F_TipoMotorBD == TTipoMotorBD::tmSQLServer)
    ArmaStrConexSQLServer();
  else
    ArmaStrConexAccess();
  return true;
}

void TConexion::Conecta(bool bValor) {
  if (!bValor) {
    F_Conector->Conecta(false);
    F_bConectado = false;
    return;
  }
  if (F_sSrtConexion.empty() && !ArmaStrConexion()) {
    F_bConectado = false;
    return;
  }
  F_Conector->StrConexion(F_sSrtConexion);
  F_Conector->Conecta(true);
  F_bConectado = F_Conector->Conecta();
}

}  // namespace qavi
