#include "db/ErroresBD.h"

namespace qavi {

std::shared_ptr<TErroresBD> TErroresBD::Create() {
  std::shared_ptr<TErroresBD> e(new TErroresBD());
  e->Inicializa();
  return e;
}

void TErroresBD::CargaErrores() { AgregaError(kErrorBD, "Llame a Soporte Técnico.", "", true); }

}  // namespace qavi
