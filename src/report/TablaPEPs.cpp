#include "report/TablaPEPs.h"

namespace qavi {

std::string CortaTexto(const std::string& s, std::size_t n) {
  std::size_t caracteres = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    // A UTF-8 continuation byte belongs to the character before it.
    if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
    if (caracteres == n) return s.substr(0, i);
    ++caracteres;
  }
  return s;
}

void TTablaPEPs::Limpia() {
  filas_.clear();
  cursor_ = 0;
}

void TTablaPEPs::Agrega(TFilaPEP fila) {
  fila.ClaveCliente = CortaTexto(fila.ClaveCliente, kAnchoClave);
  fila.Nombre = CortaTexto(fila.Nombre, kAnchoNombre);
  filas_.push_back(std::move(fila));
  cursor_ = filas_.size() - 1;
}

void TTablaPEPs::AsignaEsPEP(bool bValor) {
  if (cursor_ < filas_.size()) filas_[cursor_].EsPEP = bValor;
}

}  // namespace qavi
