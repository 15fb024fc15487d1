#include "db/jet/sql/FechaJet.h"

#include <cctype>
#include <string>
#include <vector>

#include "common/Texto.h"

namespace qavi::jet {
namespace {

long long DiasDesdeEpoca(int y, unsigned m, unsigned d) {  // days since 1970-01-01, proleptic Gregorian
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

bool EsBisiesto(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DiasDelMes(int y, int m) {
  static const int kDias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && EsBisiesto(y) ? 29 : kDias[m - 1];
}

// Splits into numbers and words; separators are kept as one-character pieces.
struct TPieza {
  enum class Clase { Numero, Palabra, Separador } clase;
  std::string texto;
};

bool Trocea(std::string_view s, std::vector<TPieza>& piezas) {
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == ' ' || c == '\t') { ++i; continue; }
    if (std::isdigit(c)) {
      std::size_t j = i;
      while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
      if (j - i > 4) return false;
      piezas.push_back({TPieza::Clase::Numero, std::string(s.substr(i, j - i))});
      i = j;
    } else if (std::isalpha(c)) {
      std::size_t j = i;
      while (j < s.size() && std::isalpha(static_cast<unsigned char>(s[j]))) ++j;
      piezas.push_back({TPieza::Clase::Palabra, MayusculasAscii(std::string(s.substr(i, j - i)))});
      i = j;
    } else if (c == '/' || c == '-' || c == ':') {
      piezas.push_back({TPieza::Clase::Separador, std::string(1, static_cast<char>(c))});
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

double NumeroOle(int anio, int mes, int dia, int hora, int minuto, int segundo) {
  static const long long kBase = DiasDesdeEpoca(1899, 12, 30);
  const long long dias = DiasDesdeEpoca(anio, static_cast<unsigned>(mes), static_cast<unsigned>(dia)) - kBase;
  const double fraccion = (hora * 3600.0 + minuto * 60.0 + segundo) / 86400.0;
  // Before the base day the OLE number keeps the time as a positive part of a negative day.
  return dias >= 0 ? static_cast<double>(dias) + fraccion : static_cast<double>(dias) - fraccion;
}

bool FechaOle(std::string_view texto, double& valor) {
  std::vector<TPieza> p;
  if (!Trocea(texto, p) || p.empty()) return false;
  std::size_t i = 0;
  auto esNumero = [&](std::size_t k) { return k < p.size() && p[k].clase == TPieza::Clase::Numero; };
  auto esSep = [&](std::size_t k, char c) { return k < p.size() && p[k].clase == TPieza::Clase::Separador && p[k].texto[0] == c; };

  bool hayFecha = false;
  int anio = 1899, mes = 12, dia = 30;
  // Date part: number sep number sep number, sep being '/' or '-' (the same twice).
  if (esNumero(0) && (esSep(1, '/') || esSep(1, '-'))) {
    const char sep = p[1].texto[0];
    if (!esNumero(2) || !esSep(3, sep) || !esNumero(4)) return false;
    const std::string& a = p[0].texto;
    const int n0 = std::stoi(a), n1 = std::stoi(p[2].texto), n2 = std::stoi(p[4].texto);
    if (a.size() == 4) {  // year first
      anio = n0; mes = n1; dia = n2;
      if (p[4].texto.size() > 2) return false;
    } else {  // month first, as Jet reads it
      if (a.size() > 2 || p[2].texto.size() > 2) return false;
      mes = n0; dia = n1; anio = n2;
      if (p[4].texto.size() <= 2) anio += anio < 30 ? 2000 : 1900;
      else if (p[4].texto.size() != 4) return false;
    }
    if (anio < 100 || anio > 9999 || mes < 1 || mes > 12 || dia < 1 || dia > DiasDelMes(anio, mes)) return false;
    hayFecha = true;
    i = 5;
  }

  int hora = 0, minuto = 0, segundo = 0;
  if (i < p.size()) {
    // Time part: h:nn[:ss] [AM|PM]
    if (!esNumero(i) || !esSep(i + 1, ':') || !esNumero(i + 2)) return false;
    if (p[i].texto.size() > 2 || p[i + 2].texto.size() > 2) return false;
    hora = std::stoi(p[i].texto);
    minuto = std::stoi(p[i + 2].texto);
    i += 3;
    if (esSep(i, ':')) {
      if (!esNumero(i + 1) || p[i + 1].texto.size() > 2) return false;
      segundo = std::stoi(p[i + 1].texto);
      i += 2;
    }
    if (i < p.size() && p[i].clase == TPieza::Clase::Palabra && (p[i].texto == "AM" || p[i].texto == "PM")) {
      if (hora < 1 || hora > 12) return false;
      if (p[i].texto == "AM" && hora == 12) hora = 0;
      else if (p[i].texto == "PM" && hora != 12) hora += 12;
      ++i;
    }
    if (i != p.size() || hora > 23 || minuto > 59 || segundo > 59) return false;
  } else if (!hayFecha) {
    return false;
  }
  valor = NumeroOle(anio, mes, dia, hora, minuto, segundo);
  return true;
}

}  // namespace qavi::jet
