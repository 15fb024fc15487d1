#include <gtest/gtest.h>

#include "db/ColectorConxs.h"
#include "jetwriter/VelmarFixture.h"
#include "pos/VelmarBD.h"
#include "support/CarpetaTemporal.h"
#include "support/GrabadoraMensajes.h"

namespace qavi {
namespace {

using tools::TVelmarFixture;

class VelmarBDTest : public ::testing::Test {
 protected:
  // Writes the fixture and opens it as "BDPrincipal".
  std::unique_ptr<TVelmarBD> Abre(const TVelmarFixture& f) {
    EXPECT_TRUE(f.Escribe(dir.Ruta()));
    registro.CreaBDPrinc((dir.Ruta() / "DataBase" / "Velmar.mdb").string(), "", true);
    TADOConnection* c = nullptr;
    EXPECT_TRUE(registro.DameAccessConex(kBDPrincipal, c));
    return std::make_unique<TVelmarBD>(c);
  }
  prueba::TCarpetaTemporal dir;
  prueba::TGrabadoraMensajes cajas;
  TColectorConxs registro;
};

TEST_F(VelmarBDTest, UsuariosConectados) {
  EXPECT_FALSE(Abre(TVelmarFixture())->UsuariosConectados());
  EXPECT_TRUE(cajas.Mensajes().empty());
}

TEST_F(VelmarBDTest, UsuarioConectado) {
  TVelmarFixture f;
  f.CompUsr();
  EXPECT_TRUE(Abre(f)->UsuariosConectados());
}

TEST_F(VelmarBDTest, SinTablaDeConectadosEsBD101YVerdadero) {
  TVelmarFixture f;
  f.Omite("tCompUsr");
  EXPECT_TRUE(Abre(f)->UsuariosConectados());
  ASSERT_EQ(cajas.Mensajes().size(), 1u);
  EXPECT_NE(cajas.Mensajes()[0].find("tCompUsr"), std::string::npos) << cajas.Mensajes()[0];
}

TEST_F(VelmarBDTest, ValidaAcceso) {
  TVelmarFixture f;
  f.Emp({.clave = "CAJERO1", .password = "caja123", .nivel = 3});
  f.Emp({.clave = "SUPERV", .password = "", .nivel = 0});
  f.Emp({.clave = "NULO", .password = tools::Nulo, .nivel = 0});
  f.Emp({.clave = "O'NEIL", .password = "a'b", .nivel = 0});
  auto v = Abre(f);
  struct Caso {
    const char *usuario, *passw;
    bool soloAdmins, esperado;
  } casos[] = {
      {"ADMIN", "DEMO", true, true},
      {"admin", "demo", true, true},  // text compares without regard to case
      {"ADMIN", "otra", true, false},
      {"CAJERO1", "caja123", true, false},
      {"CAJERO1", "caja123", false, true},
      {"SUPERV", "", true, true},  // an empty password is not a null one
      {"NULO", "", true, false},
      {"", "", true, false},
      {" ADMIN", "DEMO", true, false},  // blanks are part of the key
      {"X' OR '1'='1", "X' OR '1'='1", true, false},  // typed text is compared literally
      {"ADMIN' --", "", true, false},
      {"O'NEIL", "a'b", true, true},
  };
  for (const auto& c : casos)
    EXPECT_EQ(v->ValidaAcceso(c.usuario, c.passw, c.soloAdmins), c.esperado) << c.usuario << " / " << c.passw;
  EXPECT_TRUE(cajas.Mensajes().empty());
}

TEST_F(VelmarBDTest, Empresa) {
  TVelmarFixture f;
  f.Limpia("tEmpresa");
  f.Empresa({.numEmp = 7, .empresa = "CENTRO CAMBIARIO PEÑASCO", .rfc = "CCP", .registroCC = tools::Nulo});
  f.Empresa({.numEmp = 8, .empresa = "SEGUNDA"});
  auto e = Abre(f)->Empresa();
  EXPECT_EQ(e.sRazonSocial, "CENTRO CAMBIARIO PEÑASCO");
  EXPECT_EQ(e.sRFC, "CCP");
  EXPECT_EQ(e.sRegistroQAVI, "");
  EXPECT_EQ(e.sNumEmpresa, "7");
}

TEST_F(VelmarBDTest, EmpresaSinFilasOSinColumna) {
  TVelmarFixture f;
  f.Limpia("tEmpresa");
  EXPECT_EQ(Abre(f)->Empresa().sRazonSocial, "");
  EXPECT_TRUE(cajas.Mensajes().empty());
}

TEST_F(VelmarBDTest, EmpresaSinColumnaEsMensajeClaro) {
  TVelmarFixture f;
  f.QuitaColumna("tEmpresa", "RegistroCC");
  auto e = Abre(f)->Empresa();
  EXPECT_EQ(e.sRazonSocial, "");
  ASSERT_EQ(cajas.Mensajes().size(), 1u);
  EXPECT_NE(cajas.Mensajes()[0].find("RegistroCC"), std::string::npos);
}

TEST_F(VelmarBDTest, ConstructorConRuta) {
  TVelmarFixture f;
  ASSERT_TRUE(f.Escribe(dir.Ruta()));
  gColectorConxs = std::make_shared<TColectorConxs>();
  {
    TVelmarBD v(dir.Ruta() / "DataBase" / "Velmar.mdb");
    EXPECT_TRUE(v.Conectado());
    EXPECT_TRUE(gColectorConxs->Conectado("Velmar"));
    EXPECT_TRUE(v.ValidaAcceso("ADMIN", "DEMO", true));
    // A second gateway finds the name taken: not connected, every query a BD-101.
    TVelmarBD otro(dir.Ruta() / "DataBase" / "Velmar.mdb");
    EXPECT_FALSE(otro.Conectado());
    EXPECT_FALSE(otro.ValidaAcceso("ADMIN", "DEMO", true));
    EXPECT_EQ(cajas.Mensajes().size(), 1u);
  }
  EXPECT_FALSE(gColectorConxs->Conectado("Velmar"));
  {
    // The refused gateway goes first and leaves the first one's entry working.
    auto v = std::make_unique<TVelmarBD>(dir.Ruta() / "DataBase" / "Velmar.mdb");
    std::make_unique<TVelmarBD>(dir.Ruta() / "DataBase" / "Velmar.mdb").reset();
    EXPECT_TRUE(gColectorConxs->Conectado("Velmar"));
    EXPECT_TRUE(v->ValidaAcceso("ADMIN", "DEMO", true));
  }
  gColectorConxs.reset();
}

}  // namespace
}  // namespace qavi
