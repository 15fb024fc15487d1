#pragma once
// Minimal JSON text writing: strings escaped, UTF-8 kept as is.
#include <string>

namespace qavi {

inline std::string CadenaJson(const std::string& s) {
  std::string r = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': r += "\\\""; break;
      case '\\': r += "\\\\"; break;
      case '\n': r += "\\n"; break;
      case '\r': r += "\\r"; break;
      case '\t': r += "\\t"; break;
      default:
        if (c < 0x20) {
          static const char* kHex = "0123456789abcdef";
          r += "\\u00";
          r += kHex[c >> 4];
          r += kHex[c & 15];
        } else {
          r += static_cast<char>(c);
        }
    }
  }
  return r + "\"";
}

}  // namespace qavi
