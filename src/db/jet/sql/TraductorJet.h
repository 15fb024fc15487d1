#pragma once
// Turns one Jet SQL statement into SQLite SQL with Jet's semantics.
// A real grammar: tokenizer + recursive-descent parser + emitter; no regular expressions.
#include <set>
#include <string>
#include <string_view>

namespace qavi::jet {

enum class TTipoSentencia { Seleccion, Borrado };

struct TTraduccion {
  bool ok = false;
  TTipoSentencia tipo = TTipoSentencia::Seleccion;
  std::string sql;                 // SQLite SQL, valid only when ok
  std::string error;               // Spanish, readable, when !ok
  std::set<std::string> tablas;    // base tables named in FROM / DELETE, as written
};

TTraduccion TraduceSQL(std::string_view sentenciaJet);

}  // namespace qavi::jet
