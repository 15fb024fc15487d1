#pragma once
#include "report/IIManejadorReportes.h"
#include "report/IIReporte.h"

namespace qavi {

class TManejadorReportes : public IManejadorReportes {
 public:
  TManejadorReportes(IReporte* elReporte, std::string sNombre) : F_Reporte(elReporte), F_sNombre(std::move(sNombre)) {}

  void AgregaDatoReporte(const std::string& sCategoria, const std::string& sVariable,
                         const std::string& sDato) override;
  void MuestraReporte() override;

  // The value as stored for the renderer: a text with CR LF unchanged; any other text as a
  // quoted literal of the report's expression language, its apostrophes doubled.
  static std::string ValorReporte(const std::string& sDato);

 private:
  IReporte* F_Reporte;  // not owned
  std::string F_sNombre;
};

}  // namespace qavi
