#include "db/jet/sql/LexicoJet.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "db/jet/sql/FechaJet.h"
#include "common/Utf8.h"

namespace qavi::jet {
namespace {

bool EsInicioNombre(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool EsParteNombre(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }
bool EsDigito(unsigned char c) { return c >= '0' && c <= '9'; }

std::string Muestra(std::string_view s) {
  // A short excerpt for messages, without cutting a character in two.
  const std::string_view corto = PrefijoUtf8(s, 30);
  return std::string(corto) + (corto.size() < s.size() ? "..." : "");
}

class TLexico {
 public:
  explicit TLexico(std::string_view s) : s_(s) {}

  TResultadoLexico Ejecuta() {
    TResultadoLexico r;
    while (true) {
      SaltaBlancos();
      if (i_ >= s_.size()) break;
      TToken t;
      t.posicion = Posicion(i_);
      const unsigned char c = static_cast<unsigned char>(s_[i_]);
      if (EsInicioNombre(c)) {
        const std::size_t ini = i_;
        while (i_ < s_.size() && EsParteNombre(static_cast<unsigned char>(s_[i_]))) ++i_;
        t.tipo = TTipoToken::Nombre;
        t.texto = std::string(s_.substr(ini, i_ - ini));
      } else if (EsDigito(c) || (c == '.' && i_ + 1 < s_.size() && EsDigito(static_cast<unsigned char>(s_[i_ + 1])))) {
        if (!LeeNumero(t, r)) return r;
      } else if (c == '\'' || c == '"') {
        if (!LeeTexto(t, static_cast<char>(c), r)) return r;
      } else if (c == '[') {
        const std::size_t fin = s_.find(']', i_ + 1);
        if (fin == std::string_view::npos) {
          r.error = ConPosicion("Nombre entre corchetes sin cerrar: falta ']'", t.posicion);
          return r;
        }
        t.tipo = TTipoToken::Corchetes;
        t.texto = std::string(s_.substr(i_ + 1, fin - i_ - 1));
        if (t.texto.empty()) {
          r.error = ConPosicion("Nombre vacío entre corchetes", t.posicion);
          return r;
        }
        i_ = fin + 1;
      } else if (c == '#') {
        const std::size_t fin = s_.find('#', i_ + 1);
        if (fin == std::string_view::npos) {
          r.error = ConPosicion("Fecha sin cerrar: falta '#'", t.posicion);
          return r;
        }
        const std::string_view dentro = s_.substr(i_ + 1, fin - i_ - 1);
        if (!FechaOle(dentro, t.fecha)) {
          r.error = ConPosicion("Fecha no válida '#" + Muestra(dentro) + "#'", t.posicion);
          return r;
        }
        t.tipo = TTipoToken::Fecha;
        t.texto = std::string(s_.substr(i_, fin - i_ + 1));
        i_ = fin + 1;
      } else if (!LeeSimbolo(t)) {
        r.error = ConPosicion("Carácter no válido '" + Muestra(s_.substr(i_, 1)) + "'", t.posicion);
        return r;
      }
      r.tokens.push_back(std::move(t));
    }
    TToken fin;
    fin.posicion = Posicion(s_.size());
    r.tokens.push_back(fin);
    r.ok = true;
    return r;
  }

 private:
  std::size_t Posicion(std::size_t byte) {
    // Characters are counted once, moving forward only.
    while (cuentaHasta_ < byte) {
      if (!EsContinuacionUtf8(static_cast<unsigned char>(s_[cuentaHasta_]))) ++caracteres_;
      ++cuentaHasta_;
    }
    return caracteres_ + 1;
  }

  void SaltaBlancos() {
    while (i_ < s_.size()) {
      const char c = s_[i_];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') ++i_;
      else break;
    }
  }

  bool LeeNumero(TToken& t, TResultadoLexico& r) {
    const std::size_t ini = i_;
    while (i_ < s_.size() && EsDigito(static_cast<unsigned char>(s_[i_]))) ++i_;
    if (i_ < s_.size() && s_[i_] == '.') {
      ++i_;
      while (i_ < s_.size() && EsDigito(static_cast<unsigned char>(s_[i_]))) ++i_;
    }
    if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
      std::size_t j = i_ + 1;
      if (j < s_.size() && (s_[j] == '+' || s_[j] == '-')) ++j;
      if (j < s_.size() && EsDigito(static_cast<unsigned char>(s_[j]))) {
        while (j < s_.size() && EsDigito(static_cast<unsigned char>(s_[j]))) ++j;
        i_ = j;
      }
    }
    t.tipo = TTipoToken::Numero;
    t.texto = std::string(s_.substr(ini, i_ - ini));
    if (!std::isfinite(std::strtod(t.texto.c_str(), nullptr))) {
      r.error = ConPosicion("Número fuera de rango '" + Muestra(t.texto) + "'", t.posicion);
      return false;
    }
    return true;
  }

  bool LeeTexto(TToken& t, char comilla, TResultadoLexico& r) {
    std::string valor;
    std::size_t j = i_ + 1;
    while (true) {
      if (j >= s_.size()) {
        r.error = ConPosicion("Texto sin cerrar: falta la comilla final", t.posicion);
        return false;
      }
      if (s_[j] == comilla) {
        if (j + 1 < s_.size() && s_[j + 1] == comilla) {
          valor += comilla;
          j += 2;
          continue;
        }
        break;
      }
      valor += s_[j++];
    }
    i_ = j + 1;
    t.tipo = TTipoToken::Texto;
    t.texto = std::move(valor);
    return true;
  }

  bool LeeSimbolo(TToken& t) {
    const char c = s_[i_];
    const char d = i_ + 1 < s_.size() ? s_[i_ + 1] : '\0';
    std::string simbolo;
    if ((c == '<' && (d == '>' || d == '=')) || (c == '>' && d == '=')) simbolo = {c, d};
    else if (std::string_view("(),.*+-/=<>&;").find(c) != std::string_view::npos) simbolo = std::string(1, c);
    else return false;
    t.tipo = TTipoToken::Simbolo;
    t.texto = simbolo;
    i_ += simbolo.size();
    return true;
  }

  std::string_view s_;
  std::size_t i_ = 0;
  std::size_t cuentaHasta_ = 0;
  std::size_t caracteres_ = 0;
};

}  // namespace

TResultadoLexico Tokeniza(std::string_view sentencia) {
  std::size_t malo = 0;
  if (!EsUtf8Valido(sentencia, malo)) {
    TResultadoLexico r;
    const std::size_t pos = CaracteresUtf8(sentencia, malo) + 1;
    r.error = ConPosicion("La sentencia contiene bytes que no son texto UTF-8 válido", pos);
    return r;
  }
  // A zero byte would cut the emitted SQL short when SQLite reads it.
  if (const auto cero = sentencia.find('\0'); cero != std::string_view::npos) {
    TResultadoLexico r;
    const std::size_t pos = CaracteresUtf8(sentencia, cero) + 1;
    r.error = ConPosicion("Carácter nulo no válido en la sentencia", pos);
    return r;
  }
  return TLexico(sentencia).Ejecuta();
}

}  // namespace qavi::jet
