#include "common/Utf8.h"

namespace qavi {

void AgregaUtf8(std::string& s, char32_t cp) {
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
  if (cp < 0x80) {
    s.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    s.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    s.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    s.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    s.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

char32_t SiguienteCodigoUtf8(std::string_view s, std::size_t& i) {
  const auto c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) {
    ++i;
    return c;
  }
  int resto = 0;
  char32_t cp = 0;
  if ((c & 0xE0) == 0xC0) {
    resto = 1;
    cp = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    resto = 2;
    cp = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    resto = 3;
    cp = c & 0x07;
  } else {
    ++i;
    return c;
  }
  if (i + resto >= s.size()) {  // cut short
    ++i;
    return c;
  }
  for (int k = 1; k <= resto; ++k) {
    const auto d = static_cast<unsigned char>(s[i + k]);
    if (!EsContinuacionUtf8(d)) {
      ++i;
      return c;
    }
    cp = (cp << 6) | (d & 0x3F);
  }
  i += resto + 1;
  return cp;
}

bool EsUtf8Valido(std::string_view s, std::size_t& posicionByte) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int resto = 0;
    char32_t cp = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      resto = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      resto = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      resto = 3;
      cp = c & 0x07;
    } else {
      posicionByte = i;
      return false;
    }
    if (i + resto >= s.size()) {
      posicionByte = i;
      return false;
    }
    for (int k = 1; k <= resto; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if (!EsContinuacionUtf8(d)) {
        posicionByte = i;
        return false;
      }
      cp = (cp << 6) | (d & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not text.
    if ((resto == 2 && cp < 0x800) || (resto == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      posicionByte = i;
      return false;
    }
    i += resto + 1;
  }
  return true;
}

std::size_t CaracteresUtf8(std::string_view s, std::size_t bytes) {
  if (bytes > s.size()) bytes = s.size();
  std::size_t n = 0;
  for (std::size_t k = 0; k < bytes; ++k)
    if (!EsContinuacionUtf8(static_cast<unsigned char>(s[k]))) ++n;
  return n;
}

std::string_view PrefijoUtf8(std::string_view s, std::size_t n) {
  std::size_t caracteres = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (EsContinuacionUtf8(static_cast<unsigned char>(s[i]))) continue;
    if (caracteres++ == n) return s.substr(0, i);
  }
  return s;
}

void TUtf16aUtf8::Unidad(unsigned u) {
  if (alto_) {
    if (u >= 0xDC00 && u <= 0xDFFF) {
      AgregaUtf8(destino_, 0x10000 + ((alto_ - 0xD800) << 10) + (u - 0xDC00));
      alto_ = 0;
      return;
    }
    AgregaUtf8(destino_, 0xFFFD);
    alto_ = 0;
  }
  if (u >= 0xD800 && u <= 0xDBFF) {
    alto_ = u;
  } else if (u >= 0xDC00 && u <= 0xDFFF) {
    AgregaUtf8(destino_, 0xFFFD);
  } else if (u != 0) {
    AgregaUtf8(destino_, u);
  }
}

void TUtf16aUtf8::Cierra() {
  if (alto_) AgregaUtf8(destino_, 0xFFFD);
  alto_ = 0;
}

}  // namespace qavi
