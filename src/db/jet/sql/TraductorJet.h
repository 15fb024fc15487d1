#pragma once
// Jet SQL into SQLite SQL with Jet's semantics, in phases: the statement is parsed once into a
// tree with the tables it names (AnalizaJet); the engine may rewrite the tree with the passes
// (PasoTiposExactos.h, PasoPeriodos.h, PasoClavesNumericas.h, PasoDerivadas.h); the emitter writes the text
// (EmisorJet.h). A real grammar: tokenizer + recursive-descent parser; no regular expressions.
#include <set>
#include <string>
#include <string_view>

#include "db/jet/sql/ArbolJet.h"

namespace qavi::jet {

enum class TTipoSentencia { Seleccion, Borrado };

// The SQL runs only on a connection prepared with RegistraFunciones (db/jet/funciones/FuncionesJet.h):
// it calls jet_* functions, LIKE and the JETNOCASE collation, and relies on loaded text columns
// being declared COLLATE JETNOCASE. Columns keep Jet's names (unnamed expressions are Expr1000,
// Expr1001, ...). Never throws; bad input gives ok = false and a Spanish message with the position.

struct TAnalisisJet {
  bool ok = false;
  TTipoSentencia tipo = TTipoSentencia::Seleccion;
  arbol::TSentencia sentencia;
  std::set<std::string> tablas;  // base tables named in FROM / DELETE, each once, as first written
  std::string error;             // Spanish, readable, when !ok
};

TAnalisisJet AnalizaJet(std::string_view sentenciaJet);

struct TTraduccion {
  bool ok = false;
  TTipoSentencia tipo = TTipoSentencia::Seleccion;
  std::string sql;               // SQLite SQL, valid only when ok
  std::string error;             // Spanish, readable, when !ok
  std::set<std::string> tablas;  // as in TAnalisisJet
};

// The statement as written: parsed and emitted without any rewrite.
TTraduccion TraduceSQL(std::string_view sentenciaJet);

}  // namespace qavi::jet
