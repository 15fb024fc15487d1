#include "report/PlantillaReporte.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "report/render/CargaPlantilla.h"
#include "report/render/TablaPaginas.h"

namespace qavi {
namespace {

using prueba::PaginasEsperadas;

// ---- Paragraph markup ----------------------------------------------------------------------

struct CasoParrafo {
  const char* nombre;
  const char* linea;
  TAlineacion alineacion;
  std::vector<TTramo> tramos;
};

class LeeParrafoTest : public ::testing::TestWithParam<CasoParrafo> {};

TEST_P(LeeParrafoTest, Marcas) {
  const auto p = LeeParrafo(GetParam().linea);
  EXPECT_EQ(p.alineacion, GetParam().alineacion);
  EXPECT_EQ(p.tramos, GetParam().tramos);
}

INSTANTIATE_TEST_SUITE_P(
    Plantilla, LeeParrafoTest,
    ::testing::Values(
        CasoParrafo{"Vacio", "", TAlineacion::Izquierda, {}},
        CasoParrafo{"Centrado", "{centro}**[NombreCC]**", TAlineacion::Centro, {{"[NombreCC]", true, false}}},
        CasoParrafo{"Derecha", "{derecha}Página [Page#] de 21", TAlineacion::Derecha,
                    {{"Página [Page#] de 21", false, false}}},
        CasoParrafo{"Pregunta", "**33.** ¿Realizó?", TAlineacion::Izquierda,
                    {{"33.", true, false}, {" ¿Realizó?", false, false}}},
        CasoParrafo{"TituloConBlancoFinal", "**__Compra de dólares __**", TAlineacion::Izquierda,
                    {{"Compra de dólares ", true, true}}},
        CasoParrafo{"SinCerrar", "**abierta", TAlineacion::Izquierda, {{"abierta", true, false}}},
        CasoParrafo{"MarcasSueltas", "a_b*c", TAlineacion::Izquierda, {{"a_b*c", false, false}}}),
    [](const auto& info) { return std::string(info.param.nombre); });

// ---- Reading the files ---------------------------------------------------------------------

class LeePlantillaTest : public ::testing::Test {
 protected:
  std::map<std::string, std::string> archivos{
      {"Reporte.txt",
       "# ajustes\nmargenes = 10 10 10 10\nmarco = 1 1 194 252\nfuente = Times New Roman 11\n"
       "pie_marco = 0 253.4 195 5\npie_fuente = Times New Roman 10\npie = {derecha}Página [Page#] de 2\n"
       "paginas = Pagina_0 Pagina_2\n"},
      {"Pagina_0.txt", "marco = 3.95 68 188 117\nfuente = Tahoma 24\ncolor = 128 0 0\n---\nNOTA\n\n"},
      {"Pagina_2.txt", "---\r\n**1.** Uno\r\n\r\n# no es comentario\r\n"},
  };
  TLectorPlantilla Lector() {
    return [this](const std::string& n) -> std::optional<std::string> {
      auto it = archivos.find(n);
      if (it == archivos.end()) return std::nullopt;
      return it->second;
    };
  }
};

TEST_F(LeePlantillaTest, PaginasConAjustesPropiosYComunes) {
  TPlantillaReporte p;
  std::string error;
  ASSERT_TRUE(LeePlantilla(Lector(), p, error)) << error;
  ASSERT_EQ(p.paginas.size(), 2u);
  const auto& notas = p.paginas[0];
  EXPECT_EQ(notas.sNombre, "Pagina_0");
  EXPECT_DOUBLE_EQ(notas.marco.y, 68);
  EXPECT_EQ(notas.estilo.sFamilia, "Tahoma");
  EXPECT_DOUBLE_EQ(notas.estilo.dPuntos, 24);
  EXPECT_EQ(notas.estilo.color.r, 128);
  ASSERT_EQ(notas.cuerpo.size(), 1u) << "las líneas vacías del final no cuentan";
  const auto& otra = p.paginas[1];
  EXPECT_EQ(otra.estilo.sFamilia, "Times New Roman");
  EXPECT_DOUBLE_EQ(otra.marco.ancho, 194);
  EXPECT_DOUBLE_EQ(otra.marcoPie.y, 253.4);
  EXPECT_EQ(otra.pie.Texto(), "Página [Page#] de 2");
  ASSERT_EQ(otra.cuerpo.size(), 3u);
  EXPECT_EQ(otra.cuerpo[1].Texto(), "");
  EXPECT_EQ(otra.cuerpo[2].Texto(), "# no es comentario") << "debajo de --- todo es texto";
  EXPECT_DOUBLE_EQ(p.margenes.alto, 10);
}

TEST_F(LeePlantillaTest, ErroresNombranArchivoYClave) {
  struct Caso {
    std::string archivo, contenido, mensaje;
  };
  const std::vector<Caso> casos = {
      {"Reporte.txt", "", "no enumera páginas"},
      {"Pagina_2.txt", "", "falta la línea \"---\" en Pagina_2.txt"},
      {"Pagina_0.txt", "marco = 1 2 x 4\n---\n", "Pagina_0.txt: marco = 1 2 x 4"},
      {"Pagina_0.txt", "fuente = Tahoma\n---\n", "Pagina_0.txt: fuente = Tahoma"},
      {"Pagina_0.txt", "solo texto\n---\n", "línea no válida en Pagina_0.txt"},
  };
  for (const auto& c : casos) {
    auto copia = archivos;
    archivos[c.archivo] = c.contenido;
    TPlantillaReporte p;
    p.dAnchoPapel = 1;
    std::string error;
    EXPECT_FALSE(LeePlantilla(Lector(), p, error)) << c.archivo;
    EXPECT_NE(error.find(c.mensaje), std::string::npos) << error;
    EXPECT_DOUBLE_EQ(p.dAnchoPapel, 1) << "un fallo deja la plantilla como estaba";
    archivos = copia;
  }
  archivos.erase("Pagina_2.txt");
  TPlantillaReporte p;
  std::string error;
  EXPECT_FALSE(LeePlantilla(Lector(), p, error));
  EXPECT_NE(error.find("no se encontró Pagina_2.txt"), std::string::npos) << error;
}

// ---- Placeholders --------------------------------------------------------------------------

std::string Expande(const std::string& linea, const TVariablesReporte& v, int pagina = 7) {
  return ExpandeParrafos({LeeParrafo(linea)}, v, pagina).at(0).Texto();
}

TEST(ExpandeParrafos, ValoresSonSoloDatos) {
  TVariablesReporte v;
  v.AsignaVariable("Cuestionario", "preg_1", "'[preg_2] [Page#]'");
  v.AsignaVariable("Cuestionario", "preg_2", "'NO'");
  v.AsignaVariable("Cuestionario", "preg_3", "'<b>&amp;</b> ''x'' ÁÑ'");
  v.AsignaVariable("Cuestionario", "preg_4", "uno\r\ndos");
  EXPECT_EQ(Expande("[preg_1]", v), "[preg_2] [Page#]");
  EXPECT_EQ(Expande("[preg_3]", v), "<b>&amp;</b> 'x' ÁÑ");
  EXPECT_EQ(Expande("[PREG_4]", v), "uno\r\ndos");
  EXPECT_EQ(Expande("a[preg_2]b[preg_2]", v), "aNObNO");
  EXPECT_EQ(Expande("[preg_5]", v), "") << "sin valor no imprime nada";
  EXPECT_EQ(Expande("Página [Page#] de 21", v, 12), "Página 12 de 21");
  EXPECT_EQ(Expande("[desconocida] [a b] [", v), "[desconocida] [a b] [");
  EXPECT_EQ(Expande("[x [preg_2]]", v), "[x NO]");
}

TEST(ExpandeParrafos, ElValorHeredaElFormatoDelMarcador) {
  TVariablesReporte v;
  v.AsignaVariable("Cuestionario", "preg_9", "'Respuesta: 5'");
  const auto p = ExpandeParrafos({LeeParrafo("{centro}x **[preg_9]** y")}, v, 1).at(0);
  EXPECT_EQ(p.alineacion, TAlineacion::Centro);
  ASSERT_EQ(p.tramos.size(), 3u);
  EXPECT_EQ(p.tramos[1], (TTramo{"Respuesta: 5", true, false}));
}

TEST(ExpandeParrafos, ValorLarguisimoSeCorta) {
  TVariablesReporte v;
  std::string largo;
  for (size_t i = 0; i < kMaxCaracteresValor + 10; ++i) largo += "ñ";
  v.AsignaVariable("Cuestionario", "preg_1", "'" + largo + "'");
  const auto t = Expande("[preg_1]", v);
  EXPECT_EQ(t.size(), kMaxCaracteresValor * 2 + std::string("…").size()) << "corta entre caracteres";
  EXPECT_EQ(t.substr(t.size() - 3), "…");
}

// ---- The bundled questionnaire -------------------------------------------------------------

class PlantillaCuestionario : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    QString error;
    ASSERT_TRUE(CargaPlantillaCuestionario(plantilla_, error)) << error.toStdString();
  }
  static TPlantillaReporte plantilla_;
};
TPlantillaReporte PlantillaCuestionario::plantilla_;

TEST_F(PlantillaCuestionario, VeintiunPaginasConSuMarcoYPie) {
  ASSERT_EQ(plantilla_.paginas.size(), PaginasEsperadas().size());
  EXPECT_DOUBLE_EQ(plantilla_.dAnchoPapel, 215.9);
  EXPECT_DOUBLE_EQ(plantilla_.dAltoPapel, 279.4);
  EXPECT_DOUBLE_EQ(plantilla_.margenes.x, 10);
  for (size_t i = 0; i < plantilla_.paginas.size(); ++i) {
    const auto& p = plantilla_.paginas[i];
    EXPECT_EQ(p.sNombre, PaginasEsperadas()[i].nombre);
    EXPECT_EQ(p.pie.Texto(), "Página [Page#] de 21");
    EXPECT_EQ(p.pie.alineacion, TAlineacion::Derecha);
    EXPECT_EQ(p.estiloPie.sFamilia, "Times New Roman");
    EXPECT_DOUBLE_EQ(p.estiloPie.dPuntos, 10);
    EXPECT_DOUBLE_EQ(p.marcoPie.ancho, 195);
    EXPECT_DOUBLE_EQ(p.marcoPie.alto, 5);
    if (i == 0) continue;
    EXPECT_EQ(p.estilo.sFamilia, "Times New Roman");
    EXPECT_DOUBLE_EQ(p.estilo.dPuntos, 11);
    EXPECT_DOUBLE_EQ(p.estilo.dInterlineado, 1.15);
    EXPECT_DOUBLE_EQ(p.estilo.dEspacioDespues, 10);
    EXPECT_DOUBLE_EQ(p.marco.ancho, 194);
    EXPECT_DOUBLE_EQ(p.marco.alto, 252);
    EXPECT_LE(p.marco.x + p.marco.ancho, plantilla_.dAnchoPapel - 20) << "dentro de los márgenes";
  }
}

TEST_F(PlantillaCuestionario, PaginaDeNotas) {
  const auto& p = plantilla_.paginas.at(0);
  EXPECT_EQ(p.estilo.sFamilia, "Tahoma");
  EXPECT_DOUBLE_EQ(p.estilo.dPuntos, 24);
  EXPECT_EQ(p.estilo.color.r, 128);
  EXPECT_EQ(p.estilo.color.g, 0);
  EXPECT_EQ(p.estilo.color.b, 0);
  EXPECT_DOUBLE_EQ(p.marco.ancho, 188);
  EXPECT_DOUBLE_EQ(p.marco.alto, 117);
  EXPECT_DOUBLE_EQ(p.marco.y, 68);
  EXPECT_NEAR(p.marco.x * 2 + p.marco.ancho, plantilla_.dAnchoPapel - 20, 0.01) << "centrado";
  ASSERT_EQ(p.cuerpo.size(), 3u);
  EXPECT_EQ(p.cuerpo[0].Texto(),
            "NOTA 1: Si cuenta con sucursales deberá obtener el reporte de cada una de ellas y hacer las "
            "sumatorias, promedios y cálculos correspondientes para consolidar la información y obtener el "
            "resultado correcto.");
  EXPECT_EQ(p.cuerpo[1].Texto(), "");
  EXPECT_EQ(p.cuerpo[2].Texto(),
            "NOTA 2:La información que aparece entre paréntesis es solamente de carácter informativo y no "
            "debe capturarse en el cuestionario. La misma es auxiliar para hacer los cálculos en el caso que su "
            "Centro Cambiario cuente con sucursales.");
}

// Walks a question page paragraph by paragraph.
struct Recorrido {
  std::vector<std::string> titulos;
  std::vector<int> preguntas;
  std::map<int, std::string> textos;
};

Recorrido Recorre(const TPaginaPlantilla& p) {
  Recorrido r;
  static const std::regex numero(R"(^(\d+)\.$)");
  bool enSecciones = false;  // the general instructions come before the first heading
  for (size_t k = 3; k < p.cuerpo.size(); ++k) {
    const auto& par = p.cuerpo[k];
    if (par.tramos.empty()) continue;
    const auto& t0 = par.tramos[0];
    std::smatch m;
    if (t0.bNegrita && t0.bSubrayado) {
      enSecciones = true;
      EXPECT_EQ(par.tramos.size(), 1u);
      r.titulos.push_back(t0.sTexto);
    } else if (enSecciones && t0.bNegrita && std::regex_match(t0.sTexto, m, numero) && par.tramos.size() == 2) {
      const int n = std::stoi(m[1]);
      // "N." bold, then one or two blanks and the text in regular weight
      EXPECT_FALSE(par.tramos[1].bNegrita) << n;
      EXPECT_EQ(par.tramos[1].sTexto[0], ' ') << n;
      const auto& siguiente = p.cuerpo.at(k + 1);
      EXPECT_EQ(siguiente.Texto(), "[preg_" + std::to_string(n) + "]") << n;
      for (const auto& t : siguiente.tramos) EXPECT_TRUE(t.bNegrita) << n;
      r.preguntas.push_back(n);
      r.textos[n] = par.tramos[1].sTexto.substr(par.tramos[1].sTexto.find_first_not_of(' '));
      ++k;
    }
  }
  return r;
}

TEST_F(PlantillaCuestionario, PreguntasYTitulosSegunLaTablaDePaginas) {
  std::vector<int> todas;
  for (size_t i = 1; i < plantilla_.paginas.size(); ++i) {
    const auto& p = plantilla_.paginas[i];
    const auto& esperada = PaginasEsperadas()[i];
    SCOPED_TRACE(p.sNombre);
    ASSERT_GE(p.cuerpo.size(), 3u);
    EXPECT_EQ(p.cuerpo[0].Texto(), "CUESTIONARIO DE OPERATIVIDAD CENTROS CAMBIARIOS 2016");
    EXPECT_EQ(p.cuerpo[0].alineacion, TAlineacion::Centro);
    EXPECT_TRUE(p.cuerpo[0].tramos.at(0).bNegrita);
    EXPECT_EQ(p.cuerpo[1].Texto(), "[NombreCC]");
    EXPECT_EQ(p.cuerpo[1].alineacion, TAlineacion::Centro);
    EXPECT_TRUE(p.cuerpo[1].tramos.at(0).bNegrita);
    EXPECT_EQ(p.cuerpo[2].Texto(), "");
    const auto r = Recorre(p);
    EXPECT_EQ(r.titulos, esperada.titulos);
    std::vector<int> rango;
    for (int n = esperada.desde; n <= esperada.hasta; ++n) rango.push_back(n);
    EXPECT_EQ(r.preguntas, rango);
    todas.insert(todas.end(), r.preguntas.begin(), r.preguntas.end());
  }
  ASSERT_EQ(todas.size(), 191u);
}

TEST_F(PlantillaCuestionario, IndicacionesGeneralesEnLaSegundaPagina) {
  const auto& p = plantilla_.paginas.at(1);
  const std::vector<std::string> textos = {
      "El total de los montos deberá ser expresado en dólares de los Estados Unidos de América, SIN CENTAVOS.",
      "Tenga precaución al responder, deberá contestar los apartados que en términos de la operatividad y "
      "periodo le correspondan a su centro cambiario.",
      "Toda la información deberá ser capturada en mayúsculas, sin abreviaturas ni acentos.",
      "En su caso, deberá responder atendiendo las recomendaciones que vienen entre paréntesis.",
      "Las respuestas deben ser lo más claras posibles.",
      "Antes de presionar el botón “aceptar” para realizar el envío, revise la información proporcionada, "
      "debido a que una vez enviada, no podrá modificarse.",
      "Se recomienda imprimir el presente formato y conservar un respaldo de las respuestas.",
  };
  for (size_t k = 0; k < textos.size(); ++k) {
    const auto& par = p.cuerpo.at(3 + k);
    ASSERT_EQ(par.tramos.size(), 2u);
    EXPECT_EQ(par.tramos[0], (TTramo{std::to_string(k + 1) + ".", true, false}));
    EXPECT_EQ(par.tramos[1], (TTramo{" " + textos[k], false, false}));
  }
  EXPECT_EQ(p.cuerpo.at(10).Texto(), "");
  EXPECT_EQ(p.cuerpo.at(11).Texto(), "");
  EXPECT_EQ(p.cuerpo.at(12).Texto(), "Información General");
}

TEST_F(PlantillaCuestionario, TextosCitadosExactos) {
  std::map<int, std::string> textos;
  for (const auto& p : plantilla_.paginas) {
    if (p.sNombre == "Pagina_0") continue;
    auto r = Recorre(p);
    textos.insert(r.textos.begin(), r.textos.end());
  }
  const std::map<int, std::string> citados = {
      {1, "A la fecha, ¿A qué monto asciende su capital social?"},
      {2, "¿Cuál es el principal sector que atiende?"},
      {33, "¿Realizó operaciones de compra de dólares americanos durante 2015?"},
      {34, "¿Con cuántos usuarios, centros cambiarios y entidades financieras nacionales o extranjeras celebró "
           "operaciones de compra de dólares americanos durante el 2015?"},
      {35, "¿Cuántos usuarios Personas Políticamente Expuestas (PEPs)?"},
      {36, "¿Cuántos usuarios personas físicas nacionales? (no incluir PEPs)"},
      {37, "¿Cuántos usuarios personas morales nacionales? (no incluir a centros cambiarios,entidades "
           "financieras y PEPs)"},
      {38, "¿Cuántos usuarios personas físicas extranjeras? (no incluir PEPs)"},
      {39, "¿Cuántos usuarios personas morales extranjeras? (no incluir a entidades financieras y PEPs)"},
      {40, "¿Cuántos centros cambiarios?"},
      {41, "¿Cuántas entidades financieras nacionales?"},
      {42, "¿Cuántas entidades financieras extranjeras?"},
      {43, "¿Cuántas operaciones de compra de dólares americanos celebró con usuarios, centros cambiarios, "
           "entidades financieras nacionales o extranjeras durante el 2015? "},
      {44, "¿Cuántas operaciones con usuarios personas físicas nacionales? (no incluir PEPs)"},
      {45, "¿Cuántas operaciones con usuarios personas morales nacionales? (no incluir a centros "
           "cambiarios,entidades financieras y PEPs)"},
      {46, "¿Cuántas operaciones con usuarios personas físicas extranjeras? (no incluir PEPs)"},
      {47, "¿Cuántas operaciones con usuarios personas morales extranjeras? (no incluir a entidades "
           "financieras y PEPs)"},
      {48, "¿Cuántas operaciones con centros cambiarios?"},
      {49, "¿Cuántas operaciones con entidades financieras nacionales?"},
      {50, "¿Cuántas operaciones con entidades financieras extranjeras?"},
      {51, "¿Cuántas operaciones con PEPs?"},
      {52, "¿A cuánto asciende el monto de sus operaciones de compra de dólares americanos realizadas en el "
           "2015?"},
      {53, "¿A cuánto asciende el monto con personas físicas nacionales? (no incluir PEPs)"},
      {54, "¿A cuánto asciende el monto con personas morales nacionales? (no incluir a centros "
           "cambiarios,entidades financieras y PEPs)"},
      {55, "¿A cuánto asciende el monto con personas físicas extranjeras?(no incluir PEPs)"},
      {56, "¿A cuánto asciende el monto con personas morales extranjeras? (no incluir a entidades financieras "
           "y PEPs)"},
      {57, "¿A cuánto asciende el monto con centros cambiarios?"},
      {58, "¿A cuánto asciende el monto con entidades financieras nacionales?"},
      {59, "¿A cuánto asciende el monto con entidades financieras extranjeras?"},
      {60, "¿A cuánto asciende el monto con PEPs?"},
      {61, "¿Cuál fue el monto promedio por operación por compra de dólares americanos durante el 2015? "},
      {150, "¿Cuál fue el principal documento a la vista denominado y pagadero en moneda extranjera a cargo de "
            "entidades financieras que adquirieron durante el 2015?"},
      {151, "¿De quién adquirió principalmente documentos a la vista denominados y pagaderos en moneda "
            "extranjera a cargo de entidades financieras durante el 2015?"},
      {181, "¿Cuál fue el principal documento a la vista denominado y pagadero en moneda extranjera a cargode "
            "entidades financieras que vendieron durante el 2015?"},
      {182, "¿Cuál fue la institución de crédito nacional con la que celebró la mayor cantidad de operaciones "
            "de venta de documentos a la vista denominados y pagaderos en moneda extranjera a cargo de entidades "
            "financieras durante el 2015?"},
      {184, "¿Cuántas operaciones con instituciones de crédito nacionales?"},
      {185, "¿Cuántas operaciones con casas de cambio?"},
      {186, "¿Cuántas operaciones con instituciones de crédito extranjeras?"},
  };
  for (const auto& [n, texto] : citados) EXPECT_EQ(textos[n], texto) << "pregunta " << n;

  // The other blocks ask the same about their own operation; the PEP question closes their users.
  const std::vector<std::pair<int, std::string>> bloques = {
      {62, "compra de otras divisas"},
      {91, "venta de dólares americanos"},
      {120, "venta de otras divisas"},
      {149, "compra de documentos a la vista denominados y pagaderos en moneda extranjera a cargo de entidades "
            "financieras"}};
  for (const auto& [inicio, operacion] : bloques) {
    const int extra = inicio == 149 ? 2 : 0;  // 150 and 151 belong to the documents only
    EXPECT_EQ(textos[inicio], "¿Realizó operaciones de " + operacion + " durante 2015?");
    EXPECT_NE(textos[inicio + extra + 1].find("celebró operaciones de " + operacion + " durante el 2015?"),
              std::string::npos)
        << inicio;
    EXPECT_EQ(textos[inicio + extra + 2], textos[36]) << inicio;
    EXPECT_EQ(textos[inicio + extra + 9], textos[35]) << inicio;
    EXPECT_EQ(textos[inicio + extra + 10].rfind("¿Cuántas operaciones de " + operacion + " celebró con usuarios", 0), 0u);
    EXPECT_EQ(textos[inicio + extra + 18], textos[51]) << inicio;
    EXPECT_EQ(textos[inicio + extra + 27], textos[60]) << inicio;
    EXPECT_EQ(textos[inicio + extra + 28],
              "¿Cuál fue el monto promedio por operación por " + operacion + " durante el 2015? ");
  }
}

}  // namespace
}  // namespace qavi
