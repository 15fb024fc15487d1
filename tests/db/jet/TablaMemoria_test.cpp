// The memory table keeps each cell as it was given, however a column's cells are stored: numbers
// that outgrow 32 bits, nulls anywhere, a value of another class beside the column's own, texts
// that repeat and texts that never do.
#include "db/jet/TablaMemoria.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qavi::jet {
namespace {

using C = TTablaMemoria::TClase;

// What a cell must read back as.
struct TEsperado {
  C clase = C::Nulo;
  std::int64_t entero = 0;
  double real = 0;
  std::string bytes = {};
};

TEsperado Como(const TValorMdb& v) {
  switch (v.clase) {
    case TValorMdb::Clase::Nulo: return {};
    case TValorMdb::Clase::Entero: return {C::Entero, v.entero};
    case TValorMdb::Clase::Doble: return {C::Real, 0, v.real};
    case TValorMdb::Clase::Texto: return {C::Texto, 0, 0, v.bytes};
    case TValorMdb::Clase::Binario: return {C::Blob, 0, 0, v.bytes};
    default: return {C::Ilegible};
  }
}

TEST(TablaMemoria, CadaCeldaSeLeeComoSeDio) {
  using V = TValorMdb;
  const struct {
    const char* nombre;
    std::function<V(std::size_t)> valor;  // the cell of row f
    std::size_t filas;
  } casos[] = {
      {"enteros_que_crecen", [](std::size_t f) { return V::Entero(f < 100 ? std::int64_t(f) : (std::int64_t{1} << 40) + f); }, 300},
      {"negativos_y_limites",
       [](std::size_t f) {
         const std::int64_t v[] = {-1, INT32_MIN, INT32_MAX, INT64_MIN, INT64_MAX, 0};
         return V::Entero(v[f % 6]);
       },
       60},
      {"nulos_al_principio_y_tras_la_fila_64",
       [](std::size_t f) { return f < 3 || f == 70 ? V::Nulo() : V::Doble(f * 0.5); }, 200},
      {"todo_nulo", [](std::size_t) { return V::Nulo(); }, 130},
      {"texto_vacio_no_es_nulo", [](std::size_t f) { return f % 3 == 0 ? V::Nulo() : V::Texto(f % 3 == 1 ? "" : "x"); }, 90},
      {"textos_que_se_repiten", [](std::size_t f) { return V::Texto(f % 2 ? "C" : "V"); }, 1000},
      {"textos_que_nunca_se_repiten", [](std::size_t f) { return V::Texto("cliente " + std::to_string(f)); }, 70000},
      {"texto_largo", [](std::size_t f) { return V::Texto(std::string((1 << 20) + f, 'a')); }, 3},
      {"otra_clase_junto_a_la_propia",
       [](std::size_t f) { return f == 5 ? V::Texto("\x1F" "2\x1F" "9") : f == 80 ? V::Nulo() : V::Entero(f); }, 100},
      {"blobs", [](std::size_t f) { return f == 1 ? V::Nulo() : V::Binario(std::string("\0\1", 2) + char(f)); }, 10},
  };
  for (const auto& c : casos) {
    TTablaMemoria t({"\"x\""});
    t.Reserva(c.filas / 2);
    for (std::size_t f = 0; f < c.filas; ++f) ASSERT_TRUE(t.Agrega({c.valor(f)})) << c.nombre;
    ASSERT_EQ(t.Filas(), c.filas) << c.nombre;
    for (std::size_t f = 0; f < c.filas; ++f) {
      const TEsperado e = Como(c.valor(f));
      ASSERT_EQ(t.Clase(f, 0), e.clase) << c.nombre << " fila " << f;
      if (e.clase == C::Entero) {
        EXPECT_EQ(t.Entero(f, 0), e.entero) << c.nombre << " fila " << f;
      }
      if (e.clase == C::Real) {
        EXPECT_EQ(t.Real(f, 0), e.real) << c.nombre << " fila " << f;
      }
      if (e.clase == C::Texto || e.clase == C::Blob) {
        EXPECT_EQ(std::string(t.Bytes(f, 0)), e.bytes) << c.nombre << " fila " << f;
        EXPECT_NE(t.Bytes(f, 0).data(), nullptr) << c.nombre << " fila " << f;
      }
    }
  }
}

}  // namespace
}  // namespace qavi::jet
