// Every Jet 4 type and table layout: written by the project's writer, read by the reader, printed by
// jet-exporta and loaded into SQLite (as a SQLite table and as a memory table) for the engine.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <sstream>

#include "Auxiliares.h"
#include "db/jet/CargadorTablas.h"
#include "db/jet/ConexionJet.h"
#include "jet-exporta/ExportaJet.h"
#include "jetwriter/TablaJet.h"

namespace qavi::tools {
namespace {

using namespace qavi::prueba::valor;
using prueba::TCarpetaTemporal;
using T = TTipoJet;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

V S(float f) { return V::Simple(f); }
V D(bool negativo, std::uint64_t alto, std::uint64_t bajo, int precision, int escala) {
  return V::Decimal({negativo, alto, bajo, precision, escala});
}
V Bin(std::string b) { return V::Binario(std::move(b)); }
TValorJet Bytes(std::string b) { return TValorJet::Bytes(std::move(b)); }
std::string Repite(const std::string& s, std::size_t veces) {
  std::string r;
  for (std::size_t i = 0; i < veces; ++i) r += s;
  return r;
}
std::string Hex(const std::string& b) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string r;
  for (unsigned char c : b) r += {kHex[c >> 4], kHex[c & 15]};
  return r;
}

// A loaded value as SQLite holds it: its storage class and its exact value.
std::string Celda(sqlite3_stmt* st, int i) {
  switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL: return "null";
    case SQLITE_INTEGER: return "integer " + std::to_string(sqlite3_column_int64(st, i));
    case SQLITE_FLOAT: {
      // SQLite's own tables keep no negative zero (memory tables do); to the engine both are zero.
      const double d = sqlite3_column_double(st, i) == 0 ? 0.0 : sqlite3_column_double(st, i);
      char buf[64];
      const auto r = std::to_chars(buf, buf + sizeof buf, d);
      return "real " + std::string(buf, r.ptr);
    }
    case SQLITE_TEXT: return "text " + std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
    default:
      return "blob " + Hex(std::string(static_cast<const char*>(sqlite3_column_blob(st, i)),
                                       static_cast<std::size_t>(sqlite3_column_bytes(st, i))));
  }
}

// Rows of a table loaded into SQLite (as a SQLite table, or from memory with filasParaMemoria 0).
std::vector<std::vector<std::string>> CargaYLee(const std::filesystem::path& mdb, const std::string& tabla,
                                                std::size_t filasParaMemoria) {
  std::vector<std::vector<std::string>> filas;
  std::string error;
  auto archivo = jet::TArchivoMdb::Abre(mdb, error);
  EXPECT_TRUE(archivo) << error;
  auto conexion = jet::TConexionJet::Abre(error);
  EXPECT_TRUE(conexion) << error;
  if (archivo && conexion && jet::CargaTabla(*archivo, *conexion, tabla, {}, error, filasParaMemoria)) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(conexion->Db(), ("SELECT * FROM \"" + tabla + "\"").c_str(), -1, &st, nullptr);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
      filas.emplace_back();
      for (int i = 0; i < sqlite3_column_count(st); ++i) filas.back().push_back(Celda(st, i));
    }
    sqlite3_finalize(st);
  } else {
    ADD_FAILURE() << tabla << ": " << error;
  }
  return filas;
}

std::string Exporta(const std::filesystem::path& mdb, const std::string& tabla) {
  std::ostringstream salida, errores;
  EXPECT_EQ(ExportaJet(mdb, {tabla}, salida, errores), 0) << errores.str();
  return salida.str();
}

struct TCasoTipo {
  const char* nombre;
  TColumnaJet columna;
  TValorJet escrito;
  V leido;
  std::string json;    // as jet-exporta prints it
  std::string sqlite;  // as the engine gets it
};

const std::string kMemoUnaPagina = Repite("Operación inusual, ñandú. ", 60);       // out of the row, one page
const std::string kMemoVariasPaginas = Repite("Expediente con ñ, á, é. ", 4000);    // a chain of pages
const std::string kOleUnaPagina = Repite(std::string("\x00\x01\xFE\xFF", 4), 700);  // 2,800 bytes
const std::string kOleVariasPaginas = Repite(std::string("OLE\x00\x80", 5), 20000);  // 100,000 bytes

std::vector<TCasoTipo> CasosTipos() {
  const auto texto = [](const std::string& s) { return "\"" + s + "\""; };
  return {
      {"SiNoVerdadero", {"V", T::Booleano}, true, B(true), "true", "integer -1"},
      {"SiNoFalso", {"V", T::Booleano}, false, B(false), "false", "integer 0"},
      {"ByteLimites", {"V", T::Byte}, 255, E(255), "255", "integer 255"},
      {"EnteroMinimo", {"V", T::Entero}, -32768, E(-32768), "-32768", "integer -32768"},
      {"LargoMinimo", {"V", T::EnteroLargo}, INT32_MIN, E(INT32_MIN), "-2147483648", "integer -2147483648"},
      {"LargoMaximo", {"V", T::EnteroLargo}, INT32_MAX, E(INT32_MAX), "2147483647", "integer 2147483647"},
      // Currency: exact scaled integers; the engine gets the real of the value.
      {"MonedaMinima", {"V", T::Moneda}, "-922337203685477.5808", M(INT64_MIN), texto("-922337203685477.5808"),
       "real -922337203685477.6"},
      {"MonedaMaxima", {"V", T::Moneda}, "922337203685477.5807", M(INT64_MAX), texto("922337203685477.5807"),
       "real 922337203685477.6"},
      {"MonedaDiezmilesima", {"V", T::Moneda}, "-0.0001", M(-1), texto("-0.0001"), "real -1e-04"},
      {"MonedaCero", {"V", T::Moneda}, 0, M(0), texto("0.0000"), "real 0"},
      {"MonedaDesdeReal", {"V", T::Moneda}, 1234.5678, M(12345678), texto("1234.5678"), "real 1234.5678"},
      // Single: the decimal it shows, as the engine always had it.
      {"SimpleDecimal", {"V", T::Simple}, 1.1, S(1.1f), "1.1", "real 1.1"},
      {"SimpleNegativoCero", {"V", T::Simple}, -0.0, S(-0.0f), "-0", "real 0"},
      {"SimpleMaximo", {"V", T::Simple}, static_cast<double>(FLT_MAX), S(FLT_MAX), "3.4028235e+38", "real 3.4028235e+38"},
      {"SimpleSubnormal", {"V", T::Simple}, 1e-45, S(1e-45f), "1e-45", "real 1e-45"},
      {"SimpleInfinito", {"V", T::Simple}, -kInf, S(-std::numeric_limits<float>::infinity()), texto("-Infinity"),
       "real -inf"},
      {"DobleFraccion", {"V", T::Doble}, 0.1, R(0.1), "0.1", "real 0.1"},
      {"DobleNegativoCero", {"V", T::Doble}, -0.0, R(-0.0), "-0", "real 0"},
      {"DobleMinimo", {"V", T::Doble}, -DBL_MAX, R(-DBL_MAX), "-1.7976931348623157e+308", "real -1.7976931348623157e+308"},
      {"DobleDiminuto", {"V", T::Doble}, 1e-300, R(1e-300), "1e-300", "real 1e-300"},
      {"DobleNoEsNumero", {"V", T::Doble}, kNaN, R(kNaN), texto("NaN"), "null"},  // SQLite has no NaN
      {"DobleInfinito", {"V", T::Doble}, kInf, R(kInf), texto("Infinity"), "real inf"},
      // Date/Time: the stored day number; Jet shows it to the second, negative days before 1899-12-30.
      {"FechaConHora", {"V", T::FechaHora}, Fecha(2015, 3, 1, 13, 45, 7), F(Fecha(2015, 3, 1, 13, 45, 7)),
       texto("2015-03-01 13:45:07"), "real 42064.57299768519"},
      {"FechaAntesDelOrigen", {"V", T::FechaHora}, -1.25, F(-1.25), texto("1899-12-29 06:00:00"), "real -1.25"},
      {"FechaDespuesDelOrigen", {"V", T::FechaHora}, 1.25, F(1.25), texto("1899-12-31 06:00:00"), "real 1.25"},
      {"FechaSigloXIX", {"V", T::FechaHora}, Fecha(1850, 6, 15, 18, 0, 0), F(Fecha(1850, 6, 15, 18, 0, 0)),
       texto("1850-06-15 18:00:00"), "real -18095.75"},
      {"FechaPrimerDia", {"V", T::FechaHora}, Fecha(100, 1, 1), F(-657434), texto("0100-01-01 00:00:00"),
       "real -657434"},
      {"FechaUltimoSegundo", {"V", T::FechaHora}, Fecha(9999, 12, 31, 23, 59, 59), F(Fecha(9999, 12, 31, 23, 59, 59)),
       texto("9999-12-31 23:59:59"), "real 2958465.999988426"},
      {"FechaRedondeaAlDiaSiguiente", {"V", T::FechaHora}, 0.999999999, F(0.999999999), texto("1899-12-31 00:00:00"),
       "real 0.999999999"},
      // Decimal: precision and scale of the column, sign, exact.
      {"DecimalEntero", {"V", T::Decimal, 0, false, 18, 0}, 1, D(false, 0, 1, 18, 0), texto("1"), "real 1"},
      {"DecimalConEscala", {"V", T::Decimal, 0, false, 18, 4}, "123.4567", D(false, 0, 1234567, 18, 4),
       texto("123.4567"), "real 123.4567"},
      {"DecimalNegativoConCeros", {"V", T::Decimal, 0, false, 5, 2}, "-0.5", D(true, 0, 50, 5, 2), texto("-0.50"),
       "real -0.5"},
      {"DecimalVeintiochoDigitos", {"V", T::Decimal, 0, false, 28, 0}, "-9999999999999999999999999999",
       D(true, 0x204FCE5E, 0x3E2502610FFFFFFF, 28, 0), texto("-9999999999999999999999999999"), "real -1e+28"},
      {"DecimalTodoEscala", {"V", T::Decimal, 0, false, 28, 28}, "0.0000000000000000000000000001",
       D(false, 0, 1, 28, 28), texto("0.0000000000000000000000000001"), "real 1e-28"},
      // Text: variable and fixed length (blank-padded, as Jet stores it), any Unicode.
      {"TextoVacioNoEsNulo", {"V", T::Texto, 10}, "", X(""), texto(""), "text "},
      {"TextoUnicode", {"V", T::Texto, 30}, "ÑANDÚ € 漢字 😀", X("ÑANDÚ € 漢字 😀"), texto("ÑANDÚ € 漢字 😀"),
       "text ÑANDÚ € 漢字 😀"},
      {"TextoEscapes", {"V", T::Texto, 30}, "a\"b\\c\td", X("a\"b\\c\td"), "\"a\\\"b\\\\c\\td\"", "text a\"b\\c\td"},
      {"TextoFijo", {"V", T::Texto, 5, true}, "AB", X("AB   "), texto("AB   "), "text AB   "},
      {"TextoFijoLleno", {"V", T::Texto, 3, true}, "ÁÉÍ", X("ÁÉÍ"), texto("ÁÉÍ"), "text ÁÉÍ"},
      {"MemoEnLaFila", {"V", T::Memo}, "corto con ñ", X("corto con ñ"), texto("corto con ñ"), "text corto con ñ"},
      {"MemoEnOtraPagina", {"V", T::Memo}, kMemoUnaPagina, X(kMemoUnaPagina), texto(kMemoUnaPagina),
       "text " + kMemoUnaPagina},
      {"MemoEnVariasPaginas", {"V", T::Memo}, kMemoVariasPaginas, X(kMemoVariasPaginas), texto(kMemoVariasPaginas),
       "text " + kMemoVariasPaginas},
      // Binary and OLE: bytes as stored (a fixed Binary is zero-padded); the engine gets blobs.
      {"BinarioVacio", {"V", T::Binario, 10}, Bytes(""), Bin(""), texto("0x"), "blob "},
      {"BinarioConCeros", {"V", T::Binario, 10}, Bytes(std::string("\x00\xFF\x10", 3)), Bin(std::string("\x00\xFF\x10", 3)),
       texto("0x00ff10"), "blob 00ff10"},
      {"BinarioFijo", {"V", T::Binario, 4, true}, Bytes("\x01\x02"), Bin(std::string("\x01\x02\x00\x00", 4)),
       texto("0x01020000"), "blob 01020000"},
      {"OleEnLaFila", {"V", T::Ole}, Bytes("\x89PNG"), Bin("\x89PNG"), texto("0x89504e47"), "blob 89504e47"},
      {"OleEnOtraPagina", {"V", T::Ole}, Bytes(kOleUnaPagina), Bin(kOleUnaPagina), texto("0x" + Hex(kOleUnaPagina)),
       "blob " + Hex(kOleUnaPagina)},
      {"OleEnVariasPaginas", {"V", T::Ole}, Bytes(kOleVariasPaginas), Bin(kOleVariasPaginas),
       texto("0x" + Hex(kOleVariasPaginas)), "blob " + Hex(kOleVariasPaginas)},
      // GUID: first three groups little endian in the file; the engine gets its text.
      {"Guid", {"V", T::Guid}, "{0c4f1d2a-3b5e-4f60-8a7b-9c0d1e2f3a4b}",
       V::Guid(std::string("\x2A\x1D\x4F\x0C\x5E\x3B\x60\x4F\x8A\x7B\x9C\x0D\x1E\x2F\x3A\x4B", 16)),
       texto("{0C4F1D2A-3B5E-4F60-8A7B-9C0D1E2F3A4B}"), "text {0C4F1D2A-3B5E-4F60-8A7B-9C0D1E2F3A4B}"},
  };
}

// Each case is a one-column table of its own, with a null in a second row: every type reads its
// null as NULL (Yes/No, which cannot be null, as No).
TEST(TiposJet, CadaTipoComoSeGuardaSeExportaYSeCarga) {
  TCarpetaTemporal dir;
  const auto ruta = dir / "tipos.mdb";
  const auto casos = CasosTipos();
  std::vector<TTablaJet> tablas;
  for (const auto& c : casos) tablas.push_back({c.nombre, {c.columna}, {{c.escrito}, {Nulo}}});
  std::string error;
  ASSERT_TRUE(EscribeMdb(ruta, tablas, {}, error)) << error;

  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    const bool sino = c.columna.tipo == T::Booleano;
    const auto filas = prueba::LeeTabla(ruta, c.nombre);
    ASSERT_EQ(filas.size(), 2u);
    EXPECT_EQ(filas[0][0], c.leido);
    EXPECT_EQ(filas[1][0], sino ? B(false) : N);
    EXPECT_EQ(Exporta(ruta, c.nombre), "{\"tabla\": \"" + std::string(c.nombre) + "\", \"columnas\": [\"V\"]}\n[" +
                                           c.json + "]\n[" + (sino ? "false" : "null") + "]\n");
    for (const std::size_t filasParaMemoria : {std::numeric_limits<std::size_t>::max(), std::size_t{0}}) {
      EXPECT_EQ(CargaYLee(ruta, c.nombre, filasParaMemoria),
                (std::vector<std::vector<std::string>>{{c.sqlite}, {sino ? "integer 0" : "null"}}))
          << (filasParaMemoria ? "tabla de SQLite" : "tabla en memoria");
    }
  }
}

// ---- layouts -------------------------------------------------------------------------------

struct TCasoDisposicion {
  const char* nombre;
  TTablaJet tabla;
  std::string json;                                // the rows jet-exporta prints after the header
  std::vector<std::vector<std::string>> sqlite;  // the rows the engine gets
};

std::vector<TCasoDisposicion> CasosDisposicion() {
  using C = TColumnaJet;
  C agregadaMonto{"Monto", T::Moneda};
  agregadaMonto.desdeFila = 2;
  C agregadaActivo{"Activo", T::Booleano};
  agregadaActivo.desdeFila = 2;
  C agregadaObs{"Obs", T::Memo};
  agregadaObs.desdeFila = 3;
  C borradaTexto{"Viejo", T::Texto, 10};
  borradaTexto.borrada = true;
  C borradaMemo{"Nota", T::Memo};
  borradaMemo.borrada = true;
  C borradaLargo{"Antes", T::EnteroLargo};
  borradaLargo.borrada = true;
  C borradaOtra{"Otra", T::Texto, 5};
  borradaOtra.borrada = true;
  TCasoDisposicion desbordadas{"tDesbordadas",
                               {"tDesbordadas", {{"N", T::EnteroLargo}, {"Txt", T::Texto, 40}},
                                {{1, "UNO"}, {2, "DOS, MOVIDA"}, {3, "TRES"}, {4, "CUATRO, MOVIDA"}, {5, "CINCO"}}},
                               "[1, \"UNO\"]\n[2, \"DOS, MOVIDA\"]\n[3, \"TRES\"]\n[4, \"CUATRO, MOVIDA\"]\n[5, \"CINCO\"]\n",
                               {{"integer 1", "text UNO"},
                                {"integer 2", "text DOS, MOVIDA"},
                                {"integer 3", "text TRES"},
                                {"integer 4", "text CUATRO, MOVIDA"},
                                {"integer 5", "text CINCO"}}};
  desbordadas.tabla.desbordadas = {1, 3};
  TCasoDisposicion borradas{"tBorradas",
                            {"tBorradas", {{"N", T::EnteroLargo}, {"Txt", T::Texto, 40}},
                             {{1, "BORRADA"}, {2, "DOS"}, {3, "BORRADA"}, {4, "CUATRO"}}},
                            "[2, \"DOS\"]\n[4, \"CUATRO\"]\n",
                            {{"integer 2", "text DOS"}, {"integer 4", "text CUATRO"}}};
  borradas.tabla.borradas = {0, 2};
  // Deleted and added columns, a moved row and a deleted one in the same table.
  TCasoDisposicion todo{"tTodoJunto",
                        {"tTodoJunto",
                         {{"Id", T::EnteroLargo}, borradaTexto, {"Nombre", T::Texto, 20}, borradaLargo, agregadaMonto,
                          agregadaActivo},
                         {{1, "x", "ANA", 9, Nulo, Nulo},
                          {2, "y", "LUIS", 8, Nulo, Nulo},
                          {3, "z", "EVA", 7, "10.5", true},
                          {4, Nulo, "BORRADA", Nulo, "1", true}}},
                        "[1, \"ANA\", null, false]\n[2, \"LUIS\", null, false]\n[3, \"EVA\", \"10.5000\", true]\n",
                        {{"integer 1", "text ANA", "null", "integer 0"},
                         {"integer 2", "text LUIS", "null", "integer 0"},
                         {"integer 3", "text EVA", "real 10.5", "integer -1"}}};
  todo.tabla.desbordadas = {1};
  todo.tabla.borradas = {3};
  // Wider than a page of definition: it goes on in a second one.
  TCasoDisposicion ancha{"tAncha", {"tAncha", {}, {{}}}, "[", {{}}};
  for (int i = 0; i < 150; ++i) {
    const std::string nombre = "Columna numero " + std::to_string(i);
    ancha.tabla.columnas.push_back({nombre, i % 2 ? T::EnteroLargo : T::Texto, 10});
    ancha.tabla.filas[0].push_back(i % 2 ? TValorJet(i) : TValorJet("v" + std::to_string(i)));
    ancha.json += (i ? ", " : "") + (i % 2 ? std::to_string(i) : "\"v" + std::to_string(i) + "\"");
    ancha.sqlite[0].push_back(i % 2 ? "integer " + std::to_string(i) : "text v" + std::to_string(i));
  }
  ancha.json += "]\n";
  return {
      // Deleted columns keep their data in the rows and their slots in the layout: more variable
      // columns than columns, column numbers with gaps.
      {"tColumnasBorradas",
       {"tColumnasBorradas",
        {{"Id", T::EnteroLargo}, borradaTexto, borradaMemo, {"Nombre", T::Texto, 20}, borradaOtra},
        {{1, "viejo", "nota", "ANA", "otra"}, {2, Nulo, Nulo, "LUIS", Nulo}}},
       "[1, \"ANA\"]\n[2, \"LUIS\"]\n",
       {{"integer 1", "text ANA"}, {"integer 2", "text LUIS"}}},
      // Rows written before a column was added are shorter: the new columns read as null (No).
      {"tColumnasAgregadas",
       {"tColumnasAgregadas",
        {{"Id", T::EnteroLargo}, {"Nombre", T::Texto, 20}, agregadaMonto, agregadaActivo, agregadaObs},
        {{1, "ANA", Nulo, Nulo, Nulo},
         {2, "LUIS", Nulo, Nulo, Nulo},
         {3, "EVA", "-2.5", true, Nulo},
         {4, "SOL", "7", false, "nota"}}},
       "[1, \"ANA\", null, false, null]\n[2, \"LUIS\", null, false, null]\n[3, \"EVA\", \"-2.5000\", true, null]\n"
       "[4, \"SOL\", \"7.0000\", false, \"nota\"]\n",
       {{"integer 1", "text ANA", "null", "integer 0", "null"},
        {"integer 2", "text LUIS", "null", "integer 0", "null"},
        {"integer 3", "text EVA", "real -2.5", "integer -1", "null"},
        {"integer 4", "text SOL", "real 7", "integer 0", "text nota"}}},
      desbordadas,
      borradas,
      todo,
      ancha,
  };
}

std::string Cabecera(const TTablaJet& t) {
  std::string s = "{\"tabla\": \"" + t.nombre + "\", \"columnas\": [";
  bool primera = true;
  for (const auto& c : t.columnas) {
    if (c.borrada) continue;
    s += (primera ? "\"" : ", \"") + c.nombre + "\"";
    primera = false;
  }
  return s + "]}\n";
}

TEST(TiposJet, CadaDisposicionDeAccessSeLeeEntera) {
  TCarpetaTemporal dir;
  const auto ruta = dir / "disposiciones.mdb";
  const auto casos = CasosDisposicion();
  std::vector<TTablaJet> tablas;
  for (const auto& c : casos) tablas.push_back(c.tabla);
  std::string error;
  ASSERT_TRUE(EscribeMdb(ruta, tablas, {}, error)) << error;
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    EXPECT_EQ(Exporta(ruta, c.nombre), Cabecera(c.tabla) + c.json);
    for (const std::size_t filasParaMemoria : {std::numeric_limits<std::size_t>::max(), std::size_t{0}})
      EXPECT_EQ(CargaYLee(ruta, c.nombre, filasParaMemoria), c.sqlite);
  }
}

}  // namespace
}  // namespace qavi::tools
