#pragma once
// Jet's functions, collation and LIKE registered on a SQLite connection.
struct sqlite3;

namespace qavi::jet {

// Collation used by every loaded text column and by translated comparisons:
// case-insensitive for ASCII and accented letters ('josé' = 'JOSÉ').
inline constexpr const char* kColacionJet = "JETNOCASE";

// Registers the collation, LIKE (case-insensitive, accents included) and the
// scalar functions the translator emits. Returns false if SQLite refused one.
bool RegistraFunciones(sqlite3* db);

}  // namespace qavi::jet
