#pragma once
// Jet's functions, collation and LIKE registered on a SQLite connection.
struct sqlite3;

namespace qavi::jet {

// Collation used by every loaded text column and by translated comparisons:
// case-insensitive for ASCII and accented letters ('josé' = 'JOSÉ').
inline constexpr const char* kColacionJet = "JETNOCASE";

// Registers the collation, LIKE (case-insensitive, accents included; replaces SQLite's like())
// and the scalar functions the translator emits: jet_suma (Jet's +, any number of operands),
// jet_concat (&), jet_div (/), jet_round, jet_str, jet_ucase, jet_lcase. Also turns off SQLite's
// double-quoted-string fallback, so a misspelt "Name" is an error and not a text. Also registers
// the module of tables kept in memory (TablaMemoria.h).
// Returns false if SQLite refused one.
bool RegistraFunciones(sqlite3* db);

}  // namespace qavi::jet
