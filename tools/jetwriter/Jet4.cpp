#include "jetwriter/Jet4.h"

#include <cmath>

#include "common/Utf8.h"

namespace qavi::tools::jet4 {

std::u16string Utf8AUtf16(std::string_view texto) {
  std::u16string r;
  r.reserve(texto.size());
  for (std::size_t i = 0; i < texto.size();) {
    char32_t cp = SiguienteCodigoUtf8(texto, i);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      r.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      r.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      r.push_back(static_cast<char16_t>(cp));
    }
  }
  return r;
}

void CodificaTexto(const std::u16string& texto, bool comprime, std::vector<std::uint8_t>& salida) {
  salida.clear();
  // A zero byte switches modes in the compressed form, so a unit whose low byte is zero cannot appear.
  bool comprimible = comprime && !texto.empty();
  for (char16_t u : texto) {
    if ((u & 0xFF) == 0) {
      comprimible = false;
      break;
    }
  }
  if (comprimible) {
    salida.push_back(0xFF);
    salida.push_back(0xFE);
    bool modoCorto = true;
    for (char16_t u : texto) {
      if (u <= 0xFF) {
        if (!modoCorto) {
          salida.push_back(0);
          modoCorto = true;
        }
        salida.push_back(static_cast<std::uint8_t>(u));
      } else {
        if (modoCorto) {
          salida.push_back(0);
          modoCorto = false;
        }
        salida.push_back(static_cast<std::uint8_t>(u & 0xFF));
        salida.push_back(static_cast<std::uint8_t>(u >> 8));
      }
    }
    if (salida.size() < texto.size() * 2) return;
    salida.clear();
  }
  salida.reserve(texto.size() * 2);
  for (char16_t u : texto) {
    salida.push_back(static_cast<std::uint8_t>(u & 0xFF));
    salida.push_back(static_cast<std::uint8_t>(u >> 8));
  }
}

void Rc4(const std::uint8_t* clave, int largoClave, std::uint8_t* datos, int largo) {
  std::uint8_t s[256];
  for (int i = 0; i < 256; ++i) s[i] = static_cast<std::uint8_t>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + s[i] + clave[i % largoClave]) & 0xFF;
    std::swap(s[i], s[j]);
  }
  for (int k = 0, i = 0, j = 0; k < largo; ++k) {
    i = (i + 1) & 0xFF;
    j = (j + s[i]) & 0xFF;
    std::swap(s[i], s[j]);
    datos[k] ^= s[(s[i] + s[j]) & 0xFF];
  }
}

TPagina PaginaCabecera(const std::u16string& password, double fechaCreacion) {
  TPagina p{};
  p[1] = 0x01;
  static constexpr char kFirma[] = "Standard Jet DB";
  std::memcpy(&p[4], kFirma, sizeof kFirma);
  p[0x14] = 0x01;  // Jet 4
  Pon16(&p[0x3C], 0x04E4);  // code page 1252
  Pon32(&p[0x3E], 0);       // database key 0: pages are not encrypted
  // The password (UCS-2, up to 20 characters) is masked with the whole part of the creation date.
  std::uint8_t mascara[4];
  Pon32(mascara, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::trunc(fechaCreacion))));
  for (int i = 0; i < 40; ++i) {
    const std::size_t u = static_cast<std::size_t>(i / 2);
    std::uint8_t b = 0;
    if (u < password.size()) b = static_cast<std::uint8_t>(i % 2 == 0 ? password[u] & 0xFF : password[u] >> 8);
    p[0x42 + i] = b ^ mascara[i % 4];
  }
  Pon32(&p[0x6E], 0x0409);  // collation: General
  PonDoble(&p[0x72], fechaCreacion);
  static constexpr std::uint8_t kClave[] = {0xC7, 0xDA, 0x39, 0x6B};
  Rc4(kClave, 4, &p[0x18], 128);
  return p;
}

void TPaginaDatos::Inicia(std::uint32_t duenio) {
  pagina_.fill(0);
  pagina_[0] = 0x01;
  pagina_[1] = 0x01;
  Pon32(&pagina_[4], duenio);
  filas_ = 0;
  inicio_ = kTamPagina;
  libre_ = kTamPagina - kCabeceraDatos;
  Pon16(&pagina_[2], static_cast<std::uint32_t>(libre_));
}

void TPaginaDatos::IniciaLval() {
  Inicia(0);
  std::memcpy(&pagina_[4], "LVAL", 4);
}

int TPaginaDatos::Agrega(const std::uint8_t* fila, std::size_t largo, std::uint16_t banderas) {
  inicio_ -= static_cast<int>(largo);
  std::memcpy(&pagina_[static_cast<std::size_t>(inicio_)], fila, largo);
  Pon16(&pagina_[static_cast<std::size_t>(kCabeceraDatos + 2 * filas_)], static_cast<std::uint32_t>(inicio_) | banderas);
  ++filas_;
  Pon16(&pagina_[12], static_cast<std::uint32_t>(filas_));
  libre_ -= static_cast<int>(largo) + 2;
  Pon16(&pagina_[2], static_cast<std::uint32_t>(libre_));
  return filas_ - 1;
}

}  // namespace qavi::tools::jet4
