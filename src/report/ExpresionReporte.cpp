#include "report/ExpresionReporte.h"

#include <cctype>

#include "common/Utf8.h"

namespace qavi {

namespace {

// Recursive descent over: expr = term { '+' term };  term = '(' expr ')' | piece { piece };
// piece = 'text' | #code.
class TAnalizador {
 public:
  explicit TAnalizador(const std::string& s) : s_(s) {}

  bool Todo(std::string& out) {
    SaltaBlancos();
    if (i_ == s_.size()) return true;  // empty expression: empty text
    if (!Expresion(out)) return false;
    SaltaBlancos();
    return i_ == s_.size();
  }

 private:
  void SaltaBlancos() {
    while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
  }

  bool Expresion(std::string& out) {
    if (!Termino(out)) return false;
    for (;;) {
      SaltaBlancos();
      if (i_ >= s_.size() || s_[i_] != '+') return true;
      ++i_;
      std::string otro;
      if (!Termino(otro)) return false;
      out += otro;
    }
  }

  bool Termino(std::string& out) {
    SaltaBlancos();
    if (i_ < s_.size() && s_[i_] == '(') {
      ++i_;
      if (++profundidad_ > 64) return false;
      if (!Expresion(out)) return false;
      --profundidad_;
      SaltaBlancos();
      if (i_ >= s_.size() || s_[i_] != ')') return false;
      ++i_;
      return true;
    }
    bool alguno = false;
    while (i_ < s_.size() && (s_[i_] == '\'' || s_[i_] == '#')) {
      if (!(s_[i_] == '\'' ? Literal(out) : Codigo(out))) return false;
      alguno = true;
    }
    return alguno;
  }

  bool Literal(std::string& out) {
    ++i_;  // opening quote
    for (;;) {
      if (i_ >= s_.size()) return false;
      if (s_[i_] == '\'') {
        if (i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
          out += '\'';
          i_ += 2;
          continue;
        }
        ++i_;
        return true;
      }
      out += s_[i_++];
    }
  }

  bool Codigo(std::string& out) {
    ++i_;  // '#'
    unsigned long cp = 0;
    size_t inicio = i_;
    while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) {
      cp = cp * 10 + static_cast<unsigned long>(s_[i_++] - '0');
      if (cp > 0xFFFF) return false;
    }
    if (i_ == inicio) return false;
    AgregaUtf8(out, static_cast<char32_t>(cp));
    return true;
  }

  const std::string& s_;
  size_t i_ = 0;
  int profundidad_ = 0;
};

}  // namespace

bool EvaluaExpresion(const std::string& sExpresion, std::string& sResultado) {
  std::string out;
  if (!TAnalizador(sExpresion).Todo(out)) return false;
  sResultado = std::move(out);
  return true;
}

std::string EvaluaValor(const std::string& sValorAlmacenado) {
  if (sValorAlmacenado.find("\r\n") != std::string::npos) return sValorAlmacenado;
  std::string resultado;
  if (EvaluaExpresion(sValorAlmacenado, resultado)) return resultado;
  const auto& v = sValorAlmacenado;
  if (v.size() >= 2 && v.front() == '\'' && v.back() == '\'') return v.substr(1, v.size() - 2);
  return v;
}

std::string EvaluaValor(const std::optional<std::string>& valor) {
  return valor ? EvaluaValor(*valor) : std::string();
}

}  // namespace qavi
