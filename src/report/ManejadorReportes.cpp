#include "report/ManejadorReportes.h"

#include "common/CitaSQL.h"

namespace qavi {

std::string TManejadorReportes::ValorReporte(const std::string& sDato) {
  if (sDato.find("\r\n") != std::string::npos) return sDato;
  // The report's expressions quote text as SQL does.
  return CitaTextoSQL(sDato);
}

void TManejadorReportes::AgregaDatoReporte(const std::string& sCategoria, const std::string& sVariable,
                                           const std::string& sDato) {
  if (F_Reporte) F_Reporte->AsignaVariable(sCategoria, sVariable, ValorReporte(sDato));
}

void TManejadorReportes::MuestraReporte() {
  if (!F_Reporte) return;
  F_Reporte->AsignaNombreDocumento(F_sNombre);
  F_Reporte->Muestra();
}

}  // namespace qavi
