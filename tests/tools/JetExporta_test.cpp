// jet-exporta: what the reader reads, as support staff and other readers see it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

#include "Auxiliares.h"
#include "jet-exporta/ExportaJet.h"
#include "jetwriter/TablaJet.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace qavi::tools {
namespace {

using prueba::TCarpetaTemporal;
using T = TTipoJet;

TEST(JetExporta, FechasComoLasMuestraJet) {
  const struct {
    double dia;
    const char* texto;
  } casos[] = {
      {0, "1899-12-30 00:00:00"},
      {1.25, "1899-12-31 06:00:00"},
      {-1.25, "1899-12-29 06:00:00"},            // the time counts forward from the day even before the origin
      {-0.5, "1899-12-30 12:00:00"},             // day zero on both sides
      {42369.99999421, "2015-12-31 23:59:59"},   // 23:59:59.5 less a little: the nearest second
      {2.9999999, "1900-01-02 00:00:00"},        // rounds to 24:00:00: the next day
      {-1.9999999, "1899-12-30 00:00:00"},
      {60, "1900-02-28 00:00:00"},               // no 29th of February 1900
      {-657434, "0100-01-01 00:00:00"},
      {2958465.9999884259, "9999-12-31 23:59:59"},
      {1e300, "1e+300"},
      {std::numeric_limits<double>::quiet_NaN(), "NaN"},
  };
  for (const auto& c : casos) EXPECT_EQ(TextoFecha(c.dia), c.texto) << c.dia;
}

class JetExportaArchivo : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(EscribeMdb(ruta_,
                           {{"tUno", {{"Id", T::EnteroLargo}, {"Nombre", T::Texto, 20}}, {{1, "ANA"}, {2, Nulo}}},
                            {"tDos", {{"Alta", T::FechaHora}, {"Foto", T::Ole}}, {{-1.25, TValorJet::Bytes("\x01")}}},
                            {"tVacia", {{"X", T::Byte}}, {}}},
                           {}, error))
        << error;
  }
  int Exporta(const std::vector<std::string>& tablas) {
    salida_.str("");
    errores_.str("");
    return ExportaJet(ruta_, tablas, salida_, errores_);
  }
  TCarpetaTemporal dir_;
  std::filesystem::path ruta_ = dir_ / "exporta.mdb";
  std::ostringstream salida_, errores_;
};

const char* const kUno = "{\"tabla\": \"tUno\", \"columnas\": [\"Id\", \"Nombre\"]}\n[1, \"ANA\"]\n[2, null]\n";
const char* const kDos = "{\"tabla\": \"tDos\", \"columnas\": [\"Alta\", \"Foto\"]}\n[\"1899-12-29 06:00:00\", \"0x01\"]\n";
const char* const kVacia = "{\"tabla\": \"tVacia\", \"columnas\": [\"X\"]}\n";

TEST_F(JetExportaArchivo, TodasLasTablasOLasNombradasSinDistinguirMayusculas) {
  EXPECT_EQ(Exporta({}), 0);
  EXPECT_EQ(salida_.str(), std::string(kUno) + kDos + kVacia);
  EXPECT_EQ(errores_.str(), "");
  EXPECT_EQ(Exporta({"TDOS", "tuno", "tDos"}), 0);
  EXPECT_EQ(salida_.str(), std::string(kDos) + kUno);
}

TEST_F(JetExportaArchivo, TablaInexistenteSeNombraYLasDemasSalen) {
  EXPECT_EQ(Exporta({"tNada", "tVacia"}), 1);
  EXPECT_EQ(salida_.str(), kVacia);
  EXPECT_EQ(errores_.str(), "La tabla tNada no existe en la base de datos.\n");
}

// A column it cannot decode leaves its table out, named with the column; the other tables are
// still written.
TEST_F(JetExportaArchivo, ColumnaIlegibleDejaFueraSuTabla) {
  qavi::prueba::CambiaTipoColumna(ruta_, "Foto", 0x11);
  EXPECT_EQ(Exporta({}), 1);
  EXPECT_EQ(salida_.str(), std::string(kUno) + kVacia);
  EXPECT_EQ(errores_.str(), "No se puede leer la columna Foto de la tabla tDos: su tipo de datos (0x11) no es de Jet 4.\n");
}

// The command itself: JSON Lines on standard output, a Spanish reason and status 1 for a file it
// cannot read, 2 for a wrong call.
TEST_F(JetExportaArchivo, ElComando) {
  const auto correr = [&](const std::string& args, std::string& salida, std::string& errores) {
    const auto out = dir_ / "salida.txt", err = dir_ / "errores.txt";
    const int st = std::system(("\"" QAVI_EXPORTA "\" " + args + " > \"" + out.string() + "\" 2> \"" + err.string() + "\"").c_str());
    std::ifstream a(out, std::ios::binary), b(err, std::ios::binary);
    salida.assign(std::istreambuf_iterator<char>(a), {});
    errores.assign(std::istreambuf_iterator<char>(b), {});
#ifdef _WIN32
    return st;
#else
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
#endif
  };
  std::string salida, errores;
  EXPECT_EQ(correr("\"" + ruta_.string() + "\" tuno", salida, errores), 0);
  EXPECT_EQ(salida, kUno);
  EXPECT_EQ(errores, "");
  const auto falta = dir_ / "no-existe.mdb";
  EXPECT_EQ(correr("\"" + falta.string() + "\"", salida, errores), 1);
  EXPECT_EQ(salida, "");
  EXPECT_EQ(errores, "No se puede leer " + falta.string() + ": El archivo no existe.\n");
  EXPECT_EQ(correr("", salida, errores), 2);
  EXPECT_NE(errores.find("Uso: jet-exporta"), std::string::npos);
}

}  // namespace
}  // namespace qavi::tools
