// The preview window and the report component that opens it.
#include "report/render/VistaPrevia.h"

#include <QApplication>
#include <functional>
#include <QFile>
#include <QListWidget>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
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

// The same text again goes hit by hit, also within one page, then wraps; the label counts hits
// and speaks only of the page on screen.
TEST_F(VistaPreviaTest, BuscarCoincidenciaPorCoincidencia) {
  TVistaPrevia v(paginas_, QStringLiteral("x"));
  v.show();
  QApplication::processEvents();
  const QString texto = QStringLiteral("no incluir PEPs");
  const auto todas = paginas_.Busca(texto);
  ASSERT_GT(todas.size(), 8u);
  for (size_t k = 0; k < todas.size(); ++k) {
    ASSERT_TRUE(v.Busca(texto));
    ASSERT_NE(v.Actual(), nullptr);
    EXPECT_EQ(*v.Actual(), todas[k]) << k;
    EXPECT_EQ(v.Vista()->currentPage(), todas[k].pagina + 1);
    EXPECT_EQ(v.TextoBusqueda(),
              QStringLiteral("%1 de %2, página %3").arg(k + 1).arg(todas.size()).arg(todas[k].pagina + 1));
  }
  ASSERT_TRUE(v.Busca(texto));
  EXPECT_EQ(*v.Actual(), todas[0]) << "después de la última vuelve a la primera";
  // Going to another page leaves no stale "página 6" behind.
  v.findChild<QAction*>(QStringLiteral("acUltima"))->trigger();
  EXPECT_EQ(v.Vista()->currentPage(), 21);
  EXPECT_TRUE(v.TextoBusqueda().isEmpty());
  // From there a search starts on the page on screen, wrapping around.
  ASSERT_TRUE(v.Busca(texto));
  EXPECT_EQ(*v.Actual(), todas[0]);
  EXPECT_FALSE(v.Busca(QStringLiteral("no aparece en ningún lado")));
  EXPECT_EQ(v.TextoBusqueda(), QStringLiteral("No se encontró «no aparece en ningún lado»"));
}

TEST_F(VistaPreviaTest, CtrlInicioYCtrlFin) {
  TVistaPrevia v(paginas_, QStringLiteral("x"));
  v.show();
  QApplication::setActiveWindow(&v);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
  v.Vista()->setFocus();
  QTest::keyClick(v.Vista(), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(v.Vista()->currentPage(), 21);
  QTest::keyClick(v.Vista(), Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(v.Vista()->currentPage(), 1);
}

// The outline: one thumbnail per page, hidden until asked for; a click goes to that page.
TEST_F(VistaPreviaTest, MiniaturasDeLasPaginas) {
  TVistaPrevia v(paginas_, QStringLiteral("x"));
  v.show();
  QApplication::processEvents();
  auto* boton = v.findChild<QAction*>(QStringLiteral("acMiniaturas"));
  ASSERT_NE(boton, nullptr);
  EXPECT_FALSE(v.Miniaturas()->isVisible());
  boton->trigger();
  ASSERT_TRUE(v.Miniaturas()->isVisible());
  ASSERT_EQ(v.Miniaturas()->count(), 21);
  EXPECT_EQ(v.Miniaturas()->item(20)->text(), QStringLiteral("Página 21"));
  EXPECT_FALSE(v.Miniaturas()->item(0)->icon().isNull());
  auto* lista = v.Miniaturas();
  lista->scrollToItem(lista->item(6));
  QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualItemRect(lista->item(6)).center());
  EXPECT_EQ(v.Vista()->currentPage(), 7);
  v.findChild<QAction*>(QStringLiteral("acPrimera"))->trigger();
  EXPECT_EQ(lista->currentRow(), 0) << "la miniatura sigue a la página que se ve";
  boton->trigger();
  EXPECT_FALSE(v.Miniaturas()->isVisible());
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

// Shows the report and, once its modal preview is up, looks at it and closes it.
void MuestraYMira(TManejadorReportes& manejador, const std::function<void(TVistaPrevia*)>& mira) {
  QTimer reloj;
  int intentos = 0;
  reloj.setInterval(20);
  QObject::connect(&reloj, &QTimer::timeout, [&] {
    auto* v = dynamic_cast<TVistaPrevia*>(QApplication::activeModalWidget());
    if (!v && ++intentos < 250) return;
    reloj.stop();
    if (!v) return;
    mira(v);
    v->reject();
  });
  reloj.start();
  manejador.MuestraReporte();
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
  MuestraYMira(manejador, [&](TVistaPrevia* v) {
    titulo = v->windowTitle();
    paginas = v->Vista()->pageCount();
    maximizada = v->windowState().testFlag(Qt::WindowMaximized);
  });

  EXPECT_EQ(titulo, QStringLiteral("Encuesta KORU 2016"));
  EXPECT_EQ(paginas, 21);
  EXPECT_TRUE(maximizada);
  const QString p2 = reporte->Paginas().Texto(1);
  EXPECT_TRUE(p2.contains(QStringLiteral("CASA O'NEIL")));
  EXPECT_TRUE(reporte->Paginas().Texto(2).contains(QStringLiteral("Respuesta: 5")));
  EXPECT_FALSE(reporte->Variables().DameValor("preg_8").has_value());
}

// The run that shows the report holds the busy cursor; the preview is used with the normal one,
// and the run gets its cursor back afterwards.
TEST(ReporteCuestionario, SinCursorOcupadoEnLaVista) {
  auto reporte = std::make_shared<TReporteCuestionario>();
  TManejadorReportes manejador(reporte.get(), "x");
  bool abierta = false, ocupado = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  MuestraYMira(manejador, [&](TVistaPrevia*) {
    abierta = true;
    ocupado = QApplication::overrideCursor() != nullptr;
  });
  ASSERT_TRUE(abierta);
  EXPECT_FALSE(ocupado);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QApplication::restoreOverrideCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace qavi
