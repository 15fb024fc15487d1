#pragma once
// Jet's functions, one row each: what the parser admits, what type the translator knows the result
// to be, how it is written in SQLite and, where SQLite has no equivalent, the implementation
// registered on the connection. Adding a function is adding a row. Also the collation and LIKE.
#include <span>
#include <string_view>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_value;

namespace qavi::jet {

// Collation used by every loaded text column and by translated comparisons:
// case-insensitive for ASCII and accented letters ('josé' = 'JOSÉ').
inline constexpr const char* kColacionJet = "JETNOCASE";

using TImplementacionSqlite = void (*)(sqlite3_context*, int, sqlite3_value**);
using TFinAgregadoSqlite = void (*)(sqlite3_context*);

// What the translator knows of a result's type without a schema.
enum class TResultadoFuncionJet {
  Numero,
  Texto,
  ComoPrimero,  // the type of its first argument (MIN, MAX)
  ComoRamas,    // the type both value arguments share, if they do (IIF)
};

struct TFuncionJet {
  // As Jet spells it, in capitals. Rows in lower case are the engine's own, written only by its
  // rewrite passes (exact Currency and Decimal arithmetic): the parser, which looks names up in
  // capitals, never admits them.
  std::string_view nombre;
  int minimo = 1, maximo = 1;  // arguments
  TResultadoFuncionJet resultado = TResultadoFuncionJet::Numero;
  // A condition (true/false) rather than a value: ISNULL.
  bool condicion = false;
  // The SQLite text. $0..$9: an argument's value; $C0: the first argument keeping the Jet
  // collation when a computed text would have lost it; $?0: the first argument as a condition;
  // $I0: the first argument as the operand of IS; $*: every argument, comma-separated.
  std::string_view sqlite;
  // Registered under `registro` for each number of arguments; null where SQLite's own serves.
  std::string_view registro = {};
  TImplementacionSqlite implementacion = nullptr;
  // An aggregate: registered with its step and its end instead of `implementacion`.
  TImplementacionSqlite paso = nullptr;
  TFinAgregadoSqlite fin = nullptr;
};

std::span<const TFuncionJet> FuncionesJet();
// The row of a name given in capitals, or null.
const TFuncionJet* BuscaFuncionJet(std::string_view nombre);

// Registers on the connection the collation, LIKE (case-insensitive, accents included; replaces
// SQLite's like()), the implementations of the table (the engine's exact functions among them)
// and of the operators the translator writes as functions: jet_suma (Jet's +, any number of
// operands), jet_concat (&), jet_div (/). Also
// turns off SQLite's double-quoted-string fallback, so a misspelt "Name" is an error and not a
// text. False if SQLite refused one.
bool RegistraFunciones(sqlite3* db);

}  // namespace qavi::jet
