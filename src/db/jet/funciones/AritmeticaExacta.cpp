#include "db/jet/funciones/AritmeticaExacta.h"

#include <cmath>

namespace qavi::jet {
namespace {

// 10^0 .. 10^18: every one exact as an integer, and up to 10^22 as a real.
constexpr std::int64_t kPotencias[] = {1,
                                       10,
                                       100,
                                       1000,
                                       10000,
                                       100000,
                                       1000000,
                                       10000000,
                                       100000000,
                                       1000000000,
                                       10000000000,
                                       100000000000,
                                       1000000000000,
                                       10000000000000,
                                       100000000000000,
                                       1000000000000000,
                                       10000000000000000,
                                       100000000000000000,
                                       1000000000000000000};
constexpr int kPotenciaMaxima = 18;
constexpr double kLimite = 9007199254740992.0;  // 2^53

double Potencia(int escala) {
  return static_cast<double>(kPotencias[escala < 0 ? 0 : escala > kPotenciaMaxima ? kPotenciaMaxima : escala]);
}

}  // namespace

std::optional<std::int64_t> Unidades(double valor, int escala) {
  if (escala < 0 || escala > kEscalaMaxima || !std::isfinite(valor)) return std::nullopt;
  const double factor = Potencia(escala);
  const double p = valor * factor;
  if (!(std::fabs(p) < kLimite)) return std::nullopt;
  // valor × factor is p + resto exactly; the rounding looks at both, so a real just below or
  // above a half is not taken for the half that p alone would show.
  const double resto = std::fma(valor, factor, -p);
  double r = std::nearbyint(p);  // the default mode: halves to even
  const double fraccion = (p - r) + resto;
  if (fraccion > 0.5) r += 1;
  else if (fraccion < -0.5) r -= 1;
  return static_cast<std::int64_t>(r);
}

double RealDeUnidades(std::int64_t unidades, int escala) {
  // Below 2^53 both are exact, so the one division rounds once, to the nearest real.
  return static_cast<double>(unidades) / Potencia(escala);
}

double CocienteDeUnidades(std::int64_t unidades, int escala, std::int64_t divisor) {
  return static_cast<double>(unidades) / (static_cast<double>(divisor) * Potencia(escala));
}

bool CambiaEscala(std::int64_t& unidades, int desde, int hasta) {
  if (desde < 0 || hasta < 0) return false;
  if (hasta == desde) return true;
  if (hasta > desde) {
    if (hasta - desde > kPotenciaMaxima) return unidades == 0;
    return !__builtin_mul_overflow(unidades, kPotencias[hasta - desde], &unidades);
  }
  if (desde - hasta > kPotenciaMaxima) {
    unidades = 0;
    return true;
  }
  const std::int64_t divisor = kPotencias[desde - hasta];
  std::int64_t cociente = unidades / divisor;
  const std::int64_t resto = unidades % divisor;  // same sign as unidades
  // |resto| against divisor / 2, without halving: against what is left to the next unit.
  const std::int64_t absoluto = resto < 0 ? -resto : resto;
  const std::int64_t falta = divisor - absoluto;
  if (absoluto > falta || (absoluto == falta && cociente % 2 != 0)) cociente += unidades < 0 ? -1 : 1;
  unidades = cociente;
  return true;
}

}  // namespace qavi::jet
