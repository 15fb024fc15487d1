#pragma once
// Splits a Jet SQL statement into tokens. Positions are 1-based and count characters.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qavi::jet {

enum class TTipoToken {
  Fin,
  Nombre,     // identifier or keyword, as written
  Corchetes,  // [name with blanks], brackets removed
  Numero,     // digits as written (integer, decimal or with exponent)
  Texto,      // 'text' or "text", quotes removed and doubled quotes undone
  Fecha,      // #...#, already turned into its OLE number
  Simbolo     // ( ) , . * + - / = <> < <= > >= & ;
};

struct TToken {
  TTipoToken tipo = TTipoToken::Fin;
  std::string texto;
  double fecha = 0.0;
  std::size_t posicion = 0;
};

struct TResultadoLexico {
  bool ok = false;
  std::vector<TToken> tokens;  // ends with a Fin token when ok
  std::string error;           // Spanish, when !ok
};

TResultadoLexico Tokeniza(std::string_view sentencia);

// A message of the translator with where it happened: "... (posición N)".
inline std::string ConPosicion(const std::string& mensaje, std::size_t posicion) {
  return mensaje + " (posición " + std::to_string(posicion) + ")";
}

}  // namespace qavi::jet
