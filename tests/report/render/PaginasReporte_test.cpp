// Layout of the prepared pages: everything stays inside its frame, whatever the answers.
#include "report/render/PaginasReporte.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "ImprimeQt.h"
#include "report/render/CargaPlantilla.h"
#include "report/render/Respuestas.h"
#include "report/render/TablaPaginas.h"

namespace qavi {
namespace {

class PaginasReporteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QString e;
    ASSERT_TRUE(CargaPlantillaCuestionario(plantilla_, e)) << e.toStdString();
  }

  static TVariablesReporte ConTodas(const std::string& valor) {
    TVariablesReporte v;
    v.AsignaVariable("Cuestionario", "NombreCC", valor);
    for (int n = 1; n <= 191; ++n) v.AsignaVariable("Cuestionario", "preg_" + std::to_string(n), valor);
    return v;
  }

  // Count of inked pixels of page i outside its body and page-line frames, drawn at 72 dpi.
  int TintaFueraDeMarcos(const TPaginasReporte& paginas, int i) const {
    const double ppp = 72;
    const double pxmm = ppp / 25.4;
    QImage img(qRound(plantilla_.dAnchoPapel * pxmm), qRound(plantilla_.dAltoPapel * pxmm), QImage::Format_RGB32);
    img.setDotsPerMeterX(qRound(ppp / 0.0254));
    img.setDotsPerMeterY(qRound(ppp / 0.0254));
    img.fill(Qt::white);
    {
      QPainter p(&img);
      paginas.Dibuja(p, img, i);
    }
    const auto& pag = plantilla_.paginas.at(static_cast<size_t>(i));
    auto rect = [&](const TRectMM& r) {
      return QRectF((plantilla_.margenes.x + r.x) * pxmm, (plantilla_.margenes.y + r.y) * pxmm, r.ancho * pxmm,
                    r.alto * pxmm)
          .adjusted(-2, -2, 2, 2);
    };
    const QRectF cuerpo = rect(pag.marco), pie = rect(pag.marcoPie);
    int fuera = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, y) != qRgb(255, 255, 255) && !cuerpo.contains(x, y) && !pie.contains(x, y)) ++fuera;
    return fuera;
  }

  TPlantillaReporte plantilla_;
};

TEST_F(PaginasReporteTest, RespuestasUsualesCabenSinEncoger) {
  TPaginasReporte paginas;
  paginas.Prepara(plantilla_, prueba::VariablesDeMuestra());
  ASSERT_EQ(paginas.Cuenta(), 21);
  EXPECT_NEAR(paginas.PapelMM().width(), 215.9, 1e-9);
  for (int i = 0; i < paginas.Cuenta(); ++i) {
    EXPECT_EQ(paginas.Nombre(i).toStdString(), prueba::PaginasEsperadas()[static_cast<size_t>(i)].nombre);
    EXPECT_DOUBLE_EQ(paginas.Escala(i), 1.0) << "página " << i + 1;
    EXPECT_FALSE(paginas.Recortada(i)) << "página " << i + 1;
  }
  EXPECT_TRUE(paginas.Texto(1).contains(QStringLiteral("Respuesta: Q003 [preg_4] <b>&amp;</b> ÁÉÍÓÚÑ")));
  EXPECT_TRUE(paginas.Texto(20).endsWith(QStringLiteral("Página 21 de 21")));
}

TEST_F(PaginasReporteTest, RespuestasLargasEncogenLaPaginaSinSalirse) {
  std::string largo = "'Respuesta:";
  for (int k = 0; k < 12; ++k) largo += " TEXTO CAPTURADO POR EL CENTRO CAMBIARIO";
  TPaginasReporte paginas;
  paginas.Prepara(plantilla_, ConTodas(largo + "'"));
  ASSERT_EQ(paginas.Cuenta(), 21);
  int encogidas = 0;
  for (int i = 1; i < paginas.Cuenta(); ++i) {
    encogidas += paginas.Escala(i) < 1;
    EXPECT_FALSE(paginas.Recortada(i)) << "página " << i + 1;
    EXPECT_GE(paginas.Escala(i), TPaginasReporte::kEscalaMinima);
  }
  EXPECT_GT(encogidas, 10);
  for (int i : {1, 6, 17}) EXPECT_EQ(TintaFueraDeMarcos(paginas, i), 0) << "página " << i + 1;
}

TEST_F(PaginasReporteTest, RespuestasAbsurdasSeRecortanEnSuMarco) {
  std::string enorme = "RENGLÓN SIN FIN\r\n";
  for (int k = 0; k < 200; ++k) enorme += "PALABRAPEGADASINESPACIOSQUENOCABEENELRENGLON" + std::to_string(k) + "\r\n";
  TPaginasReporte paginas;
  paginas.Prepara(plantilla_, ConTodas(enorme));
  ASSERT_EQ(paginas.Cuenta(), 21) << "nunca hay páginas de más";
  for (int i = 1; i < paginas.Cuenta(); ++i) EXPECT_TRUE(paginas.Recortada(i)) << "página " << i + 1;
  for (int i : {1, 20}) EXPECT_EQ(TintaFueraDeMarcos(paginas, i), 0) << "página " << i + 1;
  EXPECT_TRUE(paginas.Texto(20).endsWith(QStringLiteral("Página 21 de 21")));
}

TEST_F(PaginasReporteTest, PrepararDeNuevoDescartaLoAnterior) {
  TPaginasReporte paginas;
  auto v = prueba::VariablesDeMuestra();
  paginas.Prepara(plantilla_, v);
  v.AsignaVariable("Cuestionario", "preg_100", "'OTRA RESPUESTA'");
  paginas.Prepara(plantilla_, v);
  ASSERT_EQ(paginas.Cuenta(), 21);
  EXPECT_TRUE(paginas.Texto(11).contains(QStringLiteral("OTRA RESPUESTA")));
  EXPECT_FALSE(paginas.Texto(11).contains(QStringLiteral("Q100")));
}

}  // namespace
}  // namespace qavi
