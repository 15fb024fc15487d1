#pragma once
// The questionnaire's pages as printed: template page, questions and section headings.
#include <string>
#include <vector>

namespace qavi::prueba {

struct PaginaEsperada {
  std::string nombre;
  int desde = 0;  // first and last question; 0 on the notes page
  int hasta = 0;
  std::vector<std::string> titulos;
};

inline const std::string kDocC =
    "Operaciones de compra de documentos a la vista denominados y pagaderos en moneda extranjera a "
    "cargo de entidades financieras";
inline const std::string kDocV =
    "Operaciones de venta de documentos a la vista denominados y pagaderos en moneda extranjera a "
    "cargo de entidades financieras";

inline const std::vector<PaginaEsperada>& PaginasEsperadas() {
  const std::string ig = "Información General";
  const std::string usdc = "Operaciones de Compra de dólares americanos, Información General (cont.)";
  const std::string otrc = "Operaciones de Compra de otras divisas, Información General (cont.)";
  const std::string usdv = "Operaciones de Venta de dólares americanos, Información General (cont.)";
  const std::string otrv = "Operaciones de venta de otras divisas, Información General (cont.)";
  static const std::vector<PaginaEsperada> t = {
      {"Pagina_0", 0, 0, {}},
      {"Pagina_1", 1, 6, {ig}},
      {"Pagina_2", 7, 16, {"Información General (cont.)", "Operaciones con Entidades Financieras Nacionales"}},
      {"Pagina_3", 17, 26,
       {"Operación con Entidades Financieras Nacionales (cont.)", "Operación con Entidades Financieras Extranjeras"}},
      {"Pagina_4", 27, 34,
       {"Operación con Entidades Financieras Extrajeras (cont.)", "Operaciones de Compra de dólares americanos ", ig}},
      {"Pagina_5", 35, 44, {usdc}},
      {"Pagina_6", 45, 55, {usdc}},
      {"Pagina_7", 56, 64, {usdc, "Operaciones de Compra de otras dividas", ig}},
      {"Pagina_8", 65, 74, {otrc}},
      {"Pagina_9", 75, 85, {otrc}},
      {"Pagina_10", 86, 94, {otrc, "Operaciones de venta de dólares americanos", ig}},
      {"Pagina_11", 95, 105, {usdv}},
      {"Pagina_12", 106, 116, {usdv}},
      {"Pagina_13", 117, 126, {usdv, "Operaciones de venta de otras divisas. ", ig}},
      {"Pagina_14", 127, 137, {otrv}},
      {"Pagina_15", 138, 144, {otrv}},
      {"Pagina_16", 145, 153, {otrv, kDocC, ig}},
      {"Pagina_17", 154, 164, {kDocC + " (cont.)"}},
      {"Pagina_19", 165, 175, {kDocC + " (cont.)"}},
      {"Pagina_20", 176, 183, {kDocC + " (cont.)", kDocV, ig}},
      {"Pagina_21", 184, 191, {kDocV + " (cont.)"}},
  };
  return t;
}

}  // namespace qavi::prueba
