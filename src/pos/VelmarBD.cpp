#include "pos/VelmarBD.h"

#include "db/ColectorConxs.h"
#include "db/ErroresBD.h"
#include "common/CitaSQL.h"

namespace qavi {

namespace {
constexpr const char* kVelmar = "Velmar";
}

TVelmarBD::TVelmarBD(TADOConnection* Conector)
    : TConsultasSQL(Conector), F_bConectado(Conector != nullptr && Conector->Connected()) {}

TADOConnection* TVelmarBD::AbreVelmar(const std::filesystem::path& sRutaVelmar, bool& bRegistrada,
                                      bool& bConectado) {
  bConectado = false;
  bRegistrada = false;
  TADOConnection* conector = nullptr;
  if (!gColectorConxs) return nullptr;
  bRegistrada = gColectorConxs->NuevaConexion(kVelmar, "", kPasswVelmar, "", sRutaVelmar.string(), "", "",
                                              TTipoMotorBD::tmAccess, true);
  if (bRegistrada && gColectorConxs->Conectado(kVelmar) && gColectorConxs->DameAccessConex(kVelmar, conector)) {
    bConectado = true;
    return conector;
  }
  return nullptr;
}

TVelmarBD::TVelmarBD(const std::filesystem::path& sRutaVelmar) : TConsultasSQL(nullptr) {
  F_Conector = AbreVelmar(sRutaVelmar, F_bEntradaPropia, F_bConectado);
  F_qConsultaGen->Connection = F_Conector;
}

TVelmarBD::~TVelmarBD() {
  F_qConsultaGen->Close();
  if (gColectorConxs && F_bEntradaPropia) gColectorConxs->EliminaConex(kVelmar);
}

bool TVelmarBD::UsuariosConectados() {
  bool bResultado = true;
  if (!PideConsulta("SELECT COUNT(1) as TotalConectados FROM tCompUsr ", *F_qConsultaGen)) return true;
  if (!F_qConsultaGen->IsEmpty()) {
    F_qConsultaGen->First();
    if (F_qConsultaGen->FieldByName("TotalConectados").ComoEntero() == 0) bResultado = false;
  }
  F_qConsultaGen->Close();
  return bResultado;
}

std::string TVelmarBD::ArmaValidaAcceso(const std::string& sUsuario, const std::string& sPassw, bool bSoloAdmins) {
  std::string s = "SELECT ClaveEmp FROM tEmps WHERE ClaveEmp = '" + TextoSQL(sUsuario) + "' and " + "Password = '" +
                  TextoSQL(sPassw) + "'";
  if (bSoloAdmins) s += "and Nivel = 0";
  return s;
}

bool TVelmarBD::ValidaAcceso(const std::string& sUsuario, const std::string& sPassw, bool bSoloAdmins) {
  if (!PideConsulta(ArmaValidaAcceso(sUsuario, sPassw, bSoloAdmins), *F_qConsultaGen)) return false;
  bool bResultado = !F_qConsultaGen->IsEmpty();
  F_qConsultaGen->Close();
  return bResultado;
}

TEmpresa TVelmarBD::Empresa() {
  TEmpresa r;
  if (!PideConsulta("SELECT * FROM tEmpresa", *F_qConsultaGen)) return r;
  if (!F_qConsultaGen->IsEmpty()) {
    F_qConsultaGen->First();
    std::pair<const char*, std::string*> campos[] = {
        {"Empresa", &r.sRazonSocial}, {"RFC", &r.sRFC}, {"RegistroCC", &r.sRegistroQAVI}, {"NumEmp", &r.sNumEmpresa}};
    for (auto [nombre, destino] : campos) {
      const TVariante* v = F_qConsultaGen->FindField(nombre);
      if (!v) {
        // A company table without one of its columns: told, and the record stays empty.
        F_qConsultaGen->Close();
        F_Errores->MuestraError(kErrorBD, std::string("EDatabaseError - La tabla tEmpresa no tiene la columna ") +
                                              nombre + ".");
        return TEmpresa{};
      }
      if (!v->EsNulo()) *destino = v->ComoTexto();
    }
  }
  F_qConsultaGen->Close();
  return r;
}

}  // namespace qavi
