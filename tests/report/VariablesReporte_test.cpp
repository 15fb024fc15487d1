#include "report/VariablesReporte.h"

#include <gtest/gtest.h>

namespace qavi {
namespace {

std::vector<std::string> Nombres(const TVariablesReporte& v) {
  std::vector<std::string> r;
  for (const auto& e : v.Entradas()) r.push_back(e.sNombre);
  return r;
}

TEST(VariablesReporte, ListaDeclaradaEnOrdenYSinValores) {
  TVariablesReporte v;
  const auto& e = v.Entradas();
  ASSERT_EQ(e.size(), 1u + 326u + 1u);
  EXPECT_EQ(e[0].sNombre, " Cuestionario");
  EXPECT_TRUE(e[0].bCategoria);
  EXPECT_EQ(e[1].sNombre, "preg_1");
  EXPECT_EQ(e[50].sNombre, "preg_50");
  EXPECT_EQ(e[51].sNombre, "NombreCC");
  EXPECT_EQ(e[52].sNombre, "preg_51");
  EXPECT_EQ(e.back().sNombre, "preg_326");
  for (size_t i = 1; i < e.size(); ++i) {
    EXPECT_FALSE(e[i].bCategoria) << e[i].sNombre;
    EXPECT_FALSE(e[i].valor.has_value()) << e[i].sNombre;
  }
}

TEST(VariablesReporte, ReemplazaSinDistinguirMayusculas) {
  TVariablesReporte v;
  const auto antes = Nombres(v);
  EXPECT_TRUE(v.AsignaVariable("Cuestionario", "preg_7", "'uno'"));
  EXPECT_TRUE(v.AsignaVariable("CUESTIONARIO", "PREG_7", "'dos'"));
  EXPECT_TRUE(v.AsignaVariable("cuestionario", "nombrecc", "'CC'"));
  EXPECT_EQ(v.DameValor("preg_7"), "'dos'");
  EXPECT_EQ(v.DameValor("Preg_7"), "'dos'");
  EXPECT_EQ(v.DameValor("NombreCC"), "'CC'");
  EXPECT_EQ(Nombres(v), antes) << "reemplazar no agrega ni mueve entradas";
}

TEST(VariablesReporte, ValorVacioEsDistintoDeSinValor) {
  TVariablesReporte v;
  v.AsignaVariable("Cuestionario", "preg_1", "");
  EXPECT_EQ(v.DameValor("preg_1"), "");
  EXPECT_FALSE(v.DameValor("preg_2").has_value());
  EXPECT_FALSE(v.DameValor("no_existe").has_value());
}

TEST(VariablesReporte, VariableNuevaVaAlFinalDeSuCategoria) {
  TVariablesReporte v;
  v.AgregaCategoria("Otra");
  v.AgregaCategoria("otra");  // ya existe: nada cambia
  v.AsignaVariable("Otra", "x", "'x'");
  ASSERT_TRUE(v.AsignaVariable("Cuestionario", "Extra", "'e'"));
  const auto n = Nombres(v);
  ASSERT_EQ(n.size(), 1u + 327u + 2u + 1u);
  EXPECT_EQ(n[327], "preg_326");
  EXPECT_EQ(n[328], "Extra");
  EXPECT_EQ(n[329], " Otra");
  EXPECT_EQ(n[330], "x");
  EXPECT_EQ(v.DameValor("EXTRA"), "'e'");
}

TEST(VariablesReporte, NombreExistenteEnOtraCategoriaSeReemplazaAhi) {
  TVariablesReporte v;
  v.AgregaCategoria("Otra");
  v.AsignaVariable("Otra", "preg_3", "'tres'");
  EXPECT_EQ(Nombres(v).size(), 329u);
  EXPECT_EQ(v.DameValor("preg_3"), "'tres'");
}

TEST(VariablesReporte, CategoriaDesconocidaNoGuardaNada) {
  TVariablesReporte v;
  const auto antes = Nombres(v);
  EXPECT_FALSE(v.AsignaVariable("Respuestas", "preg_1", "'a'"));
  EXPECT_FALSE(v.AsignaVariable("Respuestas", "nueva", "'a'"));
  EXPECT_FALSE(v.AsignaVariable(" Cuestionario", "preg_1", "'a'")) << "el blanco lo pone el reporte";
  EXPECT_EQ(Nombres(v), antes);
  EXPECT_FALSE(v.DameValor("preg_1").has_value());
  EXPECT_FALSE(v.Existe("nueva"));
}

TEST(VariablesReporte, ListaVaciaNoTieneCategorias) {
  auto v = TVariablesReporte::Vacia();
  EXPECT_TRUE(v.Entradas().empty());
  EXPECT_FALSE(v.AsignaVariable("Cuestionario", "preg_1", "'a'"));
}

}  // namespace
}  // namespace qavi
