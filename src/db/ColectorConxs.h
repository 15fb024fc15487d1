#pragma once
#include <map>

#include "db/Conexion.h"
#include "db/IIColectorConxs.h"

namespace qavi {

inline constexpr const char* kBDPrincipal = "BDPrincipal";
inline constexpr const char* kPasswVelmar = "quibon";

class TColectorConxs : public IColectorConxs {
 public:
  // `opcionesJet`: how the Access connections it makes run their statements.
  explicit TColectorConxs(const jet::TOpcionesMotorJet& opcionesJet = {}) : F_OpcionesJet(opcionesJet) {}
  ~TColectorConxs() override;

  bool NuevaConexion(const std::string& sNomConect, const std::string& sStrConexion, TTipoMotorBD TipoMotor,
                     bool bConectado) override;
  bool NuevaConexion(const std::string& sNomConect, const std::string& sUsuario, const std::string& sPassw,
                     const std::string& sBDNombre, const std::string& sUbicacion, const std::string& sInstancia,
                     const std::string& sPuerto, TTipoMotorBD TipoMotor, bool bConectado) override;
  bool Conecta(const std::string& sNomConect) override;
  void Desconecta(const std::string& sNomConect) override;
  bool Conectado(const std::string& sNomConect) override;
  void EliminaConex(const std::string& sNomConect) override;
  bool DameSQLConex(const std::string& sNomConect, TADOConnection*& Conector) override;
  bool DameAccessConex(const std::string& sNomConect, TADOConnection*& Conector) override;
  void CreaBDPrinc(const std::string& sUbicacionBD, const std::string& sPuerto, bool bConectado) override;

 private:
  bool Registra(const std::string& sNomConect, IConexionPtr conexion, bool bConectado);
  bool DameConex(const std::string& sNomConect, TTipoMotorBD tipo, TADOConnection*& Conector);
  std::map<std::string, IConexionPtr> F_GpoConexiones;
  jet::TOpcionesMotorJet F_OpcionesJet;
};

// The process-wide registry; made by the program entry, cleared at shutdown.
extern IColectorConxsPtr gColectorConxs;

}  // namespace qavi
