#pragma once
// Rewrite pass: derived tables replaced by tables that already hold their rows.
//
// Innermost first, each derived table in FROM is written out and offered to a materializer, which
// may answer with the name of a table holding the same rows in the same order (computing it now,
// or having done so for an earlier statement with the same text); the derived table then becomes
// a reference to that table under the same alias.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "db/jet/sql/ArbolJet.h"

namespace qavi::jet {

struct TDerivadaOfrecida {
  // The SQLite text of the derived table, with the tables already kept inside it.
  const std::string& sql;
  // Every branch only filters and renames the columns of a single source, which costs no more to
  // read again than a copy would.
  bool trivial = false;
  // The table's text with nothing inside it kept: the same identity names the same rows in any
  // statement (DerivadasLeidas gives them ahead of time).
  const std::string& identidad;
};

class IMaterializador {
 public:
  virtual ~IMaterializador() = default;
  // The name of a table with the rows of the offered derived table in the same order, or nothing
  // to keep it inline.
  virtual std::optional<std::string> Materializa(const TDerivadaOfrecida& derivada) = 0;
  // The table already holding the rows of the derived table of that identity, if any: asked
  // outermost first, so what is inside a kept table is neither offered nor computed again.
  virtual std::optional<std::string> Guardada(const std::string& identidad) = 0;
};

void ReutilizaDerivadas(arbol::TSentencia& sentencia, IMaterializador& materializador);

// A derived table of a statement as the pass would offer it.
struct TDerivadaLeida {
  std::string identidad;
  bool trivial = false;
  // The derived table it is written in (its index in the statement's list); none when the
  // statement reads it itself.
  std::optional<std::size_t> dentro;
};
// Every derived table of the statement, innermost first.
std::vector<TDerivadaLeida> DerivadasLeidas(arbol::TSentencia& sentencia);

}  // namespace qavi::jet
