#include "db/Conectores.h"

#include "db/ErroresBD.h"

namespace qavi {

TConector::TConector() : F_Errores(TErroresBD::Create()) {}

TConectSQLServer::TConectSQLServer() { F_Conector->LoginPrompt = false; }

TConectSQLServer::~TConectSQLServer() { F_Conector->Connected(false); }

void TConectSQLServer::StrConexion(const std::string& sValor) { F_Conector->ConnectionString(sValor); }

std::string TConectSQLServer::StrConexion() const { return F_Conector->ConnectionString(); }

bool TConectSQLServer::Conecta() const { return F_Conector->Connected(); }

void TConectSQLServer::Conecta(bool bValor) {
  try {
    F_Conector->Connected(bValor);
  } catch (const EOleException& e) {
    F_Errores->MuestraError(kErrorBD, e.ClassName() + " - " + e.Message());
    F_Conector->Connected(false);
  } catch (const std::exception& e) {
    F_Errores->MuestraError(kErrorBD, std::string("Exception - ") + e.what());
    F_Conector->Connected(false);
  }
}

// Exclusive share mode as requested; the Jet engine only ever reads the file.
TConectAccess::TConectAccess(const jet::TOpcionesMotorJet& opciones) {
  F_Conector->Mode = TConnectMode::cmShareExclusive;
  F_Conector->OpcionesJet = opciones;
}

}  // namespace qavi
