#pragma once
// Small text helpers shared by the core: trimming and ASCII letter case.
#include <algorithm>
#include <string>
#include <string_view>

namespace qavi {

// Leading and trailing blanks and control characters removed.
inline std::string RecortaBlancos(std::string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
  return std::string(s.substr(a, b - a));
}

inline std::string MinusculasAscii(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : static_cast<char>(c); });
  return s;
}

inline std::string MayusculasAscii(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : static_cast<char>(c); });
  return s;
}

// Names (sections, keys, columns, providers) compared without regard to ASCII letter case.
inline bool IgualSinCasoAscii(std::string_view a, std::string_view b) {
  const auto minuscula = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](unsigned char x, unsigned char y) {
           return minuscula(x) == minuscula(y);
         });
}

}  // namespace qavi
