#include "db/jet/ArchivoMdb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <random>

#include "db/jet/MdbPrueba.h"

namespace {

using namespace qavi;
using namespace qavi::jet;
using namespace qavi::prueba;
using tools::Fecha;
using tools::Nulo;
using tools::TTipoJet;

using namespace qavi::prueba::valor;

// Longer than any page, with accents: it spans a chain of long-value pages.
std::string MemoLargo() {
  std::string s;
  for (int i = 0; i < 20000; ++i) s += "ñandú " + std::to_string(i) + " ";
  return s;
}

const std::vector<tools::TColumnaJet> kColumnasTipos = {
    {"Id", TTipoJet::EnteroLargo}, {"Si", TTipoJet::Booleano}, {"B", TTipoJet::Byte},
    {"E", TTipoJet::Entero},       {"L", TTipoJet::EnteroLargo}, {"M", TTipoJet::Moneda},
    {"D", TTipoJet::Doble},        {"F", TTipoJet::FechaHora},   {"T", TTipoJet::Texto, 50},
    {"N", TTipoJet::Memo}};

struct TCasoFila {
  std::vector<tools::TValorJet> escrito;
  std::vector<V> leido;
};

// One row per concern; dates also as literals so the stored double is seen untouched.
std::vector<TCasoFila> CasosTipos() {
  return {
      {{1, true, 255, -32768, INT32_MIN, 1234.5678, 3.141592653589793, Fecha(2015, 12, 31, 23, 59, 59),
        "JOSÉ NÚÑEZ PEÑA", "memo corto"},
       {E(1), B(true), E(255), E(-32768), E(INT32_MIN), M(12345678), R(3.141592653589793),
        F(Fecha(2015, 12, 31, 23, 59, 59)), X("JOSÉ NÚÑEZ PEÑA"), X("memo corto")}},
      // Empty texts are not nulls; a date before 1899-12-30 keeps its time away from zero.
      {{2, false, 0, 32767, INT32_MAX, -0.0001, -1e300, Fecha(1800, 1, 1, 12), "", ""},
       {E(2), B(false), E(0), E(32767), E(INT32_MAX), M(-1), R(-1e300), F(-36522.5), X(""), X("")}},
      // Every column null: Yes/No cannot be null and reads as No.
      {{3, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo}, {E(3), B(false), N, N, N, N, N, N, N, N}},
      // Time of day alone; characters outside Latin-1 and outside the BMP; a memo of many pages.
      {{4, true, 1, 0, 0, 0.0, 0.0, 0.5, "€ ✓ 😀", MemoLargo()},
       {E(4), B(true), E(1), E(0), E(0), M(0), R(0.0), F(0.5), X("€ ✓ 😀"), X(MemoLargo())}},
      {{5, false, 7, -1, -1, 100000000.25, 1e-300, Fecha(1899, 12, 29, 6), "comillas \"dobles\" y 'simples'",
        std::string(3000, 'x')},
       {E(5), B(false), E(7), E(-1), E(-1), M(1000000002500), R(1e-300), F(-1.25), X("comillas \"dobles\" y 'simples'"),
        X(std::string(3000, 'x'))}},
  };
}

std::vector<tools::TTablaJet> TablasTipos() {
  tools::TTablaJet tipos{"tTipos", kColumnasTipos, {}};
  for (const auto& c : CasosTipos()) tipos.filas.push_back(c.escrito);
  tools::TTablaJet otra{"tOtra", {{"Clave", TTipoJet::Texto, 20}}, {{"A"}}};
  return {tipos, otra};
}

std::vector<std::vector<V>> LeeTodo(const TArchivoMdb& a, const std::string& tabla,
                                            const std::vector<std::string>& columnas = {}) {
  std::vector<std::vector<V>> filas;
  std::string error;
  EXPECT_TRUE(a.LeeFilas(tabla, columnas, [&](const std::vector<V>& f) { filas.push_back(f); }, error))
      << error;
  return filas;
}

std::unique_ptr<TArchivoMdb> AbreBien(const fs::path& ruta) {
  std::string error;
  auto a = TArchivoMdb::Abre(ruta, error);
  EXPECT_TRUE(a) << error;
  return a;
}

class ArchivoMdbTest : public ::testing::Test {
 protected:
  TCarpetaTemporal dir_;
};

TEST_F(ArchivoMdbTest, LeeCadaTipoComoLoDaJet) {
  for (bool comprime : {true, false}) {
    SCOPED_TRACE(comprime ? "texto comprimido" : "texto UCS-2");
    tools::TOpcionesMdb op;
    op.comprimeUnicode = comprime;
    auto a = AbreBien(EscribeMdb(dir_ / "tipos.mdb", TablasTipos(), op));
    ASSERT_TRUE(a);
    const auto filas = LeeTodo(*a, "tTipos");
    const auto casos = CasosTipos();
    ASSERT_EQ(filas.size(), casos.size());
    for (std::size_t i = 0; i < casos.size(); ++i)
      for (std::size_t c = 0; c < kColumnasTipos.size(); ++c)
        EXPECT_EQ(filas[i][c], casos[i].leido[c]) << "fila " << i + 1 << ", columna " << kColumnasTipos[c].nombre;
  }
}

TEST_F(ArchivoMdbTest, DescribeTablasYColumnas) {
  auto a = AbreBien(EscribeMdb(dir_ / "tipos.mdb", TablasTipos()));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Tablas(), (std::vector<std::string>{"tTipos", "tOtra"}));
  EXPECT_EQ(a->NombreTabla("TTIPOS"), "tTipos");
  EXPECT_EQ(a->NombreTabla("tNada"), "");

  std::vector<TColumnaMdb> cols;
  std::string error;
  ASSERT_TRUE(a->Columnas("ttipos", cols, error)) << error;
  const std::vector<TTipoColumna> tipos = {
      TTipoColumna::EnteroLargo, TTipoColumna::Booleano, TTipoColumna::Byte,      TTipoColumna::Entero,
      TTipoColumna::EnteroLargo, TTipoColumna::Moneda,   TTipoColumna::Doble,     TTipoColumna::FechaHora,
      TTipoColumna::Texto,       TTipoColumna::Memo};
  ASSERT_EQ(cols.size(), tipos.size());
  for (std::size_t i = 0; i < cols.size(); ++i) {
    EXPECT_EQ(cols[i].nombre, kColumnasTipos[i].nombre);
    EXPECT_EQ(cols[i].tipo, tipos[i]) << cols[i].nombre;
  }
  EXPECT_EQ(cols[8].tamano, 50);
}

TEST_F(ArchivoMdbTest, LeeSoloLasColumnasPedidasEnSuOrden) {
  auto a = AbreBien(EscribeMdb(dir_ / "tipos.mdb", TablasTipos()));
  ASSERT_TRUE(a);
  const auto filas = LeeTodo(*a, "TTIPOS", {"t", "ID", "si"});
  ASSERT_EQ(filas.size(), 5u);
  EXPECT_EQ(filas[0], (std::vector<V>{X("JOSÉ NÚÑEZ PEÑA"), E(1), B(true)}));
  EXPECT_EQ(filas[2], (std::vector<V>{N, E(3), B(false)}));
}

TEST_F(ArchivoMdbTest, TablaOColumnaInexistenteSeNombranEnElError) {
  auto a = AbreBien(EscribeMdb(dir_ / "tipos.mdb", TablasTipos()));
  ASSERT_TRUE(a);
  std::string error;
  int filas = 0;
  const auto cuenta = [&](const std::vector<V>&) { ++filas; };
  EXPECT_FALSE(a->LeeFilas("tCompUsr", {}, cuenta, error));
  EXPECT_EQ(error, "La tabla tCompUsr no existe en la base de datos");
  std::vector<TColumnaMdb> cols;
  error.clear();
  EXPECT_FALSE(a->Columnas("tCompUsr", cols, error));
  EXPECT_EQ(error, "La tabla tCompUsr no existe en la base de datos");
  EXPECT_FALSE(a->LeeFilas("ttipos", {"Id", "Foo"}, cuenta, error));
  EXPECT_EQ(error, "La tabla tTipos no tiene la columna Foo");
  EXPECT_EQ(filas, 0);
}

TEST_F(ArchivoMdbTest, MuchasFilasEnVariasPaginasEnOrden) {
  tools::TTablaJet t{"tMuchas", {{"N", TTipoJet::EnteroLargo}, {"Txt", TTipoJet::Texto, 30}, {"D", TTipoJet::Doble}}, {}};
  const int kFilas = 3000;
  for (int i = 0; i < kFilas; ++i) t.filas.push_back({i, "fila " + std::to_string(i), i * 0.5});
  auto a = AbreBien(EscribeMdb(dir_ / "muchas.mdb", {t}));
  ASSERT_TRUE(a);
  const auto filas = LeeTodo(*a, "tMuchas");
  ASSERT_EQ(filas.size(), static_cast<std::size_t>(kFilas));
  for (int i = 0; i < kFilas; i += 499)
    EXPECT_EQ(filas[i], (std::vector<V>{E(i), X("fila " + std::to_string(i)), R(i * 0.5)}));
  EXPECT_EQ(filas.back()[0], E(kFilas - 1));
}

TEST_F(ArchivoMdbTest, ElLectorPuedeDetenerLaLectura) {
  tools::TTablaJet t{"tMuchas", {{"N", TTipoJet::EnteroLargo}}, {}};
  for (int i = 0; i < 500; ++i) t.filas.push_back({i});
  auto a = AbreBien(EscribeMdb(dir_ / "muchas.mdb", {t}));
  ASSERT_TRUE(a);
  int vistas = 0;
  std::string error;
  EXPECT_FALSE(a->LeeFilas("tMuchas", {}, [&](const std::vector<V>&) { return ++vistas < 10; }, error));
  EXPECT_EQ(vistas, 10);
  EXPECT_EQ(error, "");
}

TEST_F(ArchivoMdbTest, AbreUnArchivoConContrasena) {
  tools::TOpcionesMdb op;
  op.password = "quibon";
  auto a = AbreBien(EscribeMdb(dir_ / "con-clave.mdb", TablasTipos(), op));
  ASSERT_TRUE(a);
  EXPECT_EQ(LeeTodo(*a, "tOtra"), (std::vector<std::vector<V>>{{X("A")}}));
}

// Slot in its page's row table of the row that holds `texto` (stored compressed, so as ASCII).
struct TRanura {
  std::size_t pagina = 0;  // byte offset of the page
  unsigned fila = 0;
  std::size_t posicion = 0;  // byte offset of the slot
};
TRanura RanuraDe(const std::vector<char>& b, const std::string& texto) {
  const auto it = std::search(b.begin(), b.end(), texto.begin(), texto.end());
  EXPECT_NE(it, b.end()) << texto;
  const std::size_t off = static_cast<std::size_t>(it - b.begin());
  TRanura r{off / 4096 * 4096, 0, 0};
  const auto le16 = [&](std::size_t p) { return static_cast<unsigned char>(b[p]) | (static_cast<unsigned char>(b[p + 1]) << 8); };
  const unsigned filas = le16(r.pagina + 12);
  for (unsigned f = 0; f < filas; ++f) {
    const unsigned ini = le16(r.pagina + 14 + 2 * f) & 0x1FFF;
    const unsigned fin = f == 0 ? 4096 : le16(r.pagina + 14 + 2 * (f - 1)) & 0x1FFF;
    if (ini <= off % 4096 && off % 4096 < fin) return {r.pagina, f, r.pagina + 14 + 2 * f};
  }
  ADD_FAILURE() << "sin ranura para " << texto;
  return r;
}

// 0x8000 in a slot marks a deleted row; 0x4000 a row moved elsewhere, whose slot holds a pointer
// (row number, then page) to the new place, itself marked deleted so that a scan meets it once.
TEST_F(ArchivoMdbTest, FilasBorradasSeSaltanYMovidasSeSiguen) {
  tools::TTablaJet t{"tFilas", {{"Txt", TTipoJet::Texto, 30}}, {{"UNO"}, {"DOS-MOVIDA"}, {"TRES"}, {"CUATRO-BORRADA"}}};
  const auto ruta = EscribeMdb(dir_ / "filas.mdb", {t});
  auto b = LeeBytes(ruta);
  const auto borrada = RanuraDe(b, "CUATRO-BORRADA");
  b[borrada.posicion + 1] = static_cast<char>(b[borrada.posicion + 1] | 0x80);
  const auto movida = RanuraDe(b, "DOS-MOVIDA");
  const auto destino = RanuraDe(b, "TRES");
  ASSERT_EQ(movida.pagina, destino.pagina);
  const unsigned inicio = (static_cast<unsigned char>(b[movida.posicion]) |
                           (static_cast<unsigned char>(b[movida.posicion + 1]) << 8)) & 0x1FFF;
  const std::uint32_t puntero = static_cast<std::uint32_t>(movida.pagina / 4096) << 8 | destino.fila;
  for (int i = 0; i < 4; ++i) b[movida.pagina + inicio + i] = static_cast<char>(puntero >> (8 * i));
  b[movida.posicion + 1] = static_cast<char>(b[movida.posicion + 1] | 0x40);
  b[destino.posicion + 1] = static_cast<char>(b[destino.posicion + 1] | 0x80);
  EscribeBytes(ruta, b);

  auto a = AbreBien(ruta);
  ASSERT_TRUE(a);
  EXPECT_EQ(LeeTodo(*a, "tFilas"), (std::vector<std::vector<V>>{{X("UNO")}, {X("TRES")}}));
}

// A long value whose page is gone reads as Ilegible, with the reason; the rest of the row reads.
TEST_F(ArchivoMdbTest, ValorLargoPerdidoEsIlegibleYElRestoDeLaFilaSeLee) {
  const std::string memo(1023, 'm');  // compressed, yet out of the row
  const auto ruta = EscribeMdb(dir_ / "largo.mdb", {{"tObs", {{"Id", TTipoJet::EnteroLargo}, {"Obs", TTipoJet::Memo}},
                                                       {{1, memo}, {2, "corta"}}}});
  RompeValorLargo(ruta, memo);
  auto a = AbreBien(ruta);
  ASSERT_TRUE(a);
  EXPECT_EQ(LeeTodo(*a, "tObs"),
            (std::vector<std::vector<V>>{{E(1), V::Ilegible("el valor largo no se encuentra en el archivo")},
                                         {E(2), X("corta")}}));
}

// ---- files that are not a readable Jet 4 database ------------------------------------------

TEST_F(ArchivoMdbTest, ArchivosQueNoSonJet4DanUnaRazonLegible) {
  const auto valido = LeeBytes(EscribeMdb(dir_ / "valido.mdb", TablasTipos()));
  ASSERT_GT(valido.size(), 3 * 4096u);
  const auto conCabecera = [&](const char* firma, char version) {
    auto b = valido;
    std::copy(firma, firma + 16, b.begin() + 4);
    b[0x14] = version;
    return b;
  };
  std::mt19937 azar(20160104);
  std::vector<char> aleatorio(64 * 1024);
  for (auto& c : aleatorio) c = static_cast<char>(azar());

  const std::string kNoEsJet4 = "El archivo no es una base de datos de Access (Jet 4)";
  const std::string kDanado = "El archivo está dañado o incompleto";
  const std::string kPosterior =
      "El archivo es de Access 2007 o posterior (.accdb); se necesita una base de datos de Access 2000-2003 (Jet 4)";
  struct TCaso {
    const char* nombre;
    std::optional<std::vector<char>> bytes;  // nullopt: the file does not exist
    std::string error;
  };
  const std::vector<TCaso> casos = {
      {"inexistente", std::nullopt, "El archivo no existe"},
      {"vacio", std::vector<char>{}, "El archivo está vacío"},
      {"texto", std::vector<char>{'V', 'e', 'l', 'm', 'a', 'r', '\n'}, kNoEsJet4},
      {"aleatorio", aleatorio, kNoEsJet4},
      {"accdb", conCabecera("Standard ACE DB", 2), kPosterior},
      {"jet5", conCabecera("Standard Jet DB", 2), kPosterior},
      {"jet3", conCabecera("Standard Jet DB", 0),
       "El archivo es de Access 97 (Jet 3); se necesita una base de datos de Access 2000-2003 (Jet 4)"},
      {"media pagina", std::vector<char>(valido.begin(), valido.begin() + 2000), kDanado},
      {"cortado", std::vector<char>(valido.begin(), valido.end() - 100), kDanado},
      {"una pagina", std::vector<char>(valido.begin(), valido.begin() + 4096), kDanado},
      {"sin datos", std::vector<char>(valido.begin(), valido.begin() + 3 * 4096), kDanado},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    const auto ruta = dir_ / (std::string(c.nombre) + ".mdb");
    if (c.bytes) EscribeBytes(ruta, *c.bytes);
    std::string error;
    EXPECT_FALSE(TArchivoMdb::Abre(ruta, error));
    EXPECT_EQ(error, c.error);
  }
  std::string error;
  EXPECT_FALSE(TArchivoMdb::Abre(dir_ / "", error));
  EXPECT_EQ(error, "La ruta indicada es una carpeta, no un archivo");
}

// Each page of a valid file spoiled in turn: opening and reading fail with a reason or succeed,
// never crash or hang.
TEST_F(ArchivoMdbTest, PaginasEstropeadasNoRompenLaLectura) {
  const auto valido = LeeBytes(EscribeMdb(dir_ / "valido.mdb", TablasTipos()));
  std::mt19937 azar(7);
  const auto ruta = dir_ / "estropeado.mdb";
  for (std::size_t pagina = 1; pagina < valido.size() / 4096; ++pagina) {
    for (int modo = 0; modo < 3; ++modo) {
      SCOPED_TRACE("pagina " + std::to_string(pagina) + ", modo " + std::to_string(modo));
      auto b = valido;
      for (std::size_t i = 0; i < 4096; ++i) {
        char& c = b[pagina * 4096 + i];
        c = modo == 0 ? 0 : modo == 1 ? static_cast<char>(0xFF) : (i >= 8 ? static_cast<char>(azar()) : c);
      }
      EscribeBytes(ruta, b);
      std::string error;
      auto a = TArchivoMdb::Abre(ruta, error);
      if (!a) {
        EXPECT_FALSE(error.empty());
        continue;
      }
      for (const auto& t : a->Tablas()) {
        error.clear();
        if (!a->LeeFilas(t, {}, [](const std::vector<V>&) {}, error)) {
          EXPECT_FALSE(error.empty()) << t;
        }
      }
    }
  }
}

}  // namespace
