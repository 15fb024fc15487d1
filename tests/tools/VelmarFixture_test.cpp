// The Velmar folder builder that tests all over the project state their databases with.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Auxiliares.h"
#include "jetwriter/VelmarFixture.h"

namespace qavi::tools {
namespace {

using prueba::LeeTabla;
using prueba::TCarpetaTemporal;

using namespace qavi::prueba::valor;

std::string Lee(const std::filesystem::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

const std::vector<std::string> kNueve = {"tEmpresa", "tEmps",   "tCompUsr", "tDivisas", "tSector",
                                         "tCliente", "tMovtos", "tProces",  "tRelevan"};

std::vector<std::string> Columnas(const std::filesystem::path& mdb, const std::string& tabla) {
  std::string error;
  auto archivo = jet::TArchivoMdb::Abre(mdb, error);
  EXPECT_TRUE(archivo) << error;
  std::vector<jet::TColumnaMdb> columnas;
  std::vector<std::string> nombres;
  if (archivo && archivo->Columnas(tabla, columnas, error)) {
    for (const auto& c : columnas) nombres.push_back(c.nombre);
  }
  return nombres;
}

TEST(VelmarFixture, PorOmisionEscribeLaInstalacionMinima) {
  TCarpetaTemporal dir;
  std::string error;
  ASSERT_TRUE(TVelmarFixture().Escribe(dir.Ruta(), &error)) << error;
  const auto mdb = dir / "DataBase" / "Velmar.mdb";
  EXPECT_EQ(prueba::Tablas(mdb), kNueve);
  EXPECT_EQ(LeeTabla(mdb, "tEmpresa", {"NumEmp"}), (prueba::TFilas{{E(1)}}));
  EXPECT_EQ(LeeTabla(mdb, "tEmps"), (prueba::TFilas{{X("ADMIN"), X("DEMO"), E(0), X("ADMINISTRADOR")}}));
  EXPECT_TRUE(LeeTabla(mdb, "tCompUsr").empty());
  EXPECT_EQ(LeeTabla(mdb, "tDivisas"), (prueba::TFilas{{E(1), X("USD"), X("DOLAR AMERICANO"), B(false)}}));
  EXPECT_EQ(LeeTabla(mdb, "tSector").size(), 1u);
  for (const char* vacia : {"tCliente", "tMovtos", "tProces", "tRelevan"}) EXPECT_TRUE(LeeTabla(mdb, vacia).empty());
  EXPECT_EQ(Lee(dir / "Velmar.INI"), "[Control]\r\nEmpresaActiva=1\r\n");
  EXPECT_EQ(Columnas(mdb, "tRelevan"),
            (std::vector<std::string>{"TipoRelev", "Fecha", "Observaciones", "NumEmp", "ClaveCliente"}));
}

TEST(VelmarFixture, FilasConValoresPropiosYPorOmision) {
  TCarpetaTemporal dir;
  TVelmarFixture f;
  f.Cliente({.clave = "C1", .nombre = "JUAN", .paterno = "PEREZ", .materno = Nulo, .sector = 1});
  f.Cliente({.clave = "C2", .nombre = "ABARROTES LA PEÑA, S.A. DE C.V.", .paterno = Nulo, .moral = true});
  f.Movto({.tipo = "C", .folio = 1, .fecha = Fecha(2015, 3, 1), .divisa = 1, .cotizacion = 15.5, .cantidad = 100,
           .cliente = "C1"});
  f.Proces({.tipo = "V", .folio = 2, .cancelado = true});
  f.Relevan({.observaciones = "Cliente PEP"});
  std::string error;
  ASSERT_TRUE(f.Escribe(dir.Ruta(), &error)) << error;
  const auto mdb = dir / "DataBase" / "Velmar.mdb";
  EXPECT_EQ(LeeTabla(mdb, "tCliente"),
            (prueba::TFilas{{X("C1"), X("JUAN"), X("PEREZ"), V{}, B(false), B(false), E(1), E(1)},
                            {X("C2"), X("ABARROTES LA PEÑA, S.A. DE C.V."), V{}, X("LOPEZ"), B(true), B(false), E(1),
                             E(1)}}));
  EXPECT_EQ(LeeTabla(mdb, "tMovtos"),
            (prueba::TFilas{{X("C"), E(1), F(Fecha(2015, 3, 1)), E(1), R(15.5), R(100), X("C1"), E(1), B(false)}}));
  EXPECT_EQ(LeeTabla(mdb, "tProces"), (prueba::TFilas{{X("V"), E(2), F(Fecha(2015, 1, 15, 12, 0, 0)), E(1), R(15.5),
                                                       R(100), X("C1"), E(1), B(true)}}));
  EXPECT_EQ(LeeTabla(mdb, "tRelevan", {"Observaciones", "TipoRelev"}), (prueba::TFilas{{X("Cliente PEP"), X("I")}}));
}

TEST(VelmarFixture, TablasOmitidasColumnasQuitadasYFilasLimpias) {
  TCarpetaTemporal dir;
  TVelmarFixture f;
  f.Movto({.folio = 1});
  f.Omite("TSECTOR").QuitaColumna("tMovtos", "cancelado").Limpia("tEmps");
  f.Movto({.folio = 2, .cancelado = true});
  f.Sector({.clave = 9});  // ignored: the table is omitted
  std::string error;
  ASSERT_TRUE(f.Escribe(dir.Ruta(), &error)) << error;
  const auto mdb = dir / "DataBase" / "Velmar.mdb";
  EXPECT_EQ(prueba::Tablas(mdb), (std::vector<std::string>{"tEmpresa", "tEmps", "tCompUsr", "tDivisas", "tCliente",
                                                           "tMovtos", "tProces", "tRelevan"}));
  EXPECT_EQ(Columnas(mdb, "tMovtos"), (std::vector<std::string>{"Tipo", "Folio", "Fecha", "NumeroDivisa", "Cotizacion",
                                                                "Cantidad", "ClaveCliente", "NumEmp"}));
  EXPECT_EQ(LeeTabla(mdb, "tMovtos", {"Folio"}), (prueba::TFilas{{E(1)}, {E(2)}}));
  EXPECT_TRUE(LeeTabla(mdb, "tEmps").empty());
  EXPECT_EQ(f.Tabla("tSector"), nullptr);
}

TEST(VelmarFixture, TablaDaAccesoDirectoParaCambiarTiposYAgregarTablas) {
  TCarpetaTemporal dir;
  TVelmarFixture f = TVelmarFixture::SinFilas();
  TTablaJet* divisas = f.Tabla("tDivisas");
  ASSERT_NE(divisas, nullptr);
  divisas->columnas[0].tipo = TTipoJet::Texto;  // a catalogue whose key is text
  divisas->filas.push_back({"USD", "USD", "DOLAR", true});
  f.AgregaTabla({"tOtra", {{"A", TTipoJet::Byte}}, {{7}}});
  std::string error;
  ASSERT_TRUE(f.Escribe(dir.Ruta(), &error)) << error;
  const auto mdb = dir / "DataBase" / "Velmar.mdb";
  EXPECT_EQ(LeeTabla(mdb, "tDivisas"), (prueba::TFilas{{X("USD"), X("USD"), X("DOLAR"), B(true)}}));
  EXPECT_TRUE(LeeTabla(mdb, "tEmpresa").empty());
  EXPECT_EQ(LeeTabla(mdb, "tOtra"), (prueba::TFilas{{E(7)}}));
}

TEST(VelmarFixture, ArchivoIni) {
  TCarpetaTemporal dir;
  std::string error;
  ASSERT_TRUE(TVelmarFixture().EmpresaActiva(3).Escribe(dir.Ruta(), &error)) << error;
  EXPECT_EQ(Lee(dir / "Velmar.INI"), "[Control]\r\nEmpresaActiva=3\r\n");
  ASSERT_TRUE(TVelmarFixture().Ini("[Control]\r\nEmpresaActiva=abc\r\n").Escribe(dir.Ruta(), &error)) << error;
  EXPECT_EQ(Lee(dir / "Velmar.INI"), "[Control]\r\nEmpresaActiva=abc\r\n");
  // Leaving the INI out also removes one written before in the same folder.
  ASSERT_TRUE(TVelmarFixture().Ini(std::nullopt).Escribe(dir.Ruta(), &error)) << error;
  EXPECT_FALSE(std::filesystem::exists(dir / "Velmar.INI"));
  EXPECT_TRUE(std::filesystem::exists(dir / "DataBase" / "Velmar.mdb"));
}

TEST(VelmarFixture, ValorInvalidoFallaConMotivo) {
  TCarpetaTemporal dir;
  TVelmarFixture f;
  f.Emp({.nivel = 70000});
  std::string error;
  EXPECT_FALSE(f.Escribe(dir.Ruta(), &error));
  EXPECT_NE(error.find("Nivel"), std::string::npos) << error;
}

}  // namespace
}  // namespace qavi::tools
