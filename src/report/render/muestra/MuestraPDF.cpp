// Writes the questionnaire PDF with made-up answers, to look at the pages without a database.
//   qavi-pdf-muestra SALIDA.pdf [--largas]
// --largas fills every answer with a long text, to see how a crowded page still fits.
#include <QApplication>
#include <cstring>
#include <iostream>
#include <set>

#include "common/CitaSQL.h"
#include "report/VariablesReporte.h"
#include "report/render/ExportaPDF.h"

namespace {

std::string RespuestaDeMuestra(int n) {
  static const std::set<int> siNo = {33, 62, 91, 120, 149, 180};
  static const std::set<int> nombres = {150, 151, 181, 182};
  if (n == 1 || (n >= 3 && n <= 32)) return "(** El CC debe responder **)";
  if (n == 2) return "Respuesta: COMERCIO AL POR MENOR (** Total Ops.:  125 **) ";
  if (siNo.count(n)) return "Respuesta: SI";
  if (nombres.count(n)) return "Respuesta: DÓLAR AMERICANO (** Total Ops.:  14 **) ";
  return "Respuesta: " + std::to_string((n * 7919) % 100000);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "Uso: qavi-pdf-muestra SALIDA.pdf [--largas]\n";
    return 2;
  }
  const bool largas = argc > 2 && std::strcmp(argv[2], "--largas") == 0;
  QApplication app(argc, argv);
  qavi::TVariablesReporte v;
  v.AsignaVariable("Cuestionario", "NombreCC", qavi::CitaTextoSQL("CASA DE CAMBIO EL PASO DEL NORTE, S.A. DE C.V."));
  for (int n = 1; n <= 191; ++n) {
    std::string r = RespuestaDeMuestra(n);
    if (largas)
      for (int k = 0; k < 4; ++k) r += " RESPUESTA ESCRITA A MANO POR EL CENTRO CAMBIARIO, MÁS LARGA DE LO USUAL.";
    v.AsignaVariable("Cuestionario", "preg_" + std::to_string(n), qavi::CitaTextoSQL(r));
  }
  std::string error;
  if (!qavi::GeneraPDF(v, argv[1], error)) {
    std::cerr << error << "\n";
    return 1;
  }
  std::cout << argv[1] << "\n";
  return 0;
}
