// Files written by the Jet 4 writer, read back through the project's reader.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Auxiliares.h"
#include "jetwriter/EscritorMdb.h"
#include "jetwriter/TablaJet.h"
#include "jetwriter/ValorJet.h"

namespace qavi::tools {
namespace {

using prueba::LeeTabla;
using prueba::TCarpetaTemporal;
using T = TTipoJet;

std::string Repite(const std::string& s, std::size_t veces) {
  std::string r;
  for (std::size_t i = 0; i < veces; ++i) r += s;
  return r;
}

struct TCaso {
  const char* nombre;
  TColumnaJet columna;
  TValorJet escrito;
  prueba::V leido;
};

using namespace qavi::prueba::valor;

// 1,500 characters: too long to stay in the row, short enough for one long-value row.
const std::string kMemoUnaPagina = Repite("Señal de operación inusual. ", 54).substr(0, 1500);
// More than 64 KiB of text spread over a chain of long-value pages.
const std::string kMemoVariasPaginas = Repite("Expediente del cliente con ñ, á, é, í, ó, ú. ", 1600);

std::vector<TCaso> Casos() {
  return {
      {"BooleanoVerdadero", {"V", T::Booleano}, true, B(true)},
      {"BooleanoFalso", {"V", T::Booleano}, false, B(false)},
      {"BooleanoNuloQuedaFalso", {"V", T::Booleano}, Nulo, B(false)},
      {"ByteMaximo", {"V", T::Byte}, 255, E(255)},
      {"ByteCero", {"V", T::Byte}, 0, E(0)},
      {"ByteNulo", {"V", T::Byte}, Nulo, {}},
      {"EnteroMinimo", {"V", T::Entero}, -32768, E(-32768)},
      {"EnteroMaximo", {"V", T::Entero}, 32767, E(32767)},
      {"EnteroNulo", {"V", T::Entero}, Nulo, {}},
      {"LargoMaximo", {"V", T::EnteroLargo}, 2147483647, E(2147483647)},
      {"LargoMinimo", {"V", T::EnteroLargo}, -2147483647 - 1, E(-2147483648LL)},
      {"LargoDesdeRealEntero", {"V", T::EnteroLargo}, 42.0, E(42)},
      {"LargoNulo", {"V", T::EnteroLargo}, Nulo, {}},
      {"MonedaDecimales", {"V", T::Moneda}, 1234.5678, M(12345678)},
      {"MonedaNegativa", {"V", T::Moneda}, -0.0001, M(-1)},
      {"MonedaEntera", {"V", T::Moneda}, 15, M(150000)},
      {"MonedaNula", {"V", T::Moneda}, Nulo, {}},
      {"DobleFraccion", {"V", T::Doble}, 0.1, R(0.1)},
      {"DobleExtremo", {"V", T::Doble}, -1e300, R(-1e300)},
      {"DobleDesdeEntero", {"V", T::Doble}, 100, R(100.0)},
      {"DobleNulo", {"V", T::Doble}, Nulo, {}},
      {"FechaConHora", {"V", T::FechaHora}, Fecha(2015, 3, 1, 13, 45, 7), F(42064.0 + 49507.0 / 86400.0)},
      {"FechaDiaAnteriorAlOrigen", {"V", T::FechaHora}, Fecha(1899, 12, 29, 6, 0, 0), F(-1.25)},
      {"FechaSigloXIX", {"V", T::FechaHora}, Fecha(1850, 6, 15, 18, 0, 0), F(Fecha(1850, 6, 15, 18, 0, 0))},
      {"FechaNula", {"V", T::FechaHora}, Nulo, {}},
      {"TextoConAcentos", {"V", T::Texto, 30}, "ñáéíóú ÑÁÉÍÓÚ ü", X("ñáéíóú ÑÁÉÍÓÚ ü")},
      {"TextoVacioNoEsNulo", {"V", T::Texto, 10}, "", X("")},
      {"TextoNulo", {"V", T::Texto, 10}, Nulo, {}},
      {"TextoDe255", {"V", T::Texto, 255}, std::string(255, 'x'), X(std::string(255, 'x'))},
      {"TextoNoLatino", {"V", T::Texto, 10}, "Āé€漢字", X("Āé€漢字")},
      {"TextoMezclaModos", {"V", T::Texto, 20}, "ab€cd€€ef", X("ab€cd€€ef")},
      {"MemoCorto", {"V", T::Memo}, "corto con ñ", X("corto con ñ")},
      {"MemoVacio", {"V", T::Memo}, "", X("")},
      {"MemoNulo", {"V", T::Memo}, Nulo, {}},
      {"MemoUnaPaginaAparte", {"V", T::Memo}, kMemoUnaPagina, X(kMemoUnaPagina)},
      {"MemoVariasPaginas", {"V", T::Memo}, kMemoVariasPaginas, X(kMemoVariasPaginas)},
  };
}

// Every case is a one-column table of its own; a second row of each table checks that a null and a
// value side by side do not disturb each other.
class IdaYVuelta : public ::testing::TestWithParam<bool> {};

TEST_P(IdaYVuelta, CadaTipoVuelveIgual) {
  TCarpetaTemporal dir;
  const auto ruta = dir / "tipos.mdb";
  const auto casos = Casos();
  ASSERT_GT(kMemoVariasPaginas.size(), 65536u);
  std::vector<TTablaJet> tablas;
  for (const TCaso& c : casos) tablas.push_back({c.nombre, {c.columna}, {{c.escrito}, {Nulo}}});
  TOpcionesMdb opciones;
  opciones.comprimeUnicode = GetParam();
  std::string error;
  ASSERT_TRUE(EscribeMdb(ruta, tablas, opciones, error)) << error;

  for (const TCaso& c : casos) {
    SCOPED_TRACE(c.nombre);
    const auto filas = LeeTabla(ruta, c.nombre);
    ASSERT_EQ(filas.size(), 2u);
    EXPECT_EQ(filas[0][0], c.leido);
    const V nulo = c.columna.tipo == T::Booleano ? B(false) : V{};
    EXPECT_EQ(filas[1][0], nulo);
  }
}

INSTANTIATE_TEST_SUITE_P(Compresion, IdaYVuelta, ::testing::Values(true, false),
                         [](const auto& i) { return i.param ? "Comprimido" : "SinComprimir"; });

TEST(EscritorMdb, ColumnasConservanNombreTipoYTamano) {
  TCarpetaTemporal dir;
  const auto ruta = dir / "columnas.mdb";
  std::string error;
  ASSERT_TRUE(EscribeMdb(ruta,
                         {{"tColumnas",
                           {{"Sí", T::Booleano},
                            {"B", T::Byte},
                            {"I", T::Entero},
                            {"L", T::EnteroLargo},
                            {"M", T::Moneda},
                            {"D", T::Doble},
                            {"F", T::FechaHora},
                            {"Clave", T::Texto, 20},
                            {"Obs", T::Memo},
                            {"S", T::Simple},
                            {"N", T::Decimal, 0, false, 18, 4},
                            {"Fija", T::Texto, 5, true},
                            {"Bin", T::Binario, 8},
                            {"Ole", T::Ole},
                            {"G", T::Guid}},
                           {}}},
                         {}, error))
      << error;
  auto archivo = jet::TArchivoMdb::Abre(ruta, error);
  ASSERT_TRUE(archivo) << error;
  std::vector<jet::TColumnaMdb> columnas;
  ASSERT_TRUE(archivo->Columnas("tColumnas", columnas, error)) << error;
  using J = jet::TTipoColumna;
  const std::vector<std::pair<std::string, J>> esperadas = {
      {"Sí", J::Booleano}, {"B", J::Byte},        {"I", J::Entero},       {"L", J::EnteroLargo}, {"M", J::Moneda},
      {"D", J::Doble},     {"F", J::FechaHora},   {"Clave", J::Texto},    {"Obs", J::Memo},      {"S", J::Simple},
      {"N", J::Decimal},   {"Fija", J::Texto},    {"Bin", J::Binario},    {"Ole", J::Ole},       {"G", J::Guid}};
  ASSERT_EQ(columnas.size(), esperadas.size());
  for (std::size_t i = 0; i < columnas.size(); ++i) {
    EXPECT_EQ(columnas[i].nombre, esperadas[i].first);
    EXPECT_EQ(columnas[i].tipo, esperadas[i].second) << columnas[i].nombre;
  }
  EXPECT_EQ(columnas[7].tamano, 20);
  EXPECT_FALSE(columnas[7].fija);
  EXPECT_EQ(columnas[10].precision, 18);
  EXPECT_EQ(columnas[10].escala, 4);
  EXPECT_TRUE(columnas[11].fija);
  EXPECT_EQ(columnas[11].tamano, 5);
  EXPECT_EQ(columnas[12].tamano, 8);
  EXPECT_TRUE(LeeTabla(ruta, "tColumnas").empty());
}

// Several memos that each could stay inline but together overflow the page: the longest leave the
// row and all come back whole.
TEST(EscritorMdb, MemosQueNoCabenJuntosSalenDeLaFila) {
  TCarpetaTemporal dir;
  const auto ruta = dir / "memos.mdb";
  std::vector<TColumnaJet> columnas;
  std::vector<TValorJet> fila;
  for (int i = 0; i < 6; ++i) {
    columnas.push_back({"M" + std::to_string(i), T::Memo});
    fila.push_back(std::string(900 + 10 * i, static_cast<char>('a' + i)));
  }
  std::string error;
  ASSERT_TRUE(EscribeMdb(ruta, {{"tMemos", columnas, {fila, fila}}}, {}, error)) << error;
  const auto filas = LeeTabla(ruta, "tMemos");
  ASSERT_EQ(filas.size(), 2u);
  for (const auto& f : filas) {
    for (std::size_t i = 0; i < fila.size(); ++i) EXPECT_EQ(f[i], X(fila[i].texto)) << "M" << i;
  }
}

// Two big tables filled turn by turn: their pages interleave, so each table's pages are far
// apart and need the page-list form of the usage map.
TEST(EscritorMdb, TablasGrandesIntercaladasSeLeenCompletasYEnOrden) {
  TCarpetaTemporal dir;
  const auto ruta = dir / "grande.mdb";
  constexpr int kFilas = 60000;
  std::string error;
  {
    auto w = TEscritorMdb::Crea(ruta, {}, error);
    ASSERT_TRUE(w) << error;
    const int a = w->Tabla("tA", {{"N", T::EnteroLargo}, {"S", T::Texto, 20}, {"D", T::Doble}}, error);
    const int b = w->Tabla("tB", {{"N", T::EnteroLargo}, {"S", T::Texto, 20}}, error);
    ASSERT_GE(a, 0) << error;
    ASSERT_GE(b, 0) << error;
    for (int i = 0; i < kFilas; ++i) {
      ASSERT_TRUE(w->Fila(a, {i, "fila " + std::to_string(i), i * 0.5}, error)) << error;
      ASSERT_TRUE(w->Fila(b, {-i, i % 7 == 0 ? Nulo : TValorJet("b" + std::to_string(i))}, error)) << error;
    }
    ASSERT_TRUE(w->Cierra(error)) << error;
  }
  EXPECT_GT(std::filesystem::file_size(ruta), 512u * 4096u);
  EXPECT_EQ(std::filesystem::file_size(ruta) % 4096, 0u);

  const auto filasA = LeeTabla(ruta, "tA");
  ASSERT_EQ(filasA.size(), static_cast<std::size_t>(kFilas));
  for (int i = 0; i < kFilas; ++i) {
    ASSERT_EQ(filasA[i][0], E(i));
    ASSERT_EQ(filasA[i][1], X("fila " + std::to_string(i)));
    ASSERT_EQ(filasA[i][2], R(i * 0.5));
  }
  const auto filasB = LeeTabla(ruta, "tB");
  ASSERT_EQ(filasB.size(), static_cast<std::size_t>(kFilas));
  for (int i = 0; i < kFilas; ++i) {
    ASSERT_EQ(filasB[i][0], E(-i));
    ASSERT_EQ(filasB[i][1], i % 7 == 0 ? V{} : X("b" + std::to_string(i)));
  }
}

TEST(EscritorMdb, TablasEnElOrdenDeclaradoSinLasDeSistema) {
  TCarpetaTemporal dir;
  const auto ruta = dir / "orden.mdb";
  std::string error;
  ASSERT_TRUE(EscribeMdb(ruta,
                         {{"zeta", {{"A", T::Byte}}, {}}, {"Alfa", {{"A", T::Byte}}, {{1}}}, {"Ñandú", {{"A", T::Byte}}, {}}},
                         {}, error))
      << error;
  EXPECT_EQ(prueba::Tablas(ruta), (std::vector<std::string>{"zeta", "Alfa", "Ñandú"}));
}

TEST(EscritorMdb, MismaEntradaDaElMismoArchivo) {
  TCarpetaTemporal dir;
  const std::vector<TTablaJet> tablas = {{"t", {{"S", T::Texto, 10}, {"F", T::FechaHora}}, {{"uno", Fecha(2015, 1, 2)}}}};
  std::string error;
  ASSERT_TRUE(EscribeMdb(dir / "a.mdb", tablas, {}, error)) << error;
  ASSERT_TRUE(EscribeMdb(dir / "b.mdb", tablas, {}, error)) << error;
  std::ifstream a(dir / "a.mdb", std::ios::binary), b(dir / "b.mdb", std::ios::binary);
  const std::string bytesA((std::istreambuf_iterator<char>(a)), {}), bytesB((std::istreambuf_iterator<char>(b)), {});
  EXPECT_EQ(bytesA, bytesB);
}

struct TValorRechazado {
  const char* nombre;
  TColumnaJet columna;
  TValorJet valor;
};

class ValorRechazado : public ::testing::TestWithParam<TValorRechazado> {};

// A rejected value reports the column and leaves the file as it was: the other rows are kept.
TEST_P(ValorRechazado, SeInformaYNoDanaElArchivo) {
  const TValorRechazado& c = GetParam();
  TCarpetaTemporal dir;
  const auto ruta = dir / "rechazo.mdb";
  std::string error;
  auto w = TEscritorMdb::Crea(ruta, {}, error);
  ASSERT_TRUE(w) << error;
  const int t = w->Tabla("tPrueba", {{"N", T::EnteroLargo}, c.columna}, error);
  ASSERT_GE(t, 0) << error;
  ASSERT_TRUE(w->Fila(t, {1, Nulo}, error)) << error;
  error.clear();
  EXPECT_FALSE(w->Fila(t, {2, c.valor}, error));
  EXPECT_NE(error.find(c.columna.nombre), std::string::npos) << error;
  ASSERT_TRUE(w->Fila(t, {3, Nulo}, error)) << error;
  ASSERT_TRUE(w->Cierra(error)) << error;
  const auto filas = LeeTabla(ruta, "tPrueba", {"N"});
  ASSERT_EQ(filas.size(), 2u);
  EXPECT_EQ(filas[0][0], E(1));
  EXPECT_EQ(filas[1][0], E(3));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ValorRechazado,
    ::testing::Values(TValorRechazado{"ByteNegativo", {"Cuenta", T::Byte}, -1},
                      TValorRechazado{"ByteExcedido", {"Cuenta", T::Byte}, 256},
                      TValorRechazado{"EnteroExcedido", {"Nivel", T::Entero}, 32768},
                      TValorRechazado{"LargoExcedido", {"Folio", T::EnteroLargo}, 2147483648LL},
                      TValorRechazado{"LargoConFraccion", {"Folio", T::EnteroLargo}, 1.5},
                      TValorRechazado{"TextoLargo", {"Clave", T::Texto, 5}, "123456"},
                      TValorRechazado{"TextoEnNumero", {"Folio", T::EnteroLargo}, "12"},
                      TValorRechazado{"NumeroEnTexto", {"Clave", T::Texto, 5}, 12},
                      TValorRechazado{"TextoEnFecha", {"Fecha", T::FechaHora}, "2015-01-01"},
                      TValorRechazado{"TextoEnBooleano", {"Pagare", T::Booleano}, "SI"},
                      TValorRechazado{"TextoEnBinario", {"Owner", T::Binario}, "x"},
                      TValorRechazado{"BinarioLargo", {"Owner", T::Binario, 2}, TValorJet::Bytes("xyz")},
                      TValorRechazado{"MonedaExcedida", {"Importe", T::Moneda}, "922337203685477.5808"},
                      TValorRechazado{"MonedaConCincoDecimales", {"Importe", T::Moneda}, "1.00001"},
                      TValorRechazado{"DecimalConMasDigitos", {"Monto", T::Decimal, 0, false, 5, 2}, "1234.5"},
                      TValorRechazado{"DecimalConMasDecimales", {"Monto", T::Decimal, 0, false, 5, 2}, "1.234"},
                      TValorRechazado{"DecimalQueNoEsNumero", {"Monto", T::Decimal}, "1,5"},
                      TValorRechazado{"SimpleExcedido", {"Tasa", T::Simple}, 1e39},
                      TValorRechazado{"GuidIncompleto", {"Clave", T::Guid}, "{0C4F1D2A-3B5E}"}),
    [](const auto& i) { return std::string(i.param.nombre); });

TEST(EscritorMdb, FilaConOtroNumeroDeValoresSeRechaza) {
  TCarpetaTemporal dir;
  std::string error;
  auto w = TEscritorMdb::Crea(dir / "a.mdb", {}, error);
  ASSERT_TRUE(w) << error;
  const int t = w->Tabla("t", {{"A", T::Byte}, {"B", T::Byte}}, error);
  EXPECT_FALSE(w->Fila(t, {1}, error));
  EXPECT_FALSE(w->Fila(t + 1, {1, 2}, error));
  EXPECT_TRUE(w->Cierra(error)) << error;
  EXPECT_FALSE(w->Fila(t, {1, 2}, error));
}

TEST(EscritorMdb, DefinicionesInvalidasSeRechazan) {
  TCarpetaTemporal dir;
  std::string error;
  auto w = TEscritorMdb::Crea(dir / "a.mdb", {}, error);
  ASSERT_TRUE(w) << error;
  ASSERT_GE(w->Tabla("tUno", {{"A", T::Byte}}, error), 0) << error;
  EXPECT_LT(w->Tabla("TUNO", {{"A", T::Byte}}, error), 0);
  EXPECT_LT(w->Tabla("MSysObjects", {{"A", T::Byte}}, error), 0);
  EXPECT_LT(w->Tabla("tSinColumnas", {}, error), 0);
  EXPECT_LT(w->Tabla("tRepetida", {{"A", T::Byte}, {"a", T::Entero}}, error), 0);
  EXPECT_LT(w->Tabla("tTexto", {{"A", T::Texto, 256}}, error), 0);
  EXPECT_LT(w->Tabla("", {{"A", T::Byte}}, error), 0);
  EXPECT_LT(w->Tabla("MSYSACES", {{"A", T::Byte}}, error), 0);
  EXPECT_LT(w->Tabla("tMemoFijo", {{"A", T::Memo, 0, true}}, error), 0);
  EXPECT_LT(w->Tabla("tDecimal", {{"A", T::Decimal, 0, false, 29, 0}}, error), 0);
  EXPECT_LT(w->Tabla("tEscala", {{"A", T::Decimal, 0, false, 4, 5}}, error), 0);
  TColumnaJet agregada{"Nueva", T::Byte};
  agregada.desdeFila = 3;
  EXPECT_LT(w->Tabla("tAgregadaEnMedio", {{"A", T::Byte}, agregada, {"C", T::Byte}}, error), 0);
  TColumnaJet borrada{"Vieja", T::Byte};
  borrada.borrada = true;
  EXPECT_LT(w->Tabla("tSoloBorradas", {borrada}, error), 0);
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(w->Cierra(error)) << error;
  EXPECT_EQ(prueba::Tablas(dir / "a.mdb"), std::vector<std::string>{"tUno"});
}

TEST(EscritorMdb, CreaFallaConPasswordLargaOCarpetaInexistente) {
  TCarpetaTemporal dir;
  std::string error;
  TOpcionesMdb opciones;
  opciones.password = std::string(21, 'p');
  EXPECT_FALSE(TEscritorMdb::Crea(dir / "a.mdb", opciones, error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(TEscritorMdb::Crea(dir / "no" / "existe" / "a.mdb", {}, error));
  EXPECT_FALSE(error.empty());
}

// A row written before a column was added cannot hold a value for it.
TEST(EscritorMdb, FilaAnteriorAUnaColumnaAgregadaNoLaLlena) {
  TCarpetaTemporal dir;
  std::string error;
  auto w = TEscritorMdb::Crea(dir / "a.mdb", {}, error);
  ASSERT_TRUE(w) << error;
  TColumnaJet agregada{"Nueva", T::Byte};
  agregada.desdeFila = 1;
  const int t = w->Tabla("t", {{"A", T::Byte}, agregada}, error);
  ASSERT_GE(t, 0) << error;
  EXPECT_FALSE(w->Fila(t, {1, 2}, error));
  EXPECT_NE(error.find("Nueva"), std::string::npos) << error;
  EXPECT_TRUE(w->Fila(t, {1, Nulo}, error)) << error;
  EXPECT_TRUE(w->Fila(t, {2, 2}, error)) << error;
  EXPECT_TRUE(w->Cierra(error)) << error;
  EXPECT_EQ(LeeTabla(dir / "a.mdb", "t"), (prueba::TFilas{{E(1), N}, {E(2), E(2)}}));
}

TEST(EscribeMdb, SiFallaNoDejaArchivo) {
  TCarpetaTemporal dir;
  const auto ruta = dir / "sub" / "a.mdb";
  std::string error;
  EXPECT_FALSE(EscribeMdb(ruta, {{"t", {{"A", T::Byte}}, {{300}}}}, {}, error));
  EXPECT_NE(error.find("fuera del rango"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(ruta));
}

TEST(FechaOle, DiasDesdeElOrigenYHoraComoFraccion) {
  struct {
    int a, m, d, h, mi, s;
    double esperado;
  } const casos[] = {
      {1899, 12, 30, 0, 0, 0, 0.0},        {1899, 12, 31, 0, 0, 0, 1.0},     {1900, 1, 1, 0, 0, 0, 2.0},
      {1900, 3, 1, 0, 0, 0, 61.0},         {2015, 1, 1, 0, 0, 0, 42005.0},   {2015, 3, 1, 12, 0, 0, 42064.5},
      {2016, 2, 29, 18, 0, 0, 42429.75},   {1899, 12, 29, 6, 0, 0, -1.25},   {1899, 12, 29, 0, 0, 0, -1.0},
      {1800, 1, 1, 0, 0, 0, -36522.0},     {2015, 6, 1, 0, 0, 1, 42156.0 + 1.0 / 86400.0},
  };
  for (const auto& c : casos) {
    EXPECT_DOUBLE_EQ(FechaOle(c.a, c.m, c.d, c.h, c.mi, c.s), c.esperado) << c.a << "-" << c.m << "-" << c.d;
  }
}

}  // namespace
}  // namespace qavi::tools
