// The query runner and the registry over a real file written by the project's Jet writer.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "db/ColectorConxs.h"
#include "db/ConsultasSQL.h"
#include "jetwriter/VelmarFixture.h"
#include "support/CarpetaTemporal.h"
#include "support/GrabadoraMensajes.h"

namespace qavi {
namespace {

class ConsultasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::TVelmarFixture f;
    f.Emp({.clave = "CAJERO", .password = "x", .nivel = 3});
    ASSERT_TRUE(f.Escribe(dir.Ruta()));
    mdb = (dir.Ruta() / "DataBase" / "Velmar.mdb").string();
  }
  std::string Bytes() const {
    std::ifstream f(mdb, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
  }
  prueba::TCarpetaTemporal dir;
  prueba::TGrabadoraMensajes cajas;
  std::string mdb;
};

// Opens queries through the runner's protected query object.
struct TRunner : TConsultasSQL {
  using TConsultasSQL::F_qConsultaGen;
  using TConsultasSQL::TConsultasSQL;
};

TEST_F(ConsultasTest, FallasDelCorredor) {
  TColectorConxs r;
  ASSERT_TRUE(r.NuevaConexion("V", "", "quibon", "", mdb, "", "", TTipoMotorBD::tmAccess, true));
  TADOConnection* c = nullptr;
  ASSERT_TRUE(r.DameAccessConex("V", c));
  TRunner q(c);
  struct Caso {
    const char* sql;
    const char* fragmento;  // of the BD-101 message
  } casos[] = {
      {"SELEC * FROM tEmps", "Error #BD-101: Llame a Soporte Técnico. EOleException - "},
      {"SELECT * FROM tNoExiste", "tNoExiste"},
      {"SELECT NoHay FROM tEmps", "NoHay"},
      {"SELECT * FROM tEmps WHERE Nombre = 'sin cerrar", "EOleException - "},
  };
  for (const auto& caso : casos) {
    cajas.Limpia();
    EXPECT_TRUE(q.PideConsulta("SELECT * FROM tEmps", *q.F_qConsultaGen));
    EXPECT_FALSE(q.PideConsulta(caso.sql, *q.F_qConsultaGen)) << caso.sql;
    EXPECT_FALSE(q.F_qConsultaGen->Active()) << caso.sql;
    ASSERT_EQ(cajas.Mensajes().size(), 1u) << caso.sql;
    EXPECT_NE(cajas.Mensajes()[0].find(caso.fragmento), std::string::npos) << cajas.Mensajes()[0];
  }
}

TEST_F(ConsultasTest, FilasVaciasYConsultasSeguidas) {
  TColectorConxs r;
  r.CreaBDPrinc(mdb, "", true);
  TADOConnection* c = nullptr;
  ASSERT_TRUE(r.DameAccessConex(kBDPrincipal, c));
  TRunner q(c);
  ASSERT_TRUE(q.PideConsulta("SELECT * FROM tEmps WHERE ClaveEmp = 'NADIE'", *q.F_qConsultaGen));
  EXPECT_TRUE(q.F_qConsultaGen->Active());
  EXPECT_TRUE(q.F_qConsultaGen->IsEmpty());
  ASSERT_TRUE(q.PideConsulta("SELECT ClaveEmp FROM tEmps", *q.F_qConsultaGen));
  ASSERT_TRUE(q.PideConsulta("SELECT Nivel FROM tEmps", *q.F_qConsultaGen));  // closes the rows before
  EXPECT_EQ(q.F_qConsultaGen->RecordCount(), 2u);
  EXPECT_EQ(q.F_qConsultaGen->FieldByName("nivel").ComoEntero(), 0);
  // Deleting touches only the loaded copy, never the file.
  const std::string antes = Bytes();
  q.LimpiaTabla("tEmps", "Nivel > 0");
  ASSERT_TRUE(q.PideConsulta("SELECT COUNT(1) AS n FROM tEmps", *q.F_qConsultaGen));
  EXPECT_EQ(q.F_qConsultaGen->FieldByName("n").ComoEntero(), 1);
  EXPECT_EQ(Bytes(), antes);
  EXPECT_TRUE(cajas.Mensajes().empty());
}

TEST_F(ConsultasTest, SinConexionCadaConsultaEsBD101) {
  TRunner q(nullptr);
  EXPECT_FALSE(q.PideConsulta("SELECT 1", *q.F_qConsultaGen));
  EXPECT_FALSE(q.EjecutaConsulta("DELETE * FROM tEmps", *q.F_qConsultaGen));
  EXPECT_EQ(cajas.Mensajes().size(), 2u);
  TADOConnection cerrada;
  TRunner q2(&cerrada);
  EXPECT_FALSE(q2.PideConsulta("SELECT 1", *q2.F_qConsultaGen));
  EXPECT_EQ(cajas.Mensajes().size(), 3u);
}

TEST_F(ConsultasTest, RegistroAbreCierraYReabre) {
  TColectorConxs r;
  EXPECT_TRUE(r.NuevaConexion("V", "", "quibon", "", mdb, "", "", TTipoMotorBD::tmAccess, true));
  EXPECT_TRUE(r.Conectado("V"));
  EXPECT_TRUE(r.Conecta("V"));
  r.Desconecta("V");
  EXPECT_FALSE(r.Conectado("V"));
  EXPECT_TRUE(r.Conecta("V"));
  // A second entry of the same name opens and drops its own connection, leaving the first alone.
  EXPECT_FALSE(r.NuevaConexion("V", "", "", "", "/no/existe.mdb", "", "", TTipoMotorBD::tmAccess, true));
  EXPECT_TRUE(r.Conectado("V"));
  EXPECT_EQ(cajas.Mensajes().size(), 1u);
  // The password piece is optional for a file the reader can read.
  EXPECT_TRUE(r.NuevaConexion("SinPassw", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + mdb,
                              TTipoMotorBD::tmAccess, true));
  EXPECT_TRUE(r.Conectado("SinPassw"));
}

TEST_F(ConsultasTest, ElArchivoQuedaIdentico) {
  const std::string antes = Bytes();
  const auto fecha = std::filesystem::last_write_time(mdb);
  {
    TColectorConxs r;
    r.CreaBDPrinc(mdb, "", true);
    TADOConnection* c = nullptr;
    ASSERT_TRUE(r.DameAccessConex(kBDPrincipal, c));
    TRunner q(c);
    for (const char* t : {"tEmpresa", "tEmps", "tCompUsr", "tDivisas", "tSector", "tCliente", "tMovtos", "tProces",
                          "tRelevan"})
      EXPECT_TRUE(q.PideConsulta(std::string("SELECT * FROM ") + t, *q.F_qConsultaGen)) << t;
  }
  EXPECT_EQ(Bytes(), antes);
  EXPECT_EQ(std::filesystem::last_write_time(mdb), fecha);
}

TEST_F(ConsultasTest, RecargaSiElArchivoCambia) {
  TColectorConxs r;
  r.CreaBDPrinc(mdb, "", true);
  TADOConnection* c = nullptr;
  ASSERT_TRUE(r.DameAccessConex(kBDPrincipal, c));
  TRunner q(c);
  ASSERT_TRUE(q.PideConsulta("SELECT COUNT(1) AS n FROM tEmps", *q.F_qConsultaGen));
  EXPECT_EQ(q.F_qConsultaGen->FieldByName("n").ComoEntero(), 2);
  tools::TVelmarFixture otra;
  for (int i = 0; i < 5; ++i) otra.Emp({.clave = "E" + std::to_string(i)});
  ASSERT_TRUE(otra.EscribeMdb(mdb));
  std::filesystem::last_write_time(mdb, std::filesystem::last_write_time(mdb) + std::chrono::seconds(5));
  ASSERT_TRUE(q.PideConsulta("SELECT COUNT(1) AS n FROM tEmps", *q.F_qConsultaGen));
  EXPECT_EQ(q.F_qConsultaGen->FieldByName("n").ComoEntero(), 6);
}

}  // namespace
}  // namespace qavi
