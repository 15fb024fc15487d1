#pragma once
// Jet's text rules as plain functions: upper/lower case for UTF-8 (accented letters too),
// the case-insensitive comparison behind the collation, LIKE matching, ROUND and STR.
// The registered SQLite functions are thin wrappers over these.
#include <cstdint>
#include <string>
#include <string_view>

namespace qavi::jet {

std::string MayusculasJet(std::string_view texto);  // UCASE
std::string MinusculasJet(std::string_view texto);  // LCASE

// Key of an object name (table, column, alias) as Jet compares names: without regard to letter
// case, accented letters included ('Año' and 'AÑO' are one name). Equal keys, same name.
std::string ClaveNombreJet(std::string_view nombre);
bool MismoNombreJet(std::string_view a, std::string_view b);

// <0, 0, >0. Equal when the texts differ only in letter case ('josé' = 'JOSÉ');
// accented letters sort right after their base letter ('e' < 'é' < 'f').
int ComparaTextoJet(std::string_view a, std::string_view b);

// LIKE with % (any run), _ (one character) and [abc], [a-z], [!abc]; ignores letter case.
bool CoincideLikeJet(std::string_view texto, std::string_view patron);

// Halves go to the even neighbour at the given number of decimals (0..15).
double RedondeaJet(double valor, int decimales = 0);

// STR: the number's text with a leading blank when it is not negative.
std::string StrJet(double valor);
std::string StrJet(std::int64_t valor);

}  // namespace qavi::jet
