#pragma once
// Currency and Decimal arithmetic done exactly, as Jet does it, on the reals the loaded tables
// hold. A real that holds a value of `escala` decimals (the double nearest to it: how Currency
// and Decimal columns are loaded, and what the exact functions give back) tells that value
// again as a whole number of 10^-escala units, as long as it stays below 2^53 units. Beyond
// that a real no longer tells such values apart, and the callers compute in reals as before.
#include <cstdint>
#include <optional>

namespace qavi::jet {

// Decimals a value can carry and still be told exactly from its real.
inline constexpr int kEscalaMaxima = 15;

// The whole number of 10^-escala units nearest to `valor` (halves to even: how Jet turns a real
// into Currency); nothing when it is not finite, `escala` is out of 0..kEscalaMaxima or the units
// reach 2^53.
std::optional<std::int64_t> Unidades(double valor, int escala);

// The real nearest to unidades / 10^escala.
double RealDeUnidades(std::int64_t unidades, int escala);

// The real nearest to unidades / (divisor × 10^escala): a mean of exact values.
double CocienteDeUnidades(std::int64_t unidades, int escala, std::int64_t divisor);

// Units of `desde` decimals as units of `hasta` decimals: more decimals multiply (false when the
// result does not fit), fewer divide with halves to even (Jet's Round on Currency and Decimal).
bool CambiaEscala(std::int64_t& unidades, int desde, int hasta);

}  // namespace qavi::jet
