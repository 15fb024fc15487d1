#pragma once
// UTF-8, the one encoding of text inside the program: writing a code point, reading one back,
// validating, counting and cutting by characters, and Jet's UTF-16 into UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace qavi {

// Appends `cp`; a surrogate or a value past U+10FFFF becomes U+FFFD.
void AgregaUtf8(std::string& destino, char32_t cp);

// The code point at byte `i`, moving `i` past it. A byte that does not start a valid sequence
// stands for itself (as Latin-1), so damaged text still compares and converts without losing bytes.
char32_t SiguienteCodigoUtf8(std::string_view s, std::size_t& i);

// True if `s` is entirely valid UTF-8 (no overlong forms, surrogates or values past U+10FFFF);
// otherwise `posicionByte` is the first bad byte.
bool EsUtf8Valido(std::string_view s, std::size_t& posicionByte);

inline bool EsContinuacionUtf8(unsigned char c) { return (c & 0xC0) == 0x80; }

// Characters that start in the first `bytes` bytes of `s`.
std::size_t CaracteresUtf8(std::string_view s, std::size_t bytes);

// The first `n` characters of `s` (all of it if shorter), never cutting one in two.
std::string_view PrefijoUtf8(std::string_view s, std::size_t n);

// UTF-16 code units to UTF-8: pairs of surrogates join, a lone one becomes U+FFFD, U+0000 is dropped.
class TUtf16aUtf8 {
 public:
  explicit TUtf16aUtf8(std::string& destino) : destino_(destino) {}
  ~TUtf16aUtf8() { Cierra(); }
  TUtf16aUtf8(const TUtf16aUtf8&) = delete;
  TUtf16aUtf8& operator=(const TUtf16aUtf8&) = delete;
  void Unidad(unsigned unidad);
  // A high surrogate still waiting for its pair becomes U+FFFD.
  void Cierra();

 private:
  std::string& destino_;
  unsigned alto_ = 0;
};

}  // namespace qavi
