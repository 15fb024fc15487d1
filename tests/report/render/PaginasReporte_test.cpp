// Layout of the prepared pages: everything stays inside its frame, whatever the answers.
#include "report/render/PaginasReporte.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

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

  // Page i drawn at `ppp` dots per inch, as a reduced preview shows it.
  QImage Imagen(const TPaginasReporte& paginas, int i, double ppp = 72, const QString& resaltado = {},
                const TCoincidencia* actual = nullptr) const {
    const double pxmm = ppp / 25.4;
    QImage img(qRound(plantilla_.dAnchoPapel * pxmm), qRound(plantilla_.dAltoPapel * pxmm), QImage::Format_RGB32);
    img.setDotsPerMeterX(qRound(ppp / 0.0254));
    img.setDotsPerMeterY(qRound(ppp / 0.0254));
    img.fill(Qt::white);
    QPainter p(&img);
    paginas.Dibuja(p, img, i, resaltado, actual);
    return img;
  }

  // Count of inked pixels of page i outside its body and page-line frames, drawn at 72 dpi.
  int TintaFueraDeMarcos(const TPaginasReporte& paginas, int i) const {
    const double pxmm = 72 / 25.4;
    const QImage img = Imagen(paginas, i);
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

// At the size of a whole page on screen the underline of a heading keeps clear of its letters: a
// clean row of pixels lies between the letters and the line.
TEST_F(PaginasReporteTest, SubrayadoBajoLasLetras) {
  TPaginasReporte paginas;
  paginas.Prepara(plantilla_, prueba::VariablesDeMuestra());
  for (const char* titulo : {"Información General (cont.)", "Operaciones con Entidades Financieras Nacionales"}) {
    const auto hallazgos = paginas.Busca(QString::fromUtf8(titulo));
    ASSERT_FALSE(hallazgos.empty()) << titulo;
    for (const double ppp : {60.0, 72.0, 96.0}) {
      const QImage img = Imagen(paginas, hallazgos[0].pagina, ppp);
      const double f = ppp / TPaginasReporte::kUnidadesPorPulgada;
      const QRectF r = paginas.Rect(hallazgos[0]);
      const QRect linea = QRectF(r.x() * f, r.y() * f, r.width() * f, r.height() * f).toAlignedRect();
      std::vector<int> tinta;
      for (int y = linea.top(); y <= linea.bottom() + linea.height() / 2; ++y) {
        int n = 0;
        for (int x = linea.left(); x <= linea.right(); ++x) n += qGray(img.pixel(x, y)) < 160;
        tinta.push_back(n);
      }
      // The underline: the most inked row of the lower half.
      const auto desde = tinta.begin() + static_cast<long>(tinta.size() / 2);
      const auto subrayado = std::max_element(desde, tinta.end());
      ASSERT_GT(*subrayado, linea.width() / 2) << titulo << " a " << ppp;
      const int umbral = *subrayado / 10;
      bool claro = false;
      for (auto it = subrayado - 1; it >= subrayado - 3 && it >= tinta.begin(); --it) claro |= *it <= umbral;
      EXPECT_TRUE(claro) << titulo << " a " << ppp << " ppp: el subrayado toca las letras";
    }
  }
}

// Every match is found in reading order; the one the preview stands on is drawn more strongly.
TEST_F(PaginasReporteTest, CoincidenciasYResaltado) {
  TPaginasReporte paginas;
  paginas.Prepara(plantilla_, prueba::VariablesDeMuestra());
  const auto hallazgos = paginas.Busca(QStringLiteral("no incluir peps"));
  ASSERT_GT(hallazgos.size(), 8u);
  for (size_t k = 1; k < hallazgos.size(); ++k) {
    const auto& a = hallazgos[k - 1];
    const auto& b = hallazgos[k];
    EXPECT_TRUE(a.pagina < b.pagina || (a.pagina == b.pagina && a.desde < b.desde));
  }
  EXPECT_EQ(hallazgos[0].pagina, 5);
  EXPECT_EQ(hallazgos[1].pagina, 5) << "varias en una misma página";
  EXPECT_TRUE(paginas.Busca(QStringLiteral("no aparece en ningún lado")).empty());

  auto cuenta = [](const QImage& img, QRgb color) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == color;
    return n;
  };
  const QRgb amarillo = qRgb(255, 235, 59), naranja = qRgb(255, 152, 0);
  const QImage sinActual = Imagen(paginas, 5, 72, QStringLiteral("no incluir peps"));
  EXPECT_GT(cuenta(sinActual, amarillo), 0);
  EXPECT_EQ(cuenta(sinActual, naranja), 0);
  const QImage conActual = Imagen(paginas, 5, 72, QStringLiteral("no incluir peps"), &hallazgos[1]);
  EXPECT_GT(cuenta(conActual, naranja), 0);
  EXPECT_LT(cuenta(conActual, amarillo), cuenta(sinActual, amarillo));
  // Only on its own page.
  EXPECT_EQ(cuenta(Imagen(paginas, 6, 72, QStringLiteral("no incluir peps"), &hallazgos[1]), naranja), 0);
}

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
