#include "engine/RepCuestQAVI2016.h"

#include "common/CitaSQL.h"
#include "db/jet/ConsolidacionJet.h"
#include "engine/MapaRespuestas2016.h"

namespace qavi {

namespace {
constexpr const char* kNombreReporte = "Encuesta KORU 2016";
constexpr int kTotalPreguntas = 191;
constexpr const char* kInicio2015 = "01/01/2015";
constexpr const char* kFin2015 = "12/31/2015";
}  // namespace

TRepCuestQAVIBasic::TRepCuestQAVIBasic(TADOConnection* Conector, IReporte* elReporte, IMensajeroPtr Mensajero,
                                       double dTCambio, int nNumEmp)
    : TRepCuestionarioQAVI(Conector, elReporte, kNombreReporte, std::move(Mensajero), kTotalPreguntas, nNumEmp),
      F_dTipoCambio(dTCambio) {}

std::string TRepCuestQAVIBasic::TextoTipoCambio() const { return FormatoNumero(F_dTipoCambio); }

// ---- Datasets ----

std::string TRepCuestQAVIBasic::DameBoolSQL(bool b) { return b ? "-1" : "0"; }

std::string TRepCuestQAVIBasic::DameTipoOp(int nTipoOp) {
  switch (nTipoOp) {
    case 0: return "C";
    case 1: return "V";
    default: return "";
  }
}

std::string TRepCuestQAVIBasic::ArmaConsultaOps(bool bCancelado) const {
  return "SELECT Tipo, Folio, Fecha, NDiv, Cot, SUM(XCant) AS AuxCant, CvCAux FROM (  SELECT Tipo, Folio, Fecha, "
         "NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, ClaveCliente AS CvCAux FROM tMovtos WHERE "
         "NumEmp = " +
         F_sNumEmp + " and " + "Cancelado = " + DameBoolSQL(bCancelado) + " " + "UNION ALL " +
         "SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad " +
         "AS XCant, ClaveCliente AS CvCAux " + "FROM tProces " + "WHERE NumEmp = " + F_sNumEmp + " and " +
         "Cancelado = " + DameBoolSQL(bCancelado) + " " + ") " + "WHERE (Tipo = 'C' or Tipo = 'V') " +
         "GROUP BY Tipo, Folio, Fecha, NDiv, Cot, CvCAux ";
}

std::string TRepCuestQAVIBasic::ArmaConsultaDivisas(const std::string& sSimbolo, bool bIgual, bool bPagare) {
  std::string s = "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE ";
  if (sSimbolo == "TODAS")
    s += std::string("Simbolo  <> 'M.N.' AND ") + "Simbolo  <> 'MXN'  AND " + "Simbolo  <> ''     AND ";
  else if (bIgual)
    s += "Simbolo = '" + TextoSQL(sSimbolo) + "' AND ";
  else
    s += "Simbolo <> '" + TextoSQL(sSimbolo) + "' AND " + "Simbolo <> '' AND ";
  return s + "Pagare  = " + DameBoolSQL(bPagare);
}

std::string TRepCuestQAVIBasic::ArmaConsultaDolares(int nTipoOp, const std::string& sFechaIni,
                                                    const std::string& sFechaFin) const {
  return "SELECT tOps.*, AuxCant AS Cantidad, tXDivisas.Simbolo FROM (" + ArmaConsultaOps(false) + " ) AS tOps, " +
         "(" + ArmaConsultaDivisas("USD", true, false) + " ) AS tXDivisas " +
         "WHERE tOps.NDiv = tXDivisas.NDivx and " + "tOps.Fecha >= #" + sFechaIni + "# and " + "tOps.Fecha <= #" +
         sFechaFin + "# and " + "tOps.Tipo = '" + DameTipoOp(nTipoOp) + "'";
}

std::string TRepCuestQAVIBasic::ArmaConsultaOtrasDivisas(int nTipoOp, const std::string& sFechaIni,
                                                         const std::string& sFechaFin,
                                                         const std::string& sTCambio) const {
  return "SELECT tOps.*, (AuxCant*Cot)/" + sTCambio + " AS Cantidad, " + " tXDivisas.Simbolo " + "FROM (" +
         ArmaConsultaOps(false) + ") AS tOps, " + "(" + ArmaConsultaDivisas("USD", false, false) + ") AS tXDivisas " +
         "WHERE tOps.NDiv = tXDivisas.NDivx and " + "tOps.Fecha >= #" + sFechaIni + "# AND " + "tOps.Fecha <= #" +
         sFechaFin + "# AND " + "tOps.Tipo = '" + DameTipoOp(nTipoOp) + "'";
}

std::string TRepCuestQAVIBasic::ArmaConsultaDocumentos(int nTipoOp, const std::string& sFechaIni,
                                                       const std::string& sFechaFin,
                                                       const std::string& sTCambio) const {
  return "SELECT tOps.*, IIF( Simbolo = 'USD', AuxCant,  (AuxCant*Cot)/" + sTCambio +
         ") AS Cantidad, Simbolo, Divisa " + "FROM (" + ArmaConsultaOps(false) + ") AS tOps, " + "(" +
         ArmaConsultaDivisas("TODAS", true, true) + ") AS tXDiv " + "WHERE tOps.NDiv = tXDiv.NDivx AND " +
         "tOps.Fecha >= #" + sFechaIni + "# AND " + "tOps.Fecha <= #" + sFechaFin + "# AND " + "tOps.Tipo = '" +
         DameTipoOp(nTipoOp) + "' ";
}

std::string TRepCuestQAVIBasic::ArmaConsultaOpsPeriodo(const std::string& sFechaIni,
                                                       const std::string& sFechaFin) const {
  return "SELECT tOps.* FROM (" + ArmaConsultaOps(false) + ") AS tOps " + "WHERE " + "tOps.Fecha >= #" + sFechaIni +
         "# AND " + "tOps.Fecha <= #" + sFechaFin + "#";
}

std::string TRepCuestQAVIBasic::ArmaColumnaPEP() const {
  std::string s = ", IIF( ( ";
  int nMarcados = 0;
  if (F_vtPEPS) {
    for (F_vtPEPS->First(); !F_vtPEPS->Eof(); F_vtPEPS->Next()) {
      const auto& fila = F_vtPEPS->Fila();
      if (!fila.EsPEP) continue;
      if (nMarcados >= 1) s += "or ";
      ++nMarcados;
      // Keys are data: an apostrophe in one must not break the statement.
      const std::string clave =
          F_nSucursales > 1 ? jet::ClaveLocalTexto(fila.ClaveCliente, fila.Sucursal) : fila.ClaveCliente;
      s += "ClaveCliente = '" + TextoSQL(clave) + "' ";
    }
  }
  s += "), -1, 0 ) AS EsPEP ";
  if (nMarcados == 0) s = ", 0 AS EsPEP ";
  return s;
}

std::string TRepCuestQAVIBasic::ArmaConsultaClientes() const {
  std::string sInterna =
      "SELECT  ClaveCliente AS AuxCvC, IIF(PersonaMoral <> 0, Nombre, Nombre + IIF(ISNULL(ApellidoPaterno), '', ' '+ "
      "ApellidoPaterno) + IIF(ISNULL(ApellidoMaterno), '', ' ' + ApellidoMaterno)) AS Cliente, IIF(PersonaMoral <> 0, "
      "0, -1) AS EsPF, PersonaMoral AS EsPM, IIF(Nombre LIKE '%PUBLICO%', -1, 0) AS EsPubGen, Extranjero AS EsExtrj, "
      "ClaveSector " +
      ArmaColumnaPEP() + "FROM tCliente " + "WHERE NumEmp = " + F_sNumEmp;
  return "SELECT  tXClientes.*, tSector.Sector AS Actividad, IIF((ClaveActividad = '9503005' or ClaveActividad = "
         "'6999992' ), -1, 0) AS EsCC, IIF( (ClaveActividad = '8123094' or ClaveActividad = '9911018'), -1, 0) AS "
         "EsEF, IIF(ClaveActividad = '8219025', -1, 0) AS EsCB, IIF(ClaveActividad = '8100000', -1, 0) AS EsB FROM (" +
         sInterna + ") AS tXClientes, tSector " + "WHERE tXClientes.ClaveSector = tSector.ClaveSector";
}

std::string TRepCuestQAVIBasic::ArmaConsultaOpsClientes(const std::string& sConsulta) const {
  return "SELECT * FROM (" + sConsulta + ") AS tXOps, " + "(" + ArmaConsultaClientes() + ") AS tXCte " +
         "WHERE tXOps.CvCAux = tXCte.AuxCvC ";
}

std::string TRepCuestQAVIBasic::ArmaConsultaUsuarios(const std::string& sConsulta) {
  return "SELECT 0 AS Aux, EsPF, EsPM, EsPubGen, EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP FROM (" + sConsulta +
         ") AS tXCSinPG " + "WHERE EsPubGen = 0 " + "GROUP BY tXCSinPG.CvCAux, EsPF, EsPM, EsPubGen, " +
         "EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP " + "UNION ALL " + "SELECT tXCPG.CvCAux AS Aux, EsPF, EsPM," +
         " EsPubGen, " + "EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP " + "FROM (" + sConsulta + ") AS tXCPG " +
         "WHERE EsPubGen <> 0 ";
}

// ---- Aggregators ----

std::string TRepCuestQAVIBasic::ArmaFiltroSegmento(const std::string& sConsulta, int nSegmento, int nNacionalidad,
                                                   bool bSinPEP) {
  if (nSegmento == 0) return sConsulta;
  std::string s = "SELECT * FROM (" + sConsulta + ") ";
  switch (nSegmento) {
    case 1: s += "WHERE EsPF <> 0 "; break;
    case 2: s += std::string("WHERE EsPM <> 0 AND EsCC = 0 AND EsEF = 0 ") + "AND EsCB = 0 AND EsB = 0 "; break;
    case 3: s += "WHERE EsCC <> 0 "; break;
    case 4: s += "WHERE (EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) "; break;
    case 5: s += "WHERE EsCB <> 0 "; break;
    case 6: s += "WHERE EsB <> 0 "; break;
    case 7: s += "WHERE EsPEP <> 0 "; break;
    default: break;
  }
  if (nNacionalidad == 1) s += "AND EsExtrj = 0 ";
  if (nNacionalidad == 2) s += "AND EsExtrj <> 0 ";
  if (bSinPEP) s += "AND EsPEP = 0 ";
  return s;
}

std::string TRepCuestQAVIBasic::ArmaResultado(const std::string& sConsulta, const std::string& sDefault) {
  return "SELECT IIF( XResul = 'ZZZSINRESULT' or ISNULL( XResul ), '" + sDefault + "', XResul) AS Resultado FROM " +
         "(" + sConsulta + " UNION ALL " + "SELECT 'ZZZSINRESULT' AS XResul " + "FROM tEmpresa) ";
}

void TRepCuestQAVIBasic::ArmaSiNo(std::string& sConsulta) {
  sConsulta = "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM (" + sConsulta + ")";
}

std::string TRepCuestQAVIBasic::ArmaConteo(const std::string& sConsulta) {
  return ArmaResultado("SELECT COUNT(1) AS XResul FROM (" + sConsulta + " )", "0");
}

std::string TRepCuestQAVIBasic::ArmaConteoSiNo(const std::string& sConsulta) {
  std::string s = "SELECT COUNT(1) AS XResul FROM (" + sConsulta + " )";
  ArmaSiNo(s);
  return s;
}

std::string TRepCuestQAVIBasic::ArmaSuma(const std::string& sConsulta, int nSegmento, int nNacionalidad,
                                         bool bSinPEP) {
  return "SELECT ROUND(SUM(Cantidad)) AS XResul FROM (" +
         ArmaFiltroSegmento(sConsulta, nSegmento, nNacionalidad, bSinPEP) + ") ";
}

std::string TRepCuestQAVIBasic::ArmaPromedio(const std::string& sConsulta) {
  return "SELECT ROUND( SUM(Cantidad)/IIF( COUNT(1) = 0, 1, COUNT(1)) ) AS XResul FROM (" + sConsulta + ") ";
}

std::string TRepCuestQAVIBasic::ArmaTopCliente(const std::string& sConsulta, int nSegmento) {
  std::string s = "SELECT TOP 1 Cliente + ' (** Total Ops.: ' + STR( COUNT(Cliente)) +  ' **) ' AS XResul FROM (" +
                  sConsulta + ") ";
  if (nSegmento == 6) s += "WHERE EsB <> 0 and EsExtrj = 0 ";
  return s + "GROUP BY Cliente " + "ORDER BY COUNT(Cliente) DESC";
}

std::string TRepCuestQAVIBasic::ArmaTopDivisa(const std::string& sConsulta) {
  return "SELECT TOP 1 UCASE(Divisa) + ' (** Total Ops.: ' + STR( COUNT(Divisa)) +  ' **) ' AS XResul FROM (" +
         sConsulta + ") " + "GROUP BY Divisa " + "ORDER BY COUNT(Divisa) DESC";
}

std::string TRepCuestQAVIBasic::ArmaTopActividad(const std::string& sConsulta) const {
  return "SELECT TOP 1 UCASE(Actividad) + ' (** Total Ops.: ' + STR( COUNT(Actividad)) +  ' **) ' AS XResul FROM (" +
         ArmaConsultaOpsClientes(sConsulta) + ") " + "WHERE Actividad <> 'NO APLICA' " + "GROUP BY Actividad " +
         "ORDER BY COUNT(Actividad) DESC";
}

// ---- The 2016 map ----

std::string TRepCuestKORU2016::ArmaOpsDolares(int nTipoOp, const std::string& sFechaIni,
                                              const std::string& sFechaFin) const {
  return ArmaConsultaDolares(nTipoOp, sFechaIni, sFechaFin);
}

std::string TRepCuestKORU2016::ArmaUsuariosDolares(int nTipoOp) const {
  return ArmaConsultaUsuarios(ArmaOpsClientesDolares(nTipoOp));
}

std::string TRepCuestKORU2016::ArmaOpsClientesDolares(int nTipoOp) const {
  return ArmaConsultaOpsClientes(ArmaOpsDolares(nTipoOp, kInicio2015, kFin2015));
}

std::string TRepCuestKORU2016::ArmaOpsOtrasDivisas(int nTipoOp, const std::string& sFechaIni,
                                                   const std::string& sFechaFin) const {
  return ArmaConsultaOtrasDivisas(nTipoOp, sFechaIni, sFechaFin, TextoTipoCambio());
}

std::string TRepCuestKORU2016::ArmaUsuariosOtrasDivisas(int nTipoOp) const {
  return ArmaConsultaUsuarios(ArmaOpsClientesOtrasDivisas(nTipoOp));
}

std::string TRepCuestKORU2016::ArmaOpsClientesOtrasDivisas(int nTipoOp) const {
  return ArmaConsultaOpsClientes(ArmaOpsOtrasDivisas(nTipoOp, kInicio2015, kFin2015));
}

std::string TRepCuestKORU2016::ArmaOpsDocumentos(int nTipoOp, const std::string& sFechaIni,
                                                 const std::string& sFechaFin) const {
  return ArmaConsultaDocumentos(nTipoOp, sFechaIni, sFechaFin, TextoTipoCambio());
}

std::string TRepCuestKORU2016::ArmaDocumentos2015(int nTipoOp) const {
  return ArmaOpsDocumentos(nTipoOp, kInicio2015, kFin2015);
}

std::string TRepCuestKORU2016::ArmaUsuariosDocumentos(int nTipoOp) const {
  return ArmaConsultaUsuarios(ArmaOpsClientesDocumentos(nTipoOp));
}

std::string TRepCuestKORU2016::ArmaOpsClientesDocumentos(int nTipoOp) const {
  return ArmaConsultaOpsClientes(ArmaDocumentos2015(nTipoOp));
}

std::string TRepCuestKORU2016::DameRespuesta(int nPregunta) {
  if (nPregunta == 1 || (nPregunta >= 3 && nPregunta <= 32)) return kCCDebeResponder;
  if (nPregunta == 2)
    return ArmaResultado(ArmaTopActividad(ArmaConsultaOpsPeriodo(kInicio2015, kFin2015)), "NINGUNO");
  auto m = BuscaEnMapa(nPregunta);
  if (!m) return kRespuestaError;

  const int nTipoOp = m->seccion.nTipoOp;
  const TRenglonMapa& r = *m->renglon;
  auto presencia = [&] {
    switch (m->seccion.mercado) {
      case TMercado::Dolares: return ArmaOpsDolares(nTipoOp, kInicio2015, kFin2015);
      case TMercado::OtrasDivisas: return ArmaOpsOtrasDivisas(nTipoOp, kInicio2015, kFin2015);
      case TMercado::Documentos: break;
    }
    return ArmaOpsDocumentos(nTipoOp, kInicio2015, kFin2015);
  };
  auto usuarios = [&] {
    switch (m->seccion.mercado) {
      case TMercado::Dolares: return ArmaUsuariosDolares(nTipoOp);
      case TMercado::OtrasDivisas: return ArmaUsuariosOtrasDivisas(nTipoOp);
      case TMercado::Documentos: break;
    }
    return ArmaUsuariosDocumentos(nTipoOp);
  };
  auto operaciones = [&] {
    switch (m->seccion.mercado) {
      case TMercado::Dolares: return ArmaOpsClientesDolares(nTipoOp);
      case TMercado::OtrasDivisas: return ArmaOpsClientesOtrasDivisas(nTipoOp);
      case TMercado::Documentos: break;
    }
    return ArmaOpsClientesDocumentos(nTipoOp);
  };
  auto conjunto = [&] {
    switch (r.conjunto) {
      case TConjunto::Presencia: return presencia();
      case TConjunto::Usuarios: return usuarios();
      case TConjunto::Operaciones: return operaciones();
      case TConjunto::Documentos: break;
    }
    return ArmaDocumentos2015(nTipoOp);
  };
  const TSegmento seg = r.segmento.value_or(TSegmento{});

  switch (r.clase) {
    case TClaseRespuesta::SiNo: return ArmaConteoSiNo(conjunto());
    case TClaseRespuesta::DocumentoPrincipal: return ArmaResultado(ArmaTopDivisa(conjunto()), "NINGUNO");
    case TClaseRespuesta::ClientePrincipal: return ArmaResultado(ArmaTopCliente(conjunto(), seg.nSegmento), "NINGUNO");
    case TClaseRespuesta::Conteo:
      return ArmaConteo(r.segmento ? ArmaFiltroSegmento(conjunto(), seg.nSegmento, seg.nNacionalidad, seg.bSinPEP)
                                   : conjunto());
    case TClaseRespuesta::Monto:
      return ArmaResultado(ArmaSuma(conjunto(), seg.nSegmento, seg.nNacionalidad, seg.bSinPEP), "0");
    case TClaseRespuesta::Promedio: return ArmaResultado(ArmaPromedio(conjunto()), "0");
  }
  return kRespuestaError;
}

}  // namespace qavi
