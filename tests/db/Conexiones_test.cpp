#include <gtest/gtest.h>

#include "db/ADO.h"
#include "db/ColectorConxs.h"
#include "db/Conexion.h"
#include "db/ErroresBD.h"
#include "db/MotorODBC.h"
#include "support/GrabadoraMensajes.h"

namespace qavi {

struct TConexionPrueba {
  static bool Arma(TConexion& c) { return c.ArmaStrConexion(); }
};

namespace {

using prueba::TGrabadoraMensajes;

TEST(ErroresBD, MuestraError) {
  TGrabadoraMensajes g;
  auto e = TErroresBD::Create();
  e->MuestraError("BD-101", "EOleException - algo");
  e->MuestraError("XX-9", "abc");
  EXPECT_EQ(g.Mensajes(), (std::vector<std::string>{"Error #BD-101: Llame a Soporte Técnico. EOleException - algo",
                                                     "Error #XX-9 abc"}));
}

TEST(ErroresBD, DameErrorMsj) {
  auto e = TErroresBD::Create();
  EXPECT_EQ(e->DameErrorMsj("BD-101", "", false), "Llame a Soporte Técnico. ");
  EXPECT_EQ(e->DameErrorMsj("XX-9", "", true), "Error #XX-9: Error desconocido");
  EXPECT_EQ(e->DameErrorMsj("XX-9", "abc", false), "abc");
  EXPECT_EQ(e->DameErrorMsj("BD-101", "x", true), "Error #BD-101: Llame a Soporte Técnico. x");
}

struct CasoCadena {
  TTipoMotorBD motor;
  const char *usuario, *passw, *bd, *ubicacion, *instancia, *puerto;
  const char* esperada;  // null: no string can be built
};

TEST(Conexion, CadenasDeConexion) {
  const CasoCadena casos[] = {
      {TTipoMotorBD::tmSQLServer, "sa", "", "", "SRV", "", "",
       "Provider=SQLOLEDB.1;Password=;Persist Security Info=True;User ID=sa;Initial Catalog=;Data Source=SRV\\"},
      {TTipoMotorBD::tmSQLServer, "sa", "pw", "Velmar", "SRV", "SQLEXPRESS", "1433",
       "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=True;User ID=sa;Initial Catalog=Velmar;"
       "Data Source=SRV\\SQLEXPRESS,1433"},
      {TTipoMotorBD::tmSQLServer, "", "", "", "SRV", "", "  ",  // a port of blanks still counts
       "Provider=SQLOLEDB.1;Password=;Persist Security Info=True;User ID=;Initial Catalog=;Data Source=SRV\\,  "},
      {TTipoMotorBD::tmAccess, "", "quibon", "", "C:\\Velmar\\DataBase\\Velmar.mdb", "", "",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Velmar\\DataBase\\Velmar.mdb;Persist Security Info=True;"
       "Mode=Share Deny None;Jet OLEDB:Database Password=quibon"},
      {TTipoMotorBD::tmAccess, "u", "   ", "bd", "a.mdb", "i", "1",  // blank password: no piece; the rest unused
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=a.mdb;Persist Security Info=True;Mode=Share Deny None"},
      {TTipoMotorBD::tmAccess, "", "pw ", "", "a.mdb", "", "",  // a trailing blank is sent
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=a.mdb;Persist Security Info=True;Mode=Share Deny None;"
       "Jet OLEDB:Database Password=pw "},
      {TTipoMotorBD::tmAccess, " ", "\t", "", "", "\r\n", "", nullptr},
      {TTipoMotorBD::tmSQLServer, "", "", "", "", "", "", nullptr},
  };
  for (const auto& c : casos) {
    TConexion x(c.motor);
    x.Usuario(c.usuario);
    x.Passw(c.passw);
    x.BDNombre(c.bd);
    x.Ubicacion(c.ubicacion);
    x.Instancia(c.instancia);
    x.Puerto(c.puerto);
    EXPECT_EQ(TConexionPrueba::Arma(x), c.esperada != nullptr);
    EXPECT_EQ(x.StrConexion(), c.esperada ? c.esperada : "");
  }
}

TEST(Conexion, SinDatosNoAbreNiMuestraMensaje) {
  TGrabadoraMensajes g;
  TConexion x(TTipoMotorBD::tmAccess);
  x.Conecta(true);
  EXPECT_FALSE(x.Conecta());
  EXPECT_TRUE(g.Mensajes().empty());
  EXPECT_EQ(x.StrConexion(), "");
}

TEST(Conexion, AperturaFallidaMuestraBD101YQuedaCerrada) {
  TGrabadoraMensajes g;
  TConexion x(TTipoMotorBD::tmAccess);
  x.Ubicacion("/no/existe/Velmar.mdb");
  x.Conecta(true);
  EXPECT_FALSE(x.Conecta());
  ASSERT_EQ(g.Mensajes().size(), 1u);
  EXPECT_EQ(g.Mensajes()[0].rfind("Error #BD-101: Llame a Soporte Técnico. EOleException - ", 0), 0u)
      << g.Mensajes()[0];
}

TEST(Conexion, LaCadenaNoSeReconstruye) {
  TGrabadoraMensajes g;
  TConexion x(TTipoMotorBD::tmAccess);
  x.Ubicacion("/no/existe/uno.mdb");
  x.Conecta(true);
  x.Ubicacion("/no/existe/dos.mdb");
  x.Conecta(true);
  EXPECT_NE(x.StrConexion().find("uno.mdb"), std::string::npos);
  x.StrConexion("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/no/existe/tres.mdb");
  x.Conecta(true);
  EXPECT_EQ(x.StrConexion(), "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/no/existe/tres.mdb");
  EXPECT_EQ(g.Mensajes().size(), 3u);
}

TEST(Conexion, SQLServerSinServidorEsBD101) {
  TGrabadoraMensajes g;
  TConexion x(TTipoMotorBD::tmSQLServer);
  x.Usuario("sa");
  x.Ubicacion("127.0.0.1");
  x.Puerto("1");  // nothing listens there: refused at once
  x.Conecta(true);
  EXPECT_FALSE(x.Conecta());
  ASSERT_EQ(g.Mensajes().size(), 1u);
  EXPECT_EQ(g.Mensajes()[0].rfind("Error #BD-101: Llame a Soporte Técnico. EOleException - ", 0), 0u);
}

TEST(ADO, PartesDeLaCadena) {
  auto p = PartesStrConexion(
      "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\a b\\V.mdb;Persist Security Info=True;"
      "Jet OLEDB:Database Password=\"x;y\"");
  EXPECT_EQ(p["provider"], "Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(p["data source"], "C:\\a b\\V.mdb");
  EXPECT_EQ(p["jet oledb:database password"], "x;y");
  EXPECT_EQ(StrConexionODBC(PartesStrConexion(
                "Provider=SQLOLEDB.1;Password=p;Persist Security Info=True;User ID=sa;Initial Catalog=V;"
                "Data Source=SRV\\INST,1433")),
            "DRIVER={FreeTDS};SERVER=SRV\\INST;PORT=1433;UID=sa;PWD=p;DATABASE=V");
}

TEST(ADO, ProveedorDesconocido) {
  TADOConnection c;
  c.ConnectionString("Provider=Otro;Data Source=x");
  EXPECT_THROW(c.Connected(true), EOleException);
  EXPECT_FALSE(c.Connected());
}

class ColectorTest : public ::testing::Test {
 protected:
  TGrabadoraMensajes g;
  TColectorConxs r;
};

TEST_F(ColectorTest, NombresDesconocidos) {
  TADOConnection* c = nullptr;
  EXPECT_FALSE(r.Conecta("X"));
  EXPECT_FALSE(r.Conectado("X"));
  EXPECT_FALSE(r.DameAccessConex("X", c));
  EXPECT_FALSE(r.DameSQLConex("X", c));
  r.Desconecta("X");
  r.EliminaConex("X");
  EXPECT_EQ(c, nullptr);
  EXPECT_TRUE(g.Mensajes().empty());
}

TEST_F(ColectorTest, NombreRepetidoConservaLaPrimeraEntrada) {
  EXPECT_TRUE(r.NuevaConexion("A", "", "", "", "/uno.mdb", "", "", TTipoMotorBD::tmAccess, false));
  EXPECT_FALSE(r.NuevaConexion("A", "", "", "", "/dos.mdb", "", "", TTipoMotorBD::tmSQLServer, false));
  TADOConnection* c = nullptr;
  EXPECT_TRUE(r.DameAccessConex("A", c));
  EXPECT_NE(c, nullptr);
  EXPECT_FALSE(c->Connected()) << "handed out even when closed";
  TADOConnection* s = nullptr;
  EXPECT_FALSE(r.DameSQLConex("A", s));
  EXPECT_EQ(s, nullptr);
  // Names are exact: case counts.
  EXPECT_TRUE(r.NuevaConexion("a", "", "", "", "/uno.mdb", "", "", TTipoMotorBD::tmAccess, false));
}

TEST_F(ColectorTest, AperturaRechazadaSeReintentaEnCadaConecta) {
  EXPECT_TRUE(r.NuevaConexion("A", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/no/existe.mdb",
                              TTipoMotorBD::tmAccess, true));
  EXPECT_EQ(g.Mensajes().size(), 1u);
  EXPECT_FALSE(r.Conectado("A"));
  EXPECT_FALSE(r.Conecta("A"));
  EXPECT_EQ(g.Mensajes().size(), 2u);
  r.EliminaConex("A");
  EXPECT_FALSE(r.Conectado("A"));
}

TEST_F(ColectorTest, CreaBDPrincConservaLaPrimeraRuta) {
  r.CreaBDPrinc("/primera/Velmar.mdb", "", false);
  r.CreaBDPrinc("/segunda/Velmar.mdb", "", false);
  EXPECT_FALSE(r.Conecta(kBDPrincipal));
  ASSERT_EQ(g.Mensajes().size(), 1u);
  EXPECT_NE(g.Mensajes()[0].find("primera"), std::string::npos) << g.Mensajes()[0];
}

}  // namespace
}  // namespace qavi
