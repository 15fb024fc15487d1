#include "report/RepCuestionarioQAVI.h"

#include "common/BoolPersist.h"
#include "db/Conexion.h"
#include "common/CitaSQL.h"
#include "report/ManejadorReportes.h"

namespace qavi {

TRepCuestionarioQAVI::TRepCuestionarioQAVI(TADOConnection* Conector, IReporte* elReporte, const std::string& sNomRep,
                                           IMensajeroPtr Mensajero, int nTotalPreg, int nNumEmp)
    : TVelmarBD(Conector),
      F_sNumEmp(std::to_string(nNumEmp)),
      F_Mensajero(std::move(Mensajero)),
      F_mjReportes(std::make_shared<TManejadorReportes>(elReporte, sNomRep)),
      F_nTotalPreguntas(nTotalPreg) {}

void TRepCuestionarioQAVI::Mensaje(const std::string& s) {
  if (F_Mensajero) F_Mensajero->MsjEnTx(s);
}

void TRepCuestionarioQAVI::MensajeEspera(const std::string& s) {
  if (F_Mensajero) F_Mensajero->MsjTxEspera(s, false);
}

bool TRepCuestionarioQAVI::ResuelveRespuesta(const std::string& sConsulta, std::string& sRespuesta) {
  sRespuesta = kRespuestaError;
  if (sConsulta == kCCDebeResponder) {
    sRespuesta = sConsulta;
    return true;
  }
  if (sConsulta == kRespuestaError) return false;
  if (!PideConsulta(sConsulta, *F_qConsultaGen)) return false;
  bool bResultado = false;
  if (!F_qConsultaGen->IsEmpty()) {
    F_qConsultaGen->First();
    sRespuesta = "Respuesta: " + F_qConsultaGen->FieldByName("Resultado").ComoTexto();
    bResultado = true;
  }
  F_qConsultaGen->Close();
  return bResultado;
}

bool TRepCuestionarioQAVI::GeneraReporte(TTablaPEPs& vtPEPS) {
  F_vtPEPS = &vtPEPS;
  // The engine may plan its work by the whole run's statements; the answers are the same.
  if (F_Conector) {
    std::vector<std::string> sentencias;
    for (int n = 1; n <= F_nTotalPreguntas; ++n)
      if (std::string a = DameRespuesta(n); a != kCCDebeResponder && a != kRespuestaError)
        sentencias.push_back(std::move(a));
    F_Conector->Anticipa(sentencias);
  }
  TBoolPersist exito(true);
  MensajeEspera("Iniciando...");
  F_mjReportes->AgregaDatoReporte(kCategoriaCuestionario, "NombreCC", Empresa().sRazonSocial);
  // Always set, empty with one branch: a report that outlives the run (the window's) must not
  // keep the note of an earlier run over other branches.
  F_mjReportes->AgregaDatoReporte(kCategoriaCuestionario, kVariableSucursales, F_sNotaSucursales);
  for (int n = 1; n <= F_nTotalPreguntas; ++n) {
    std::string sRespuesta;
    exito.Valor(ResuelveRespuesta(DameRespuesta(n), sRespuesta));
    F_mjReportes->AgregaDatoReporte(kCategoriaCuestionario, "preg_" + std::to_string(n), sRespuesta);
    if (exito.Valor()) {
      const int p = static_cast<int>((static_cast<long long>(n) * 100) / F_nTotalPreguntas);
      if (p > 99)
        MensajeEspera("Por favor espere... 100%");
      else
        Mensaje("Por favor espere... " + std::to_string(p) + "%");
    } else {
      n = F_nTotalPreguntas;
      MensajeEspera("Error...");
    }
  }
  if (exito.Valor()) {
    MensajeEspera("Preparando reporte...");
    F_mjReportes->MuestraReporte();
  }
  return exito.Valor();
}

std::string TRepCuestionarioQAVI::ArmaDetectaPEPs(const std::string& sNumEmp) {
  return "SELECT DISTINCT tCliente.Nombre, tCliente.ApellidoPaterno,  tCliente.ApellidoMaterno, "
         "tCliente.ClaveCliente FROM tRelevan, tCliente WHERE tRelevan.TipoRelev = 'I' AND tRelevan.Fecha >= "
         "#01/01/2015# AND tRelevan.Fecha <= #12/31/2015# AND tRelevan.Observaciones LIKE '%PEP%' AND "
         "tRelevan.NumEmp = " +
         sNumEmp + " AND " + "tCliente.ClaveCliente = tRelevan.ClaveCliente";
}

bool TRepCuestionarioQAVI::DetectaPEPs(TTablaPEPs& vtPEPS) {
  vtPEPS.Abre();
  vtPEPS.Limpia();
  if (!PideConsulta(ArmaDetectaPEPs(F_sNumEmp), *F_qConsultaGen)) return false;
  if (!F_qConsultaGen->IsEmpty()) {
    int nContador = 0;
    auto& q = *F_qConsultaGen;
    for (q.First(); !q.Eof(); q.Next()) {
      ++nContador;
      std::string sNombre = RecortaBlancos(q.FieldByName("Nombre").ComoTexto());
      for (const char* apellido : {"ApellidoPaterno", "ApellidoMaterno"}) {
        std::string s = RecortaBlancos(q.FieldByName(apellido).ComoTexto());
        if (!s.empty()) sNombre += " " + s;
      }
      vtPEPS.Agrega({nContador, q.FieldByName("ClaveCliente").ComoTexto(), sNombre, false});
    }
    q.Close();
  }
  return true;
}

}  // namespace qavi
