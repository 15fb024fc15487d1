#pragma once
// The questionnaire engine: Jet SQL building blocks over Velmar's operations, currencies and
// clients, the aggregators that turn a dataset into one answer statement, and the 2016 map.
#include <string>

#include "report/RepCuestionarioQAVI.h"

namespace qavi {

class TRepCuestQAVIBasic : public TRepCuestionarioQAVI {
 public:
  TRepCuestQAVIBasic(TADOConnection* Conector, IReporte* elReporte, IMensajeroPtr Mensajero, double dTCambio,
                     int nNumEmp);

  // The connection reads the databases of this many branches as one (SucursalesVelmar.h): a
  // ticked client is then the key of its own branch.
  void ConsolidaSucursales(int nSucursales) { F_nSucursales = nSucursales; }

 protected:
  // Datasets.
  std::string ArmaConsultaOps(bool bCancelado) const;
  static std::string DameBoolSQL(bool b);
  static std::string DameTipoOp(int nTipoOp);
  static std::string ArmaConsultaDivisas(const std::string& sSimbolo, bool bIgual, bool bPagare);
  std::string ArmaConsultaDolares(int nTipoOp, const std::string& sFechaIni, const std::string& sFechaFin) const;
  std::string ArmaConsultaOtrasDivisas(int nTipoOp, const std::string& sFechaIni, const std::string& sFechaFin,
                                       const std::string& sTCambio) const;
  std::string ArmaConsultaDocumentos(int nTipoOp, const std::string& sFechaIni, const std::string& sFechaFin,
                                     const std::string& sTCambio) const;
  std::string ArmaConsultaOpsPeriodo(const std::string& sFechaIni, const std::string& sFechaFin) const;
  std::string ArmaColumnaPEP() const;
  std::string ArmaConsultaClientes() const;
  std::string ArmaConsultaOpsClientes(const std::string& sConsulta) const;
  static std::string ArmaConsultaUsuarios(const std::string& sConsulta);

  // Aggregators.
  static std::string ArmaFiltroSegmento(const std::string& sConsulta, int nSegmento, int nNacionalidad, bool bSinPEP);
  static std::string ArmaResultado(const std::string& sConsulta, const std::string& sDefault);
  static void ArmaSiNo(std::string& sConsulta);
  static std::string ArmaConteo(const std::string& sConsulta);
  static std::string ArmaConteoSiNo(const std::string& sConsulta);
  static std::string ArmaSuma(const std::string& sConsulta, int nSegmento, int nNacionalidad, bool bSinPEP);
  static std::string ArmaPromedio(const std::string& sConsulta);
  static std::string ArmaTopCliente(const std::string& sConsulta, int nSegmento);
  static std::string ArmaTopDivisa(const std::string& sConsulta);
  std::string ArmaTopActividad(const std::string& sConsulta) const;

  // The rate as statements write it: shortest decimal form, always with a point.
  std::string TextoTipoCambio() const;

  double F_dTipoCambio;
  int F_nSucursales = 1;
};

class TRepCuestKORU2016 : public TRepCuestQAVIBasic {
 public:
  using TRepCuestQAVIBasic::TRepCuestQAVIBasic;

  std::string DameRespuesta(int nPregunta) override;

 protected:
  std::string ArmaOpsDolares(int nTipoOp, const std::string& sFechaIni, const std::string& sFechaFin) const;
  std::string ArmaUsuariosDolares(int nTipoOp) const;
  std::string ArmaOpsClientesDolares(int nTipoOp) const;
  std::string ArmaOpsOtrasDivisas(int nTipoOp, const std::string& sFechaIni, const std::string& sFechaFin) const;
  std::string ArmaUsuariosOtrasDivisas(int nTipoOp) const;
  std::string ArmaOpsClientesOtrasDivisas(int nTipoOp) const;
  std::string ArmaOpsDocumentos(int nTipoOp, const std::string& sFechaIni, const std::string& sFechaFin) const;
  std::string ArmaDocumentos2015(int nTipoOp) const;
  std::string ArmaUsuariosDocumentos(int nTipoOp) const;
  std::string ArmaOpsClientesDocumentos(int nTipoOp) const;
};

}  // namespace qavi
