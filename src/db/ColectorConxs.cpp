#include "db/ColectorConxs.h"

namespace qavi {

IColectorConxsPtr gColectorConxs;

TColectorConxs::~TColectorConxs() { F_GpoConexiones.clear(); }

bool TColectorConxs::Registra(const std::string& sNomConect, IConexionPtr conexion, bool bConectado) {
  conexion->Conecta(bConectado);
  // A taken name drops the new descriptor, and with it whatever it opened.
  return F_GpoConexiones.emplace(sNomConect, std::move(conexion)).second;
}

bool TColectorConxs::NuevaConexion(const std::string& sNomConect, const std::string& sStrConexion,
                                   TTipoMotorBD TipoMotor, bool bConectado) {
  auto c = std::make_shared<TConexion>(TipoMotor, F_OpcionesJet);
  c->StrConexion(sStrConexion);
  return Registra(sNomConect, c, bConectado);
}

bool TColectorConxs::NuevaConexion(const std::string& sNomConect, const std::string& sUsuario,
                                   const std::string& sPassw, const std::string& sBDNombre,
                                   const std::string& sUbicacion, const std::string& sInstancia,
                                   const std::string& sPuerto, TTipoMotorBD TipoMotor, bool bConectado) {
  auto c = std::make_shared<TConexion>(TipoMotor, F_OpcionesJet);
  c->Usuario(sUsuario);
  c->Passw(sPassw);
  c->BDNombre(sBDNombre);
  c->Ubicacion(sUbicacion);
  c->Instancia(sInstancia);
  c->Puerto(sPuerto);
  return Registra(sNomConect, c, bConectado);
}

bool TColectorConxs::Conecta(const std::string& sNomConect) {
  auto it = F_GpoConexiones.find(sNomConect);
  if (it == F_GpoConexiones.end()) return false;
  if (!it->second->Conecta()) it->second->Conecta(true);
  return it->second->Conecta();
}

void TColectorConxs::Desconecta(const std::string& sNomConect) {
  auto it = F_GpoConexiones.find(sNomConect);
  if (it != F_GpoConexiones.end()) it->second->Conecta(false);
}

bool TColectorConxs::Conectado(const std::string& sNomConect) {
  auto it = F_GpoConexiones.find(sNomConect);
  return it != F_GpoConexiones.end() && it->second->Conecta();
}

void TColectorConxs::EliminaConex(const std::string& sNomConect) {
  auto it = F_GpoConexiones.find(sNomConect);
  if (it == F_GpoConexiones.end()) return;
  it->second->Conecta(false);
  F_GpoConexiones.erase(it);
}

bool TColectorConxs::DameConex(const std::string& sNomConect, TTipoMotorBD tipo, TADOConnection*& Conector) {
  auto it = F_GpoConexiones.find(sNomConect);
  if (it == F_GpoConexiones.end() || it->second->TipoMotorBD() != tipo) return false;
  auto* conector = dynamic_cast<TTipoConector<TADOConnection>*>(it->second->ObjetoConector());
  if (!conector) return false;
  Conector = conector->DameConector();
  return true;
}

bool TColectorConxs::DameSQLConex(const std::string& sNomConect, TADOConnection*& Conector) {
  return DameConex(sNomConect, TTipoMotorBD::tmSQLServer, Conector);
}

bool TColectorConxs::DameAccessConex(const std::string& sNomConect, TADOConnection*& Conector) {
  return DameConex(sNomConect, TTipoMotorBD::tmAccess, Conector);
}

void TColectorConxs::CreaBDPrinc(const std::string& sUbicacionBD, const std::string& sPuerto, bool bConectado) {
  if (F_GpoConexiones.count(kBDPrincipal)) return;
  NuevaConexion(kBDPrincipal, "", kPasswVelmar, "", sUbicacionBD, "", sPuerto, TTipoMotorBD::tmAccess, bConectado);
}

}  // namespace qavi
