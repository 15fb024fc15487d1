#include "db/LogErrores.h"

#include <stdexcept>

#include "common/IIMensajeModal.h"

namespace qavi {

void TManejadorErrores::AgregaError(const std::string& sClaveErr, const std::string& sMsjUsuario,
                                    const std::string& sMsjLog, bool bMostrarMsj) {
  if (!F_ListaErrores.emplace(sClaveErr, TMsjError{sMsjUsuario, sMsjLog, bMostrarMsj}).second)
    throw std::logic_error("Código de error duplicado: " + sClaveErr);
}

void TManejadorErrores::MuestraError(const std::string& sClaveErr, const std::string& sMsjAdicional) {
  auto it = F_ListaErrores.find(sClaveErr);
  if (it == F_ListaErrores.end()) {
    MuestraMensaje("Error #" + sClaveErr + " " + sMsjAdicional);
    return;
  }
  if (it->second.bMostrarMsj)
    MuestraMensaje("Error #" + sClaveErr + ": " + it->second.sMsjUsuario + " " + sMsjAdicional);
}

std::string TManejadorErrores::DameErrorMsj(const std::string& sClaveErr, const std::string& sMsjAdicional,
                                            bool bIncluyeClave) {
  std::string texto;
  auto it = F_ListaErrores.find(sClaveErr);
  if (it != F_ListaErrores.end())
    texto = it->second.sMsjUsuario + " " + sMsjAdicional;
  else if (!sMsjAdicional.empty())
    texto = sMsjAdicional;
  else
    texto = "Error desconocido";
  if (bIncluyeClave) texto = "Error #" + sClaveErr + ": " + texto;
  return texto;
}

}  // namespace qavi
