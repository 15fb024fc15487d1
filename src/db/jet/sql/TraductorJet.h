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

// The SQL runs only on a connection prepared with RegistraFunciones (db/jet/JetFunciones.h):
// it calls jet_* functions, LIKE and the JETNOCASE collation, and relies on loaded text columns
// being declared COLLATE JETNOCASE. Columns keep Jet's names (unnamed expressions are Expr1000,
// Expr1001, ...). Never throws; bad input gives ok = false and a Spanish message with the position.
class IMaterializador;

// With a materializador, derived tables in FROM may be replaced by tables it already holds.
TTraduccion TraduceSQL(std::string_view sentenciaJet, IMaterializador* materializador = nullptr);

}  // namespace qavi::jet
