// The preview window and the report component that opens it.
#include "report/render/VistaPrevia.h"

#include <QApplication>
#include <QFile>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "ImprimeQt.h"
#include "report/ManejadorReportes.h"
#include "report/render/CargaPlantilla.h"
#include "report/render/ReporteCuestionario.h"
#include "report/render/Respuestas.h"

namespace qavi {
namespace {

class VistaPreviaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TPlantillaReporte plantilla;
    QString e;
    ASSERT_TRUE(CargaPlantillaCuestionario(plantilla, e)) << e.toStdString();
    paginas_.Prepara(plantilla, prueba::VariablesDeMuestra());
  }
  TPaginasReporte paginas_;
};

TEST_F(VistaPreviaTest, TituloPaginasYZoomInicial) {
  TVistaPrevia v(paginas_, QStringLiteral("Encuesta KORU 2016"));
  v.show();
  QApplication::processEvents();
  EXPECT_EQ(v.windowTitle(), QStringLiteral("Encuesta KORU 2016"));
  EXPECT_EQ(v.Impresora().docName(), QStringLiteral("Encuesta KORU 2016"));
  EXPECT_TRUE(v.isModal());
  EXPECT_EQ(v.Vista()->pageCount(), 21);
  EXPECT_DOUBLE_EQ(v.Vista()->zoomFactor(), 1.0);
  EXPECT_EQ(v.Impresora().pageLayout().pageSize().id(), QPageSize::Letter);
  EXPECT_EQ(v.Impresora().pageLayout().orientation(), QPageLayout::Portrait);
  EXPECT_TRUE(v.Impresora().fullPage()) << "las páginas se dibujan desde la esquina del papel";
  for (const char* accion : {"acImprimir", "acExportarPDF", "acConfigurarPagina", "acBuscar"})
    EXPECT_NE(v.findChild<QAction*>(QLatin1String(accion)), nullptr) << accion;
}

TEST_F(VistaPreviaTest, BuscarRecorreLasPaginas) {
  TVistaPrevia v(paginas_, QStringLiteral("x"));
  v.show();
  QApplication::processEvents();
  EXPECT_TRUE(v.Busca(QStringLiteral("NOTA 2:")));
  EXPECT_EQ(v.Vista()->currentPage(), 1);
  EXPECT_TRUE(v.Busca(QStringLiteral("q100")));
  EXPECT_EQ(v.Vista()->currentPage(), 12);
  EXPECT_TRUE(v.Busca(QStringLiteral("Información General (cont.)")));
  EXPECT_EQ(v.Vista()->currentPage(), 12) << "una búsqueda nueva empieza en la página que se ve";
  EXPECT_TRUE(v.Busca(QStringLiteral("Información General (cont.)")));
  EXPECT_EQ(v.Vista()->currentPage(), 13) << "la misma búsqueda sigue en la siguiente página que la tiene";
  EXPECT_TRUE(v.Busca(QStringLiteral("Q001")));
  EXPECT_EQ(v.Vista()->currentPage(), 2) << "al final vuelve al principio";
  EXPECT_FALSE(v.Busca(QStringLiteral("no aparece en ningún lado")));
  EXPECT_EQ(v.Vista()->currentPage(), 2);
}

TEST_F(VistaPreviaTest, ExportaDesdeLaVista) {
  QTemporaryDir dir;
  TVistaPrevia v(paginas_, QStringLiteral("x"));
  QString error;
  const QString ruta = dir.filePath(QStringLiteral("salida.pdf"));
  ASSERT_TRUE(v.ExportaA(ruta, error)) << error.toStdString();
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.read(5).startsWith("%PDF-"));
}

TEST(ReporteCuestionario, MuestraAbreLaVistaMaximizadaYModal) {
  auto reporte = std::make_shared<TReporteCuestionario>();
  TManejadorReportes manejador(reporte.get(), "Encuesta KORU 2016");
  manejador.AgregaDatoReporte("Cuestionario", "NombreCC", "CASA O'NEIL");
  manejador.AgregaDatoReporte("Cuestionario", "preg_7", "Respuesta: 5");
  manejador.AgregaDatoReporte("Respuestas", "preg_8", "no se guarda");

  QString titulo;
  int paginas = 0;
  bool maximizada = false;
  QTimer reloj;
  int intentos = 0;
  reloj.setInterval(20);
  QObject::connect(&reloj, &QTimer::timeout, [&] {
    auto* v = dynamic_cast<TVistaPrevia*>(QApplication::activeModalWidget());
    if (!v && ++intentos < 250) return;
    reloj.stop();
    if (!v) return;
    titulo = v->windowTitle();
    paginas = v->Vista()->pageCount();
    maximizada = v->windowState().testFlag(Qt::WindowMaximized);
    v->reject();
  });
  reloj.start();
  manejador.MuestraReporte();

  EXPECT_EQ(titulo, QStringLiteral("Encuesta KORU 2016"));
  EXPECT_EQ(paginas, 21);
  EXPECT_TRUE(maximizada);
  const QString p2 = reporte->Paginas().Texto(1);
  EXPECT_TRUE(p2.contains(QStringLiteral("CASA O'NEIL")));
  EXPECT_TRUE(reporte->Paginas().Texto(2).contains(QStringLiteral("Respuesta: 5")));
  EXPECT_FALSE(reporte->Variables().DameValor("preg_8").has_value());
}

}  // namespace
}  // namespace qavi
