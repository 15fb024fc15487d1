// The run driver without a database: fixed answers, failures, progress texts.
#include <gtest/gtest.h>

#include <functional>

#include "report/ReporteMemoria.h"
#include "report/RepCuestionarioQAVI.h"
#include "support/GrabadoraMensajes.h"
#include "support/MensajeroGrabador.h"

namespace qavi {
namespace {

class TCorridaFalsa : public TRepCuestionarioQAVI {
 public:
  TCorridaFalsa(IReporte* r, IMensajeroPtr m, int nTotal, std::function<std::string(int)> f)
      : TRepCuestionarioQAVI(nullptr, r, "Encuesta KORU 2016", std::move(m), nTotal, 1), respuesta(std::move(f)) {}
  std::string DameRespuesta(int n) override {
    pedidas.push_back(n);
    return respuesta(n);
  }
  std::function<std::string(int)> respuesta;
  std::vector<int> pedidas;
};

struct Entorno {
  prueba::TGrabadoraMensajes cajas;
  std::shared_ptr<prueba::TMensajeroGrabador> msj = std::make_shared<prueba::TMensajeroGrabador>();
  TReporteMemoria reporte;
  TTablaPEPs peps;
};

TEST(Corrida, TextosDeAvanceDeUnaCorridaCompleta) {
  Entorno e;
  TCorridaFalsa c(&e.reporte, e.msj, 191, [](int) { return kCCDebeResponder; });
  EXPECT_TRUE(c.GeneraReporte(e.peps));
  std::vector<std::string> esperados = {"Espera:Iniciando..."};
  for (int n = 1; n <= 190; ++n) esperados.push_back("EnTx:Por favor espere... " + std::to_string(n * 100 / 191) + "%");
  esperados.push_back("Espera:Por favor espere... 100%");
  esperados.push_back("Espera:Preparando reporte...");
  EXPECT_EQ(e.msj->textos, esperados);
  EXPECT_EQ(e.msj->textos[1], "EnTx:Por favor espere... 0%");
  EXPECT_EQ(e.msj->textos[190], "EnTx:Por favor espere... 99%");
  EXPECT_EQ(e.reporte.VecesMostrado(), 1);
  EXPECT_EQ(e.reporte.NombreDocumento(), "Encuesta KORU 2016");
  // The marker prints as is, quoted for the renderer.
  EXPECT_EQ(e.reporte.Variables().DameValor("preg_191"), "'(** El CC debe responder **)'");
  // Without a connection the company query fails: one BD-101 box, an empty name, and the run goes on.
  ASSERT_EQ(e.cajas.Mensajes().size(), 1u);
  EXPECT_EQ(e.reporte.Variables().DameValor("NombreCC"), "''");
}

TEST(Corrida, SinPreguntas) {
  Entorno e;
  TCorridaFalsa c(&e.reporte, e.msj, 0, [](int) { return std::string(); });
  EXPECT_TRUE(c.GeneraReporte(e.peps));
  EXPECT_TRUE(c.pedidas.empty());
  EXPECT_EQ(e.msj->textos, (std::vector<std::string>{"Espera:Iniciando...", "Espera:Preparando reporte..."}));
  EXPECT_EQ(e.reporte.VecesMostrado(), 1);
}

TEST(Corrida, LaPrimeraFallaDetieneLaCorrida) {
  struct Caso {
    const char* nombre;
    std::string respuesta40;
    size_t cajasExtra;  // BD-101 boxes beyond the company query's
  } casos[] = {
      {"marcador de error", kRespuestaError, 0},
      {"marcador con otras mayúsculas", "(** El CC DEBE responder **)", 1},
      {"sentencia sin conexión", "SELECT 1 AS Resultado", 1},
  };
  for (const auto& caso : casos) {
    Entorno e;
    e.reporte.AsignaVariable(kCategoriaCuestionario, "preg_41", "'anterior'");
    TCorridaFalsa c(&e.reporte, e.msj, 191, [&](int n) { return n == 40 ? caso.respuesta40 : kCCDebeResponder; });
    EXPECT_FALSE(c.GeneraReporte(e.peps)) << caso.nombre;
    EXPECT_EQ(c.pedidas.size(), 40u) << caso.nombre;
    EXPECT_EQ(e.reporte.Variables().DameValor("preg_39"), "'(** El CC debe responder **)'");
    EXPECT_EQ(e.reporte.Variables().DameValor("preg_40"), "'** E R R O R **'") << caso.nombre;
    EXPECT_EQ(e.reporte.Variables().DameValor("preg_41"), "'anterior'");
    EXPECT_EQ(e.msj->textos.back(), "Espera:Error...");
    EXPECT_EQ(e.reporte.VecesMostrado(), 0);
    EXPECT_EQ(e.cajas.Mensajes().size(), 1u + caso.cajasExtra) << caso.nombre;
  }
}

TEST(TablaPEPs, CortaLosTextosASuAncho) {
  TTablaPEPs t;
  t.Agrega({1, "CLAVE-DE-MAS-DE-VEINTE", std::string(99, 'A') + "ÑÑ", false});
  EXPECT_EQ(t.Fila().ClaveCliente, "CLAVE-DE-MAS-DE-VEIN");
  EXPECT_EQ(t.Fila().Nombre, std::string(99, 'A') + "Ñ");
  t.Agrega({2, "CTE021  ", "X", false});
  EXPECT_EQ(t.Fila().ClaveCliente, "CTE021  ");
}

}  // namespace
}  // namespace qavi
