#include "db/jet/texto/TextoJet.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "common/Texto.h"
#include "common/Utf8.h"
#include "common/FormatoNumero.h"

namespace qavi::jet {
namespace {

// Latin Extended-A: pairs are (even upper, odd lower) except these two runs.
bool ImparEsMayuscula(char32_t c) { return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E); }

char32_t MayusculaCp(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x131) return 'I';
    if (c == 0x17F) return 'S';
    if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x178) return c;
    if (ImparEsMayuscula(c)) return (c % 2 == 0) ? c - 1 : c;
    return (c % 2 == 1) ? c - 1 : c;
  }
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x3B1 && c <= 0x3C9) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

char32_t MinusculaCp(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130) return 'i';
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (ImparEsMayuscula(c)) return (c % 2 == 1) ? c + 1 : c;
    return (c % 2 == 0) ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

// One form per letter regardless of case (ı, İ, ſ and ς meet their plain letters).
char32_t PliegaCp(char32_t c) { return MinusculaCp(MayusculaCp(c)); }

// Sort weight: the base letter of an accented letter, so é sorts beside e.
char32_t BaseCp(char32_t f) {
  // '.' = no base letter; index = code point - 0xE0.
  static constexpr std::string_view kLatin1 = "aaaaaa.ceeeeiiii.nooooo.ouuuuy.y";
  // index = code point - 0x100.
  static constexpr std::string_view kLatinA =
      "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiii..jjkkkllllllllllnnnnnnnnnoooooo..rrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";
  if (f < 0xE0) return f;
  if (f <= 0xFF) return kLatin1[f - 0xE0] == '.' ? f : static_cast<char32_t>(kLatin1[f - 0xE0]);
  if (f >= 0x100 && f <= 0x17F) return kLatinA[f - 0x100] == '.' ? f : static_cast<char32_t>(kLatinA[f - 0x100]);
  return f;
}

template <class F>
std::string Transforma(std::string_view texto, F f) {
  std::string r;
  r.reserve(texto.size());
  std::size_t i = 0;
  while (i < texto.size()) {
    const auto c = static_cast<unsigned char>(texto[i]);
    if (c < 0x80) { r += static_cast<char>(f(c)); ++i; continue; }
    const std::size_t inicio = i;
    const char32_t cp = SiguienteCodigoUtf8(texto, i);
    const char32_t nuevo = i - inicio == 1 ? cp : f(cp);  // a damaged byte is no letter: kept as it was
    if (nuevo == cp) r.append(texto.substr(inicio, i - inicio));
    else AgregaUtf8(r, nuevo);
  }
  return r;
}

// One element of a LIKE pattern.
struct TElementoLike {
  enum class Clase { Literal, Uno, Muchos, Conjunto } clase = Clase::Literal;
  char32_t cp = 0;
  bool negado = false;
  std::vector<std::pair<char32_t, char32_t>> rangos;

  bool Acepta(char32_t c) const {
    switch (clase) {
      case Clase::Literal: return c == cp;
      case Clase::Uno: return true;
      case Clase::Muchos: return false;
      case Clase::Conjunto: {
        bool dentro = false;
        for (const auto& [desde, hasta] : rangos)
          if (c >= desde && c <= hasta) { dentro = true; break; }
        return dentro != negado;
      }
    }
    return false;
  }
};

std::vector<char32_t> Plegados(std::string_view s) {
  std::vector<char32_t> v;
  v.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) v.push_back(PliegaCp(SiguienteCodigoUtf8(s, i)));
  return v;
}

std::vector<TElementoLike> CompilaPatron(std::string_view patron) {
  const std::vector<char32_t> p = Plegados(patron);
  std::vector<TElementoLike> r;
  for (std::size_t i = 0; i < p.size(); ++i) {
    TElementoLike e;
    if (p[i] == '%') {
      if (!r.empty() && r.back().clase == TElementoLike::Clase::Muchos) continue;
      e.clase = TElementoLike::Clase::Muchos;
    } else if (p[i] == '_') {
      e.clase = TElementoLike::Clase::Uno;
    } else if (p[i] == '[') {
      std::size_t j = i + 1;
      bool negado = false;
      if (j < p.size() && (p[j] == '!' || p[j] == '^')) { negado = true; ++j; }
      std::size_t fin = j;
      while (fin < p.size() && p[fin] != ']') ++fin;
      if (fin >= p.size()) {  // no closing bracket: a plain '['
        e.cp = '[';
      } else {
        e.clase = TElementoLike::Clase::Conjunto;
        e.negado = negado;
        for (std::size_t k = j; k < fin; ++k) {
          if (k + 2 < fin && p[k + 1] == '-') {
            e.rangos.emplace_back(std::min(p[k], p[k + 2]), std::max(p[k], p[k + 2]));
            k += 2;
          } else {
            e.rangos.emplace_back(p[k], p[k]);
          }
        }
        i = fin;
        if (e.rangos.empty() && !negado) continue;  // "[]" matches the empty text
      }
    } else {
      e.cp = p[i];
    }
    r.push_back(std::move(e));
  }
  return r;
}

}  // namespace

std::string MayusculasJet(std::string_view texto) { return Transforma(texto, MayusculaCp); }
std::string MinusculasJet(std::string_view texto) { return Transforma(texto, MinusculaCp); }

std::string ClaveNombreJet(std::string_view nombre) { return Transforma(nombre, PliegaCp); }

bool MismoNombreJet(std::string_view a, std::string_view b) {
  return IgualSinCasoAscii(a, b) || ClaveNombreJet(a) == ClaveNombreJet(b);
}

int ComparaTextoJet(std::string_view a, std::string_view b) {
  // Identical leading bytes are identical characters (keys share long prefixes): skip them,
  // back to the start of a character should they end inside one.
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t comun = 0;
  while (comun + 8 <= n && std::memcmp(a.data() + comun, b.data() + comun, 8) == 0) comun += 8;
  while (comun < n && a[comun] == b[comun]) ++comun;
  const auto continua = [](std::string_view s, std::size_t k) {
    return k < s.size() && EsContinuacionUtf8(static_cast<unsigned char>(s[k]));
  };
  while (comun > 0 && (continua(a, comun) || continua(b, comun))) --comun;
  std::size_t i = comun, j = comun;
  int secundaria = 0;  // first difference in accents, used only if the letters tie
  while (i < a.size() && j < b.size()) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[j]);
    if (x < 0x80 && y < 0x80) {
      if (x != y) {
        const int lx = (x >= 'A' && x <= 'Z') ? x + 32 : x;
        const int ly = (y >= 'A' && y <= 'Z') ? y + 32 : y;
        if (lx != ly) return lx < ly ? -1 : 1;
      }
      ++i;
      ++j;
      continue;
    }
    const char32_t cx = PliegaCp(SiguienteCodigoUtf8(a, i));
    const char32_t cy = PliegaCp(SiguienteCodigoUtf8(b, j));
    const char32_t px = BaseCp(cx), py = BaseCp(cy);
    if (px != py) return px < py ? -1 : 1;
    if (secundaria == 0 && cx != cy) secundaria = cx < cy ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return secundaria;
}

bool CoincideLikeJet(std::string_view texto, std::string_view patron) {
  const std::vector<TElementoLike> p = CompilaPatron(patron);
  const std::vector<char32_t> t = Plegados(texto);
  constexpr std::size_t kNinguno = static_cast<std::size_t>(-1);
  std::size_t it = 0, ip = 0, comodin = kNinguno, desde = 0;
  while (it < t.size()) {
    if (ip < p.size() && p[ip].clase == TElementoLike::Clase::Muchos) {
      comodin = ip++;
      desde = it;
    } else if (ip < p.size() && p[ip].Acepta(t[it])) {
      ++ip;
      ++it;
    } else if (comodin != kNinguno) {
      ip = comodin + 1;
      it = ++desde;
    } else {
      return false;
    }
  }
  while (ip < p.size() && p[ip].clase == TElementoLike::Clase::Muchos) ++ip;
  return ip == p.size();
}

double RedondeaJet(double valor, int decimales) {
  if (!std::isfinite(valor)) return valor;
  if (decimales <= 0) return std::nearbyint(valor);  // default rounding mode: halves to even
  if (decimales > 15) decimales = 15;
  const double factor = std::pow(10.0, decimales);
  const double escalado = valor * factor;
  if (!std::isfinite(escalado)) return valor;
  return std::nearbyint(escalado) / factor;
}

std::string StrJet(double valor) { return (valor >= 0 ? " " : "") + FormatoNumero(valor); }
std::string StrJet(std::int64_t valor) { return (valor >= 0 ? " " : "") + FormatoNumero(valor); }

}  // namespace qavi::jet
