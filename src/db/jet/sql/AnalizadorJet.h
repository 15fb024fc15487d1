#pragma once
// Recursive-descent parser of the Jet SQL subset: tokens in, syntax tree out.
#include <set>
#include <string>
#include <vector>

#include "db/jet/sql/ArbolJet.h"
#include "db/jet/sql/LexicoJet.h"

namespace qavi::jet {

// Nesting limits: deeper input is refused with a message instead of exhausting the stack.
inline constexpr int kMaxAnidamiento = 200;

struct TResultadoAnalisis {
  bool ok = false;
  arbol::TSentencia sentencia;
  std::set<std::string> tablas;  // base tables named in FROM / DELETE, as written
  std::string error;             // Spanish, when !ok
};

TResultadoAnalisis AnalizaSentencia(const std::vector<TToken>& tokens);

}  // namespace qavi::jet
