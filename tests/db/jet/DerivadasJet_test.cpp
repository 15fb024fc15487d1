// The plan of a batch's derived tables.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "db/jet/ConexionJet.h"
#include "db/jet/DerivadasJet.h"

namespace qavi::jet {
namespace {

using TLote = std::vector<std::pair<std::size_t, std::vector<TDerivadaLeida>>>;

// "i" is written inside "o(i)", which is written inside "oo(o(i))": an outer identity holds its
// inner ones' text, as the emitter writes them.
TEST(DerivadasJet, UnaDerivadaDeDentroSeLeeDondeSeCalculaLaDeFuera) {
  const TDerivadaLeida dentro{"i", false, 1}, fuera{"o(i)", false, std::nullopt},
      fueraTrivial{"o(i)", true, std::nullopt}, dentroDeFuera{"o(i)", false, 2}, masFuera{"oo(o(i))", false, std::nullopt},
      sola{"i", false, std::nullopt};
  const struct {
    const char* caso;
    TLote lote;
    std::map<std::string, std::pair<int, std::size_t>> plan;  // identity -> uses, last statement
  } casos[] = {
      {"kept outer: inner read once, where the outer is computed",
       {{3, {dentro, fuera}}, {5, {dentro, fuera}}},
       {{"o(i)", {2, 5}}, {"i", {1, 3}}}},
      {"trivial outer stays inline: inner read by each",
       {{3, {dentro, fueraTrivial}}, {5, {dentro, fueraTrivial}}},
       {{"o(i)", {2, 5}}, {"i", {2, 5}}}},
      {"outer read once, inner read on its own later",
       {{4, {dentro, fuera}}, {7, {sola}}},
       {{"o(i)", {1, 4}}, {"i", {2, 7}}}},
      {"three levels: only the outermost is read again",
       {{1, {dentro, dentroDeFuera, masFuera}}, {2, {dentro, dentroDeFuera, masFuera}}},
       {{"oo(o(i))", {2, 2}}, {"o(i)", {1, 1}}, {"i", {1, 1}}}},
  };
  for (const auto& c : casos) {
    const auto plan = TDerivadasJet::Plan(c.lote);
    std::map<std::string, std::pair<int, std::size_t>> visto;
    for (const auto& [identidad, uso] : plan) visto[identidad] = {static_cast<int>(uso.en.size()), uso.en.back()};
    EXPECT_EQ(visto, c.plan) << c.caso;
  }
  const auto plan = TDerivadasJet::Plan({{5, {dentro, fuera}}, {3, {sola}}, {9, {dentro, fuera}}});
  EXPECT_EQ(plan.at("i").en, (std::vector<std::size_t>{3, 5})) << "every reading, in order";
  EXPECT_EQ(plan.at("o(i)").en, (std::vector<std::size_t>{5, 9}));
}

// A kept table goes after its last reading, or sooner when every reading left belongs to the
// other connection's part of the batch.
TEST(DerivadasJet, UnaGuardadaSeSueltaCuandoNingunaLecturaQuedaDeEsteLado) {
  std::string error;
  auto conexion = TConexionJet::Abre(error);
  ASSERT_TRUE(conexion) << error;
  const std::string sql = "SELECT 1 AS x UNION ALL SELECT 2";
  const struct {
    const char* caso;
    std::size_t ajenas;
    bool sigue;
  } casos[] = {
      {"no other connection: kept for the reading at 6", static_cast<std::size_t>(-1), true},
      {"the other connection from 7 on: still kept for 6", 7, true},
      {"the other connection from 6 on: dropped", 6, false},
  };
  for (const auto& c : casos) {
    TDerivadasJet d;
    d.Reinicia(conexion->Db());
    d.Planea({{"t", {{2, 6, 9}}}});
    d.Sentencia(2);
    ASSERT_TRUE(d.Materializa({sql, false, "t"})) << c.caso;
    d.Libera(2, c.ajenas);
    EXPECT_EQ(d.Tamano(), c.sigue ? 1u : 0u) << c.caso;
    d.Descarta();
  }
}

}  // namespace
}  // namespace qavi::jet
