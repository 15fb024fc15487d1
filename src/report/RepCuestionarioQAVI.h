#pragma once
#include <string>

#include "common/IIMensajero.h"
#include "pos/VelmarBD.h"
#include "report/IIManejadorReportes.h"
#include "report/IIRepCuestionarioQAVI.h"
#include "report/IIReporte.h"
#include "report/TablaPEPs.h"

namespace qavi {

inline constexpr const char* kCCDebeResponder = "(** El CC debe responder **)";
inline constexpr const char* kRespuestaError = "** E R R O R **";
inline constexpr const char* kCategoriaCuestionario = "Cuestionario";

// The run driver: asks DameRespuesta for every question, runs it and fills the report.
class TRepCuestionarioQAVI : public TVelmarBD, public IRepCuestionarioQAVI {
 public:
  TRepCuestionarioQAVI(TADOConnection* Conector, IReporte* elReporte, const std::string& sNomRep,
                       IMensajeroPtr Mensajero, int nTotalPreg, int nNumEmp);

  bool DetectaPEPs(TTablaPEPs& vtPEPS) override;
  bool GeneraReporte(TTablaPEPs& vtPEPS) override;
  bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw, bool bSoloAdmins) override {
    return TVelmarBD::ValidaAcceso(sUsuario, sPassw, bSoloAdmins);
  }
  bool UsuariosConectados() override { return TVelmarBD::UsuariosConectados(); }

  // "(** El CC debe responder **)", "** E R R O R **" or a SELECT whose first row holds `Resultado`.
  virtual std::string DameRespuesta(int nPregunta) = 0;

  static std::string ArmaDetectaPEPs(const std::string& sNumEmp);

  // Page 1 says which branches the answers consolidate; empty (one branch) prints nothing.
  void NotaSucursales(std::string sNota) { F_sNotaSucursales = std::move(sNota); }

 protected:
  std::string F_sNumEmp;
  TTablaPEPs* F_vtPEPS = nullptr;

 private:
  bool ResuelveRespuesta(const std::string& sConsulta, std::string& sRespuesta);
  void Mensaje(const std::string& s);
  void MensajeEspera(const std::string& s);

  IMensajeroPtr F_Mensajero;
  IManejadorReportesPtr F_mjReportes;
  int F_nTotalPreguntas;
  std::string F_sNotaSucursales;
};

// The report variable of that note.
inline constexpr const char* kVariableSucursales = "Sucursales";

}  // namespace qavi
