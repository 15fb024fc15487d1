#include "report/TablaPEPs.h"

#include "common/Utf8.h"

namespace qavi {

void TTablaPEPs::Limpia() {
  filas_.clear();
  cursor_ = 0;
}

void TTablaPEPs::Agrega(TFilaPEP fila) {
  fila.ClaveCliente = std::string(PrefijoUtf8(fila.ClaveCliente, kAnchoClave));
  fila.Nombre = std::string(PrefijoUtf8(fila.Nombre, kAnchoNombre));
  filas_.push_back(std::move(fila));
  cursor_ = filas_.size() - 1;
}

void TTablaPEPs::AsignaEsPEP(bool bValor) {
  if (cursor_ < filas_.size()) filas_[cursor_].EsPEP = bValor;
}

}  // namespace qavi
