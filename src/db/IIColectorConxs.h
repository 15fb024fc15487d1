#pragma once
// The registry of the process's database connections, by name.
#include <memory>
#include <string>

namespace qavi {

enum class TTipoMotorBD : std::uint8_t;
class TADOConnection;

class IColectorConxs {
 public:
  virtual ~IColectorConxs() = default;
  virtual bool NuevaConexion(const std::string& sNomConect, const std::string& sStrConexion, TTipoMotorBD TipoMotor,
                             bool bConectado) = 0;
  virtual bool NuevaConexion(const std::string& sNomConect, const std::string& sUsuario, const std::string& sPassw,
                             const std::string& sBDNombre, const std::string& sUbicacion,
                             const std::string& sInstancia, const std::string& sPuerto, TTipoMotorBD TipoMotor,
                             bool bConectado) = 0;
  virtual bool Conecta(const std::string& sNomConect) = 0;
  virtual void Desconecta(const std::string& sNomConect) = 0;
  virtual bool Conectado(const std::string& sNomConect) = 0;
  virtual void EliminaConex(const std::string& sNomConect) = 0;
  virtual bool DameSQLConex(const std::string& sNomConect, TADOConnection*& Conector) = 0;
  virtual bool DameAccessConex(const std::string& sNomConect, TADOConnection*& Conector) = 0;
  virtual void CreaBDPrinc(const std::string& sUbicacionBD, const std::string& sPuerto, bool bConectado) = 0;
};

using IColectorConxsPtr = std::shared_ptr<IColectorConxs>;

}  // namespace qavi
