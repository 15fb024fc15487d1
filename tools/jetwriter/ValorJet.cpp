#include "jetwriter/ValorJet.h"

namespace qavi::tools {
namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t DiasCiviles(std::int64_t a, unsigned m, unsigned d) {
  a -= m <= 2;
  const std::int64_t era = (a >= 0 ? a : a - 399) / 400;
  const unsigned ade = static_cast<unsigned>(a - era * 400);
  const unsigned dda = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned dde = ade * 365 + ade / 4 - ade / 100 + dda;
  return era * 146097 + static_cast<std::int64_t>(dde) - 719468;
}

}  // namespace

double FechaOle(int anio, int mes, int dia, int hora, int minuto, int segundo) {
  const std::int64_t dias = DiasCiviles(anio, static_cast<unsigned>(mes), static_cast<unsigned>(dia)) -
                            DiasCiviles(1899, 12, 30);
  const double fraccion = (hora * 3600.0 + minuto * 60.0 + segundo) / 86400.0;
  return dias >= 0 ? static_cast<double>(dias) + fraccion : static_cast<double>(dias) - fraccion;
}

}  // namespace qavi::tools
