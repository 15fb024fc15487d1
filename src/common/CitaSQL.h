#pragma once
// Quoting for SQL text, in one place: a value between apostrophes and a name between double
// quotes, each with its own quote character doubled, so any text is read literally.
#include <string>
#include <string_view>

namespace qavi {

// Every apostrophe doubled, for text the caller puts between apostrophes itself (Jet statements
// are composed from stored pieces that hold the quotes). Text without apostrophes is unchanged.
inline std::string TextoSQL(std::string_view s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r;
}

// 'text' as a literal.
inline std::string CitaTextoSQL(std::string_view s) { return "'" + TextoSQL(s) + "'"; }

// "name" as an identifier.
inline std::string CitaNombreSQL(std::string_view nombre) {
  std::string r = "\"";
  for (char c : nombre) {
    if (c == '"') r += '"';
    r += c;
  }
  return r + "\"";
}

}  // namespace qavi
