#include "db/jet/OpcionesMotorJet.h"

#include <cstdlib>
#include <string>

namespace qavi::jet {

TOpcionesMotorJet OpcionesMotorJetDelEntorno() {
  TOpcionesMotorJet o;
  const char* sinCache = std::getenv("QAVI_SIN_CACHE");
  o.reutilizaDerivadas = !(sinCache && std::string(sinCache) == "1");
  if (const char* filas = std::getenv("QAVI_FILAS_MEMORIA")) {
    char* fin = nullptr;
    const unsigned long long n = std::strtoull(filas, &fin, 10);
    if (fin != filas && *fin == '\0') o.filasParaMemoria = static_cast<std::size_t>(n);
  }
  const char* unHilo = std::getenv("QAVI_UN_HILO");
  o.adelantaLote = !(unHilo && std::string(unHilo) == "1");
  return o;
}

}  // namespace qavi::jet
