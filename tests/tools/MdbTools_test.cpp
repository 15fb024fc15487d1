// The files must also read back with the Debian mdbtools commands, an implementation that is not ours.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Auxiliares.h"
#include "jetwriter/TablaJet.h"
#include "jetwriter/VelmarFixture.h"

namespace qavi::tools {
namespace {

using prueba::TCarpetaTemporal;
using T = TTipoJet;

std::optional<std::filesystem::path> EnPath(const std::string& programa) {
  const char* path = std::getenv("PATH");
  if (!path) return std::nullopt;
  std::stringstream partes(path);
  std::string dir;
#ifdef _WIN32
  constexpr char kSeparador = ';';
#else
  constexpr char kSeparador = ':';
#endif
  while (std::getline(partes, dir, kSeparador)) {
    const std::filesystem::path p = std::filesystem::path(dir) / programa;
    std::error_code ec;
    if (!dir.empty() && std::filesystem::is_regular_file(p, ec)) return p;
  }
  return std::nullopt;
}

std::string Lee(const std::filesystem::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

struct TSalida {
  int codigo;
  std::string texto;
  std::string errores;
};

TSalida Ejecuta(const TCarpetaTemporal& dir, const std::string& programa, const std::string& argumentos) {
  const auto out = dir / "salida.txt";
  const auto err = dir / "errores.txt";
  const std::string comando =
      programa + " " + argumentos + " > \"" + out.string() + "\" 2> \"" + err.string() + "\"";
  const int codigo = std::system(comando.c_str());
  return {codigo, Lee(out), Lee(err)};
}

#define REQUIERE_MDBTOOLS()                                                           \
  if (!EnPath("mdb-export") || !EnPath("mdb-tables") || !EnPath("mdb-schema")) {      \
    GTEST_SKIP() << "mdbtools no está instalado";                                     \
  }

std::string Comillas(const std::filesystem::path& p) { return "\"" + p.string() + "\""; }

std::string Repite(const std::string& s, std::size_t veces) {
  std::string r;
  for (std::size_t i = 0; i < veces; ++i) r += s;
  return r;
}

// mdb-export prints an empty text like a null: both leave the field empty.
TEST(MdbTools, MdbExportDevuelveCadaValor) {
  REQUIERE_MDBTOOLS();
  TCarpetaTemporal dir;
  const auto ruta = dir / "mezcla.mdb";
  const std::string memoLargo = Repite("Operación inusual, ñandú. ", 3000);
  ASSERT_GT(memoLargo.size(), 65536u);
  const TTablaJet tabla{"tMezcla",
                        {{"Activo", T::Booleano},
                         {"Edad", T::Byte},
                         {"Nivel", T::Entero},
                         {"Folio", T::EnteroLargo},
                         {"Importe", T::Moneda},
                         {"Cotizacion", T::Doble},
                         {"Fecha", T::FechaHora},
                         {"Nombre", T::Texto, 30},
                         {"Obs", T::Memo}},
                        {{true, 255, -32768, 2147483647, 1234.5678, 15.5, Fecha(2015, 3, 1, 13, 45, 7), "PEÑA ÁLVAREZ",
                          "Nota con ñ"},
                         {false, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo},
                         {false, 0, 32767, -2147483647 - 1, -0.5, 0.1, Fecha(1899, 12, 31, 23, 59, 59), "a \"b\", c",
                          memoLargo},
                         {true, 1, 0, 0, 0, 17.21, Fecha(2016, 12, 31), "", ""}}};
  std::string error;
  ASSERT_TRUE(EscribeMdb(ruta, {tabla}, {}, error)) << error;

  const TSalida s = Ejecuta(dir, "mdb-export", "-T '%Y-%m-%d %H:%M:%S' " + Comillas(ruta) + " tMezcla");
  ASSERT_EQ(s.codigo, 0) << s.errores;
  EXPECT_EQ(s.errores, "");
  const std::string esperado =
      "Activo,Edad,Nivel,Folio,Importe,Cotizacion,Fecha,Nombre,Obs\n"
      "1,255,-32768,2147483647,1234.5678,15.5,\"2015-03-01 13:45:07\",\"PEÑA ÁLVAREZ\",\"Nota con ñ\"\n"
      "0,,,,,,,,\n"
      "0,0,32767,-2147483648,-0.5000,0.1,\"1899-12-31 23:59:59\",\"a \"\"b\"\", c\",\"" + memoLargo + "\"\n"
      "1,1,0,0,0.0000,17.21,\"2016-12-31 00:00:00\",,\n";
  EXPECT_EQ(s.texto, esperado);
}

// Types beyond the Velmar ones, and the layouts Access leaves behind (deleted and added columns,
// moved and deleted rows). mdbtools gives moved rows after the others: compared as sets of lines.
TEST(MdbTools, MdbExportLeeTiposYDisposicionesDeAccess) {
  REQUIERE_MDBTOOLS();
  TCarpetaTemporal dir;
  const auto ruta = dir / "access.mdb";
  TColumnaJet borrada{"Vieja", T::Texto, 10};
  borrada.borrada = true;
  TColumnaJet agregada{"Nueva", T::Memo};
  agregada.desdeFila = 1;
  TTablaJet tipos{"tTipos",
                  {{"S", T::Simple}, {"N", T::Decimal, 0, false, 18, 4}, {"F", T::Texto, 4, true}, {"O", T::Ole}},
                  {{1.5, "-123.4567", "AB", TValorJet::Bytes("\x89PNG")}, {Nulo, 7, "ABCD", Nulo}}};
  TTablaJet filas{"tFilas", {{"N", T::EnteroLargo}, borrada, agregada},
                  {{1, "x", Nulo}, {2, "y", "dos"}, {3, "z", "tres"}, {4, Nulo, "cuatro"}}};
  filas.desbordadas = {1};
  filas.borradas = {2};
  std::string error;
  ASSERT_TRUE(EscribeMdb(ruta, {tipos, filas}, {}, error)) << error;
  const auto lineas = [](const std::string& texto) {
    std::multiset<std::string> r;
    std::stringstream s(texto);
    for (std::string l; std::getline(s, l);) r.insert(l);
    return r;
  };
  const TSalida t = Ejecuta(dir, "mdb-export", "-b hex " + Comillas(ruta) + " tTipos");
  ASSERT_EQ(t.codigo, 0) << t.errores;
  EXPECT_EQ(t.texto, "S,N,F,O\n1.5,-123.4567,\"AB  \",\"89504E47\"\n,7.0000,\"ABCD\",\n");
  const TSalida f = Ejecuta(dir, "mdb-export", Comillas(ruta) + " tFilas");
  ASSERT_EQ(f.codigo, 0) << f.errores;
  EXPECT_EQ(lineas(f.texto), lineas("N,Nueva\n1,\n2,\"dos\"\n4,\"cuatro\"\n"));
}

class MdbToolsConPassword : public ::testing::TestWithParam<std::string> {};

TEST_P(MdbToolsConPassword, MdbTablesListaTodasLasTablas) {
  REQUIERE_MDBTOOLS();
  TCarpetaTemporal dir;
  TVelmarFixture f;
  f.Password(GetParam()).AgregaTabla({"Tabla Extra", {{"Número", T::EnteroLargo}}, {{1}}});
  std::string error;
  ASSERT_TRUE(f.Escribe(dir.Ruta(), &error)) << error;
  const TSalida s = Ejecuta(dir, "mdb-tables", "-1 " + Comillas(dir / "DataBase" / "Velmar.mdb"));
  ASSERT_EQ(s.codigo, 0) << s.errores;
  EXPECT_EQ(s.texto, "tEmpresa\ntEmps\ntCompUsr\ntDivisas\ntSector\ntCliente\ntMovtos\ntProces\ntRelevan\nTabla Extra\n");
  const TSalida e = Ejecuta(dir, "mdb-export", Comillas(dir / "DataBase" / "Velmar.mdb") + " tEmps");
  EXPECT_EQ(e.texto, "ClaveEmp,Password,Nivel,Nombre\n\"ADMIN\",\"DEMO\",0,\"ADMINISTRADOR\"\n");
}

INSTANTIATE_TEST_SUITE_P(Password, MdbToolsConPassword, ::testing::Values("", "quibon", "Contraseña20caracter"),
                         [](const auto& i) { return i.index == 0 ? std::string("Sin") : "Con" + std::to_string(i.index); });

// The fixture reproduces the column names and types of a real Velmar database as mdbtools sees them.
TEST(MdbTools, MdbSchemaDelFixtureEsElDeVelmar) {
  REQUIERE_MDBTOOLS();
  TCarpetaTemporal dir;
  std::string error;
  ASSERT_TRUE(TVelmarFixture().Escribe(dir.Ruta(), &error)) << error;
  const TSalida s = Ejecuta(dir, "mdb-schema", Comillas(dir / "DataBase" / "Velmar.mdb"));
  ASSERT_EQ(s.codigo, 0) << s.errores;
  const auto desde = s.texto.find("CREATE TABLE");
  ASSERT_NE(desde, std::string::npos) << s.texto;
  auto tabla = [](const std::string& nombre, const std::vector<std::string>& columnas) {
    std::string r = "CREATE TABLE [" + nombre + "]\n (\n";
    for (std::size_t i = 0; i < columnas.size(); ++i) r += "\t" + columnas[i] + (i + 1 < columnas.size() ? ", \n" : "\n");
    return r + ");\n\n";
  };
  const std::vector<std::string> operacion = {
      "[Tipo]\t\t\tText (1)",        "[Folio]\t\t\tLong Integer",       "[Fecha]\t\t\tDateTime",
      "[NumeroDivisa]\t\t\tLong Integer", "[Cotizacion]\t\t\tDouble",    "[Cantidad]\t\t\tDouble",
      "[ClaveCliente]\t\t\tText (20)", "[NumEmp]\t\t\tLong Integer",      "[Cancelado]\t\t\tBoolean NOT NULL"};
  const std::string esperado =
      tabla("tEmpresa", {"[NumEmp]\t\t\tLong Integer", "[Empresa]\t\t\tText (100)", "[RFC]\t\t\tText (20)",
                         "[RegistroCC]\t\t\tText (30)"}) +
      tabla("tEmps", {"[ClaveEmp]\t\t\tText (20)", "[Password]\t\t\tText (20)", "[Nivel]\t\t\tInteger",
                      "[Nombre]\t\t\tText (60)"}) +
      tabla("tCompUsr", {"[Usuario]\t\t\tText (20)", "[Equipo]\t\t\tText (50)"}) +
      tabla("tDivisas", {"[NumeroDivisa]\t\t\tLong Integer", "[Simbolo]\t\t\tText (10)", "[Divisa]\t\t\tText (50)",
                         "[Pagare]\t\t\tBoolean NOT NULL"}) +
      tabla("tSector",
            {"[ClaveSector]\t\t\tLong Integer", "[Sector]\t\t\tText (100)", "[ClaveActividad]\t\t\tText (10)"}) +
      tabla("tCliente", {"[ClaveCliente]\t\t\tText (20)", "[Nombre]\t\t\tText (100)",
                         "[ApellidoPaterno]\t\t\tText (50)", "[ApellidoMaterno]\t\t\tText (50)",
                         "[PersonaMoral]\t\t\tBoolean NOT NULL", "[Extranjero]\t\t\tBoolean NOT NULL",
                         "[ClaveSector]\t\t\tLong Integer", "[NumEmp]\t\t\tLong Integer"}) +
      tabla("tMovtos", operacion) + tabla("tProces", operacion) +
      tabla("tRelevan", {"[TipoRelev]\t\t\tText (1)", "[Fecha]\t\t\tDateTime", "[Observaciones]\t\t\tMemo/Hyperlink (255)",
                         "[NumEmp]\t\t\tLong Integer", "[ClaveCliente]\t\t\tText (20)"}) +
      "\n";
  EXPECT_EQ(s.texto.substr(desde), esperado);
}

}  // namespace
}  // namespace qavi::tools
