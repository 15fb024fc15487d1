// The plan of a batch's derived tables.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

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
    for (const auto& [identidad, uso] : plan) visto[identidad] = {uso.usos, uso.ultima};
    EXPECT_EQ(visto, c.plan) << c.caso;
  }
}

}  // namespace
}  // namespace qavi::jet
