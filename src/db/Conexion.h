#pragma once
#include "common/Texto.h"
#include "db/Conectores.h"
#include "db/IIConexion.h"

namespace qavi {

class TConexion : public IConexion {
 public:
  explicit TConexion(TTipoMotorBD TipoMotorBD, const jet::TOpcionesMotorJet& opcionesJet = {});

  void StrConexion(const std::string& s) override { F_sSrtConexion = s; }
  std::string StrConexion() const override { return F_sSrtConexion; }
  // Opening builds the connection string first if it is still empty.
  void Conecta(bool bValor) override;
  // The flag of the last opening, not a fresh question to the connection.
  bool Conecta() const override { return F_bConectado; }

  TTipoMotorBD TipoMotorBD() const override { return F_TipoMotorBD; }
  TConector* ObjetoConector() const override { return F_ObjConector; }
  void Usuario(const std::string& s) override { F_sUsuario = s; }
  std::string Usuario() const override { return F_sUsuario; }
  void Passw(const std::string& s) override { F_sPassw = s; }
  std::string Passw() const override { return F_sPassw; }
  void BDNombre(const std::string& s) override { F_sBDNombre = s; }
  std::string BDNombre() const override { return F_sBDNombre; }
  void Ubicacion(const std::string& s) override { F_sUbicacion = s; }
  std::string Ubicacion() const override { return F_sUbicacion; }
  void Instancia(const std::string& s) override { F_sInstancia = s; }
  std::string Instancia() const override { return F_sInstancia; }
  void Puerto(const std::string& s) override { F_sPuerto = s; }
  std::string Puerto() const override { return F_sPuerto; }

 private:
  friend struct TConexionPrueba;
  bool HayDatosConexion() const;
  void ArmaStrConexSQLServer();
  void ArmaStrConexAccess();
  bool ArmaStrConexion();

  TTipoMotorBD F_TipoMotorBD;
  std::string F_sSrtConexion;
  std::string F_sUsuario;
  std::string F_sPassw;
  std::string F_sBDNombre;
  std::string F_sUbicacion;
  std::string F_sInstancia;
  std::string F_sPuerto;
  bool F_bConectado = false;
  IConectorPtr F_Conector;
  TConector* F_ObjConector = nullptr;
};

}  // namespace qavi
