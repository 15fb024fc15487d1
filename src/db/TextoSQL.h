#pragma once
// Text placed between single quotes in a statement: every apostrophe doubled, so any text is
// compared literally. Text without apostrophes is unchanged.
#include <string>

namespace qavi {

inline std::string TextoSQL(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r;
}

}  // namespace qavi
