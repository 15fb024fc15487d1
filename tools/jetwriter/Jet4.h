#pragma once
// Building blocks of the Jet 4 file layout: pages, text encoding, header obfuscation.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace qavi::tools::jet4 {

constexpr int kTamPagina = 4096;
constexpr int kCabeceraDatos = 14;  // type, flag, free space, owner, unknown, row count
constexpr int kMaxFila = kTamPagina - kCabeceraDatos - 2;
constexpr std::uint16_t kFilaBorrada = 0x8000;
constexpr std::uint16_t kFilaDesbordada = 0x4000;

using TPagina = std::array<std::uint8_t, kTamPagina>;

inline void Pon16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Pon32(std::uint8_t* p, std::uint32_t v) {
  Pon16(p, v & 0xFFFF);
  Pon16(p + 2, v >> 16);
}
inline void Pon64(std::uint8_t* p, std::uint64_t v) {
  Pon32(p, static_cast<std::uint32_t>(v));
  Pon32(p + 4, static_cast<std::uint32_t>(v >> 32));
}
inline void PonDoble(std::uint8_t* p, double v) {
  std::uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  Pon64(p, b);
}

// UTF-8 to UTF-16 code units; a byte that starts no valid sequence stands for itself (as Latin-1),
// as the rest of the program reads such text.
std::u16string Utf8AUtf16(std::string_view texto);

// Stored form of a text value: the Jet 4 compressed form (FF FE, then one byte per Latin-1
// character) when compression is allowed and it is shorter, otherwise plain UCS-2 little-endian.
void CodificaTexto(const std::u16string& texto, bool comprime, std::vector<std::uint8_t>& salida);

// RC4 applied in place; Jet 4 hides part of the header page this way.
void Rc4(const std::uint8_t* clave, int largoClave, std::uint8_t* datos, int largo);

// Header page (page 0) of a Jet 4 file without page encryption.
TPagina PaginaCabecera(const std::u16string& password, double fechaCreacion);

// A data or long-value page being filled: rows grow from the end of the page towards the header.
class TPaginaDatos {
 public:
  void Inicia(std::uint32_t duenio);  // owner: table definition page
  void IniciaLval();                  // owner field holds "LVAL"
  // Row numbers travel in one byte of a page/row pointer, hence at most 255 rows.
  bool Cabe(std::size_t largo) const { return filas_ < 255 && largo + 2 <= static_cast<std::size_t>(libre_); }
  // Appends a row that fits; returns its row number on the page. `banderas` go into its slot
  // (0x8000 deleted, 0x4000 moved to the page/row its first four bytes name).
  int Agrega(const std::uint8_t* fila, std::size_t largo, std::uint16_t banderas = 0);
  int Filas() const { return filas_; }
  const TPagina& Bytes() const { return pagina_; }

 private:
  TPagina pagina_{};
  int filas_ = 0;
  int inicio_ = kTamPagina;  // offset of the lowest row so far
  int libre_ = 0;
};

}  // namespace qavi::tools::jet4
