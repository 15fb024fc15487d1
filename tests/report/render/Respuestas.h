#pragma once
// Sample answers for the render tests: each answer carries a token "Qnnn" to find it on paper.
#include <cstdio>
#include <map>
#include <string>

#include "report/VariablesReporte.h"
#include "report/PlantillaReporte.h"

namespace qavi::prueba {

inline std::string Marca(int n) {
  char b[8];
  std::snprintf(b, sizeof b, "Q%03d", n);
  return b;
}

// Values stored the way the variable handler leaves them (single-line texts quoted, quotes doubled).
inline TVariablesReporte VariablesDeMuestra() {
  TVariablesReporte v;
  v.AsignaVariable("Cuestionario", "NombreCC", "'CASA DE CAMBIO EJEMPLO, S.A. DE C.V.'");
  for (int n = 1; n <= 191; ++n)
    v.AsignaVariable("Cuestionario", "preg_" + std::to_string(n), "'Respuesta: " + Marca(n) + " 1234'");
  v.AsignaVariable("Cuestionario", "preg_1", "'" + Marca(1) + " (** El CC debe responder **)'");
  v.AsignaVariable("Cuestionario", "preg_2", "'Respuesta: " + Marca(2) + " O''NEIL (** Total Ops.:  3 **) '");
  v.AsignaVariable("Cuestionario", "preg_3", "'Respuesta: " + Marca(3) + " [preg_4] <b>&amp;</b> ÁÉÍÓÚÑ'");
  v.AsignaVariable("Cuestionario", "preg_5", "Respuesta: " + Marca(5) + " línea uno\r\nlínea dos");
  v.AsignaVariable("Cuestionario", "preg_192", "'Q192 nunca se imprime'");
  return v;
}

// Question number -> its text, as the template has it.
inline std::map<int, std::string> TextosPreguntas(const TPlantillaReporte& plantilla) {
  std::map<int, std::string> r;
  for (size_t i = 1; i < plantilla.paginas.size(); ++i) {
    bool enSecciones = false;
    for (const auto& par : plantilla.paginas[i].cuerpo) {
      if (par.tramos.empty()) continue;
      if (par.tramos[0].bSubrayado) enSecciones = true;
      const auto& t = par.tramos[0].sTexto;
      if (!enSecciones || par.tramos.size() != 2 || t.empty() || t.back() != '.') continue;
      r[std::stoi(t)] = par.tramos[1].sTexto.substr(1);
    }
  }
  return r;
}

}  // namespace qavi::prueba
