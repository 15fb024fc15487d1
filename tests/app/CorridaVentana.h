#pragma once
// The main window over a Velmar folder written by the Jet writer: the instructions answered by
// the test, every status text and modal box recorded, the demo administrator typed in.
#include <filesystem>
#include <memory>
#include <optional>

#include <QApplication>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "app/DataModule.h"
#include "app/Principal.h"
#include "app/Sucursales.h"
#include "engine/Corrida.h"
#include "jetwriter/VelmarFixture.h"
#include "report/ExpresionReporte.h"
#include "report/ReporteMemoria.h"
#include "support/GrabadoraMensajes.h"

namespace qavi::prueba {

inline const QString kConectando = QString::fromUtf8(kMsjConectando);
inline const QString kDeteccionLista = QStringLiteral("La detección de PEPs ha finalizado.");
inline const QString kAdvertencia = QStringLiteral("¡Advertencia!");
inline const QString kReporteListo = QStringLiteral("El reporte se generó correctamente.");
inline const QString kReporteFallo = QStringLiteral("No fue posible generar el reporte. Llame a Soporte Técnico.");

// Candidates: ANA (PEP in her report) and ROSA (possible PEP); LUIS's report is not about PEPs.
inline tools::TVelmarFixture ConCandidatos() {
  tools::TVelmarFixture f;
  f.Cliente({.clave = "P1", .nombre = "ANA", .paterno = "SOLIS", .materno = tools::Nulo});
  f.Cliente({.clave = "C2", .nombre = "LUIS", .paterno = "MORA", .materno = tools::Nulo});
  f.Cliente({.clave = "C3", .nombre = "ROSA", .paterno = "CRUZ", .materno = tools::Nulo});
  f.Relevan({.observaciones = "Es PEP", .cliente = "P1"});
  f.Relevan({.observaciones = "POSIBLE PEP", .cliente = "C3"});
  f.Relevan({.observaciones = "OPERACION INUSUAL", .cliente = "C2"});
  f.Movto({.folio = 1, .cantidad = 40.0, .cliente = "P1"});
  f.Movto({.folio = 2, .cantidad = 60.0, .cliente = "C2"});
  return f;
}

// While it lives, the program's settings go to a folder of the test's own, never the user's.
class TAjustesDePrueba {
 public:
  TAjustesDePrueba() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path()); }
  QString Archivo() const { return AbreAjustes()->fileName(); }

 private:
  QTemporaryDir dir_;
};

// The window over a Velmar folder, the instructions answered by the test, everything it shows recorded.
struct TCorrida {
  std::filesystem::path ruta;
  std::shared_ptr<TReporteMemoria> reporte = std::make_shared<TReporteMemoria>();
  TdmMain dm{reporte};
  std::unique_ptr<TfrmPrincipal> w;
  TGrabadoraMensajes cajas;
  QStringList textos;  // status texts, clearing left out
  int preguntas = 0;
  bool respuesta = true;

  TCorrida(const std::filesystem::path& carpeta, const std::optional<tools::TVelmarFixture>& f,
           std::optional<std::filesystem::path> carpetaVentana = carpetaNinguna())
      : ruta(carpeta) {
    if (f) {
      std::string error;
      QVERIFY2(f->Escribe(ruta, &error), error.c_str());
    }
    w = carpetaVentana ? std::make_unique<TfrmPrincipal>(dm, *carpetaVentana) : std::make_unique<TfrmPrincipal>(dm);
    w->AsignaPregunta([this](QWidget*) {
      ++preguntas;
      return respuesta;
    });
    QObject::connect(w->Mensajero().get(), &TMensajero::TextoCambiado, [this](const QString& s) {
      if (!s.isEmpty()) textos << s;
    });
    w->show();
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QTRY_COMPARE(preguntas, 1);
    w->edUsuario->setText(QStringLiteral("ADMIN"));
    w->edPassw->setText(QStringLiteral("DEMO"));
  }
  static std::optional<std::filesystem::path> carpetaNinguna() { return std::nullopt; }

  QString Respuesta(int n) const {
    return QString::fromStdString(EvaluaValor(reporte->Variables().DameValor("preg_" + std::to_string(n))));
  }
  int FilaDe(const QString& nombre) const {
    for (int i = 0; i < w->grdPEPs->model()->rowCount(); ++i)
      if (w->grdPEPs->model()->index(i, 1).data().toString() == nombre) return i;
    return -1;
  }
  void ClicMarca(int fila) {
    auto* g = w->grdPEPs;
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(fila, 0)).center());
  }
  std::vector<std::string> Cajas() const { return cajas.Mensajes(); }
};

}  // namespace qavi::prueba
