#pragma once
// Numbers as text the way a variant-to-text conversion writes them, whatever the regional settings.
#include <cstdint>
#include <string>

namespace qavi {

// Integers in plain decimal; reals in the shortest form of up to 15 significant digits, no trailing
// ".0", always with a point, exponents as E+NN.
std::string FormatoNumero(double valor);
std::string FormatoNumero(std::int64_t valor);

}  // namespace qavi
