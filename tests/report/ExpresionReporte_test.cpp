#include "report/ExpresionReporte.h"

#include <gtest/gtest.h>

#include "report/VariablesReporte.h"

namespace qavi {
namespace {

struct Caso {
  const char* nombre;
  std::string almacenado;
  std::string impreso;
};

class EvaluaValorTest : public ::testing::TestWithParam<Caso> {};

TEST_P(EvaluaValorTest, ImprimeLoEsperado) {
  EXPECT_EQ(EvaluaValor(GetParam().almacenado), GetParam().impreso);
}

// Stored values as the variable handler leaves them: single-line texts between quotes (with
// quotes doubled), multi-line texts as they are.
INSTANTIATE_TEST_SUITE_P(
    Valores, EvaluaValorTest,
    ::testing::Values(
        Caso{"Vacio", "''", ""},
        Caso{"SinComillasVacio", "", ""},
        Caso{"Texto", "'Respuesta: 12'", "Respuesta: 12"},
        Caso{"Apostrofo", "'Respuesta: O''NEIL (** Total Ops.:  3 **) '",
             "Respuesta: O'NEIL (** Total Ops.:  3 **) "},
        Caso{"BlancosConservados", "'  a  '", "  a  "},
        Caso{"Acentos", "'MÉXICO, AÑO ÚNICO'", "MÉXICO, AÑO ÚNICO"},
        Caso{"CorchetesYMarcas", "'[preg_3] <b>&amp;</b>'", "[preg_3] <b>&amp;</b>"},
        Caso{"CrLfSinTocar", "uno\r\n'dos'\r\ntres", "uno\r\n'dos'\r\ntres"},
        Caso{"CrLfAunEntreComillas", "'a\r\nb'", "'a\r\nb'"},
        Caso{"CrSolo", "'a\rb'", "a\rb"},
        Caso{"LfSolo", "'a\nb'", "a\nb"},
        Caso{"Concatenacion", "'a' + 'b'", "ab"},
        Caso{"CodigosDeCaracter", "'a'#39'b'#241", "a'bñ"},
        Caso{"Parentesis", "('a' + ('b'))", "ab"},
        Caso{"ComillaSueltaDentro", "'Respuesta: O'NEIL'", "Respuesta: O'NEIL"},
        Caso{"SinCerrar", "'abc", "'abc"},
        Caso{"NoEsTexto", "Respuesta: 5", "Respuesta: 5"},
        Caso{"SignoColgando", "'a' +", "'a' +"}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(EvaluaExpresion, InformaSiEsValida) {
  std::string r = "previo";
  EXPECT_FALSE(EvaluaExpresion("'a", r));
  EXPECT_EQ(r, "previo");
  EXPECT_FALSE(EvaluaExpresion("#", r));
  EXPECT_FALSE(EvaluaExpresion("'a' 'b' )", r));
  EXPECT_TRUE(EvaluaExpresion("  ", r));
  EXPECT_EQ(r, "");
  EXPECT_FALSE(EvaluaExpresion("'a' 'b'", r)) << "entre piezas de texto no caben blancos";
  EXPECT_TRUE(EvaluaExpresion("'a'#66'c'", r));
  EXPECT_EQ(r, "aBc");
}

TEST(EvaluaValor, VariableSinValorNoImprimeNada) {
  TVariablesReporte v;
  EXPECT_EQ(EvaluaValor(v.DameValor("preg_5")), "");
  EXPECT_EQ(EvaluaValor(v.DameValor("inexistente")), "");
  v.AsignaVariable("Cuestionario", "preg_5", "'cinco'");
  EXPECT_EQ(EvaluaValor(v.DameValor("PREG_5")), "cinco");
}

}  // namespace
}  // namespace qavi
