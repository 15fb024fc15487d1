// Jet's text rules: letter case, comparison, LIKE, names, ROUND and STR.
#include "db/jet/texto/TextoJet.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qavi::jet {
namespace {

TEST(TextoJet, MayusculasYMinusculasConAcentos) {
  struct TCaso {
    const char* texto;
    const char* mayusculas;
    const char* minusculas;
  };
  const std::vector<TCaso> casos = {
      {"josé ñandú", "JOSÉ ÑANDÚ", "josé ñandú"},
      {"ÁÉÍÓÚ Üy Ç", "ÁÉÍÓÚ ÜY Ç", "áéíóú üy ç"},
      {"àÿœšž", "ÀŸŒŠŽ", "àÿœšž"},
      {"straße 12-b", "STRAßE 12-B", "straße 12-b"},  // ß has no single capital
      {"αβγ привет", "ΑΒΓ ПРИВЕТ", "αβγ привет"},
      {"a\xFF" "b", "A\xFF" "B", "a\xFF" "b"},  // a damaged byte stays as it was
      {"", "", ""},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(MayusculasJet(c.texto), c.mayusculas) << c.texto;
    EXPECT_EQ(MinusculasJet(c.mayusculas), c.minusculas) << c.texto;
  }
}

TEST(TextoJet, ComparacionSinCaso) {
  // Equal: only the letter case differs.
  for (auto [a, b] : std::vector<std::pair<const char*, const char*>>{
           {"josé", "JOSÉ"}, {"ÑANDÚ", "ñandú"}, {"", ""}, {"Ÿ", "ÿ"}, {"ABC 123", "abc 123"},
           {"CLIENTE NÚMERO 12", "cliente número 12"}, {"ABCDEFGHé", "ABCDEFGHÉ"}}) {
    EXPECT_EQ(ComparaTextoJet(a, b), 0) << a << " = " << b;
  }
  // Strictly ordered pairs: case ignored, accented letters right after their base letter,
  // trailing blanks count.
  for (auto [a, b] : std::vector<std::pair<const char*, const char*>>{{"a", "B"},
                                                                      {"e", "é"},
                                                                      {"É", "f"},
                                                                      {"n", "ñ"},
                                                                      {"ñ", "o"},
                                                                      {"abc", "abcd"},
                                                                      {"a", "a "},
                                                                      {"9", "a"},
                                                                      {"_", "a"},
                                                                      {"cote", "côte"},
                                                                      {"côte", "coter"},
                                                                      // the same first bytes, even
                                                                      // inside one character
                                                                      {"è", "é"},
                                                                      {"ABCDEFGHè", "ABCDEFGHé"},
                                                                      {"CTE0000012345", "cte0000012346"}}) {
    EXPECT_LT(ComparaTextoJet(a, b), 0) << a << " < " << b;
    EXPECT_GT(ComparaTextoJet(b, a), 0) << b << " > " << a;
  }
}

TEST(TextoJet, Like) {
  struct TCaso {
    const char* texto;
    const char* patron;
    bool coincide;
  };
  const std::vector<TCaso> casos = {
      {"Cliente PEP", "%pep%", true},
      {"Cliente PEP", "%PEP", true},
      {"Cliente PEP", "pep%", false},
      {"posible pep, funcionario", "%PEP%", true},
      {"Familiar de un Pep", "%PEP%", true},
      {"JOSÉ", "jos_", true},
      {"josé", "JOSÉ", true},
      {"Ñandú", "ñ%", true},
      {"jose", "josé", false},  // accents are not ignored, only case
      {"abc", "a_c", true},
      {"ac", "a_c", false},
      {"", "%", true},
      {"", "_", false},
      {"x%y", "x%y", true},
      {"aaa", "%%a", true},
      {"banana", "%an%an%", true},
      {"banana", "%an%an%an%", false},
      {"juan", "[h-k]%", true},
      {"Juan", "[h-k]%", true},
      {"pedro", "[h-k]%", false},
      {"pedro", "[!h-k]%", true},
      {"a]b", "a]b", true},
      {"a[b", "a[b", true},  // an unclosed bracket is itself
      {"abc", "[]abc", true},
  };
  for (const auto& c : casos) EXPECT_EQ(CoincideLikeJet(c.texto, c.patron), c.coincide) << c.texto << " LIKE " << c.patron;
}

TEST(TextoJet, RedondeoAlParYStr) {
  EXPECT_EQ(RedondeaJet(10.5), 10);
  EXPECT_EQ(RedondeaJet(11.5), 12);
  EXPECT_EQ(RedondeaJet(-2.5), -2);
  EXPECT_EQ(RedondeaJet(2.5), 2);
  EXPECT_EQ(RedondeaJet(2.5000001), 3);
  EXPECT_EQ(RedondeaJet(0.125, 2), 0.12);
  EXPECT_EQ(RedondeaJet(0.375, 2), 0.38);
  EXPECT_EQ(StrJet(std::int64_t{25}), " 25");
  EXPECT_EQ(StrJet(std::int64_t{-3}), "-3");
  EXPECT_EQ(StrJet(std::int64_t{0}), " 0");
  EXPECT_EQ(StrJet(2.5), " 2.5");
  EXPECT_EQ(StrJet(-0.25), "-0.25");
}

// Names as Jet compares them: letter case never counts, accented letters included; anything else does.
TEST(TextoJet, NombresSinCaso) {
  const struct {
    const char* a;
    const char* b;
    bool mismo;
  } casos[] = {
      {"tMovtos", "TMOVTOS", true},
      {"Año", "AÑO", true},
      {"ClaveCliente", "claveCLIENTE", true},
      {"Número", "NÚMERO", true},
      {"Ano", "Año", false},
      {"tMovtos", "tMovtos ", false},
      {"", "", true},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(MismoNombreJet(c.a, c.b), c.mismo) << c.a << " / " << c.b;
    EXPECT_EQ(ClaveNombreJet(c.a) == ClaveNombreJet(c.b), c.mismo) << c.a << " / " << c.b;
  }
}

}  // namespace
}  // namespace qavi::jet
