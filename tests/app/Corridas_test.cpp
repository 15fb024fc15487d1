// Both runs of the window over Velmar folders written by the project's Jet writer: what the user
// sees, in order, and what reaches the report.
#include <filesystem>
#include <optional>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "CorridaVentana.h"
#include "app/DataModule.h"
#include "app/Principal.h"
#include "db/ColectorConxs.h"
#include "engine/Corrida.h"
#include "jetwriter/VelmarFixture.h"
#include "report/ExpresionReporte.h"
#include "report/ReporteMemoria.h"
#include "support/GrabadoraMensajes.h"

using namespace qavi;
using namespace qavi::prueba;
using tools::TVelmarFixture;

Q_DECLARE_METATYPE(std::optional<TVelmarFixture>)

namespace {

const QColor kTeal(0, 128, 128);
const QColor kGris(128, 128, 128);
const QColor kRojo(255, 0, 0);
TVelmarFixture SinCandidatos() {
  TVelmarFixture f;
  f.Cliente({.clave = "C2", .nombre = "LUIS"});
  f.Movto({.folio = 1, .cantidad = 60.0, .cliente = "C2"});
  return f;
}

}  // namespace

class TCorridasTest : public QObject {
  Q_OBJECT

  QTemporaryDir* dir_ = nullptr;
  std::unique_ptr<prueba::TAjustesDePrueba> ajustes_;
  std::filesystem::path Ruta() const { return dir_->path().toStdString(); }

 private slots:
  void initTestCase() { ajustes_ = std::make_unique<prueba::TAjustesDePrueba>(); }
  void init() {
    dir_ = new QTemporaryDir;
    QVERIFY(dir_->isValid());
    // "BDPrincipal" stays registered for the life of the registry: a fresh one per test.
    gColectorConxs = std::make_shared<TColectorConxs>();
  }
  void cleanup() {
    gColectorConxs.reset();
    delete dir_;
    dir_ = nullptr;
  }

  // Nobody to tick: step 4 covered and greyed, the report can still be made.
  void DeteccionSinPEPsYReporte() {
    TCorrida c(Ruta(), SinCandidatos(), Ruta());
    c.w->bnDetectaPEPs->click();
    QVERIFY(c.Cajas().empty());
    QCOMPARE(c.textos.value(0), kConectando);
    QCOMPARE(c.textos.last(), kDeteccionLista);
    QVERIFY(c.w->pnIgnorar->isVisible());
    QCOMPARE(c.w->pnIgnorar->pos(), QPoint(88, 464));
    QCOMPARE(TMensajero::ColorDe(c.w->txPaso4), kGris);
    QVERIFY(c.w->bnGenReporte->isEnabled());
    QVERIFY(!c.w->grdPEPs->isEnabled());
    QVERIFY(!QApplication::overrideCursor());

    c.textos.clear();
    c.w->bnGenReporte->click();
    QCOMPARE(c.preguntas, 2);
    QVERIFY(c.Cajas().empty());
    QCOMPARE(c.reporte->VecesMostrado(), 1);
    QCOMPARE(c.textos.value(0), kAdvertencia);
    QCOMPARE(c.textos.value(1), kConectando);
    QCOMPARE(c.textos.last(), kReporteListo);
    QCOMPARE(c.w->txMensajes->text(), kReporteListo);
    QCOMPARE(c.Respuesta(35), QStringLiteral("Respuesta: 0"));
    QCOMPARE(c.Respuesta(52), QStringLiteral("Respuesta: 60"));
    QVERIFY(c.w->bnGenReporte->isEnabled());
    QVERIFY(c.w->bnDetectaPEPs->isEnabled());
  }

  // Candidates in the grid; the user's ticks are what the answers count as PEPs.
  void DeteccionConPEPsYMarcas() {
    TCorrida c(Ruta(), ConCandidatos(), Ruta());
    c.w->MuestraSinPEPs(true);  // as a detection without candidates would have left it
    c.w->bnDetectaPEPs->click();
    QVERIFY(c.Cajas().empty());
    QCOMPARE(c.textos.last(), kDeteccionLista);
    QVERIFY(!c.w->pnIgnorar->isVisible());
    QCOMPARE(TMensajero::ColorDe(c.w->txPaso4), kTeal);
    QVERIFY(c.w->grdPEPs->isEnabled());
    QVERIFY(c.w->bnGenReporte->isEnabled());
    QCOMPARE(c.w->grdPEPs->model()->rowCount(), 2);
    const int ana = c.FilaDe(QStringLiteral("ANA SOLIS"));
    const int rosa = c.FilaDe(QStringLiteral("ROSA CRUZ"));
    QVERIFY(ana >= 0 && rosa >= 0);
    QCOMPARE(c.FilaDe(QStringLiteral("LUIS MORA")), -1);

    c.ClicMarca(ana);
    QVERIFY(c.dm.vtPEPs.Filas()[size_t(ana)].EsPEP);
    QVERIFY(!c.dm.vtPEPs.Filas()[size_t(rosa)].EsPEP);
    c.w->bnGenReporte->click();
    QCOMPARE(c.reporte->VecesMostrado(), 1);
    QCOMPARE(c.textos.last(), kReporteListo);
    QCOMPARE(c.Respuesta(35), QStringLiteral("Respuesta: 1"));
    QCOMPARE(c.Respuesta(60), QStringLiteral("Respuesta: 40"));

    // Untick with the keyboard and generate again: the new run reads the table as it is now.
    c.w->grdPEPs->setFocus();
    c.w->grdPEPs->setCurrentIndex(c.w->grdPEPs->model()->index(ana, 0));
    QTest::keyClick(c.w->grdPEPs, Qt::Key_Space);
    QVERIFY(!c.dm.vtPEPs.Filas()[size_t(ana)].EsPEP);
    c.w->bnGenReporte->click();
    QCOMPARE(c.reporte->VecesMostrado(), 2);
    QCOMPARE(c.Respuesta(35), QStringLiteral("Respuesta: 0"));
    QCOMPARE(c.Respuesta(60), QStringLiteral("Respuesta: 0"));

    // A new detection starts over: every mark cleared.
    c.ClicMarca(rosa);
    c.w->bnDetectaPEPs->click();
    QCOMPARE(c.w->grdPEPs->model()->rowCount(), 2);
    for (const auto& f : c.dm.vtPEPs.Filas()) QVERIFY(!f.EsPEP);
  }

  // During either run both buttons are off (a click cannot start the other run inside it) and the
  // cursor is busy; afterwards all is back.
  void BotonesDuranteCorrida() {
    TCorrida c(Ruta(), SinCandidatos(), Ruta());
    bool visto = false, detectar = true, generar = true, ocupado = false;
    QObject::connect(c.w->Mensajero().get(), &TMensajero::TextoCambiado, [&](const QString& s) {
      if (s != kConectando) return;
      visto = true;
      detectar = c.w->bnDetectaPEPs->isEnabled();
      generar = c.w->bnGenReporte->isEnabled();
      ocupado = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
      c.w->bnGenReporteClick();
      c.w->bnDetectaPEPsClick();
    });
    c.w->bnDetectaPEPs->click();
    QVERIFY(visto && ocupado && !detectar && !generar);
    QCOMPARE(c.preguntas, 1);
    QCOMPARE(c.reporte->VecesMostrado(), 0);
    visto = false;
    detectar = generar = true;
    c.w->bnGenReporte->click();
    QVERIFY(visto && ocupado && !detectar && !generar);
    QCOMPARE(c.reporte->VecesMostrado(), 1);
    QVERIFY(c.w->bnGenReporte->isEnabled() && c.w->bnDetectaPEPs->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
  }

  // Every preamble failure: its box, the status texts in order, and the window as it was.
  void FallasDelPreambulo_data() {
    QTest::addColumn<std::optional<TVelmarFixture>>("fixture");
    QTest::addColumn<bool>("quitaBase");
    QTest::addColumn<QString>("usuario");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("caja");
    QTest::addColumn<QStringList>("textos");
    QTest::addColumn<bool>("generar");

    const QString faltaBD = QString::fromUtf8(kMsjFaltaBD);
    const QString sinEmpresa = QString::fromUtf8(kMsjSinEmpresa);
    const QString conectado = QString::fromUtf8(kMsjUsuarioConectado);
    const QString accesoCaja = QString::fromUtf8(kMsjAccesoCaja);
    const QString accesoLinea = QString::fromUtf8(kMsjAccesoLinea);
    auto ini = [](const char* texto) { return std::optional<TVelmarFixture>(TVelmarFixture().Ini(std::string(texto))); };
    auto conUsuario = [] {
      TVelmarFixture f;
      f.CompUsr();
      return std::optional<TVelmarFixture>(f);
    };
    auto conCajero = [] {
      TVelmarFixture f;
      f.Emp({.clave = "CAJERO", .password = "CAJA", .nivel = 3});
      return std::optional<TVelmarFixture>(f);
    };

    struct TCaso {
      const char* nombre;
      std::optional<TVelmarFixture> f;
      bool quitaBase;
      QString usuario, password, caja;
      QStringList textos;
      // A detection ends with the refusal on the status line; a report with its own last line.
      QString rechazo{};
    };
    const TCaso casos[] = {
        {"sin base de datos", TVelmarFixture(), true, "ADMIN", "DEMO", faltaBD, {}},
        {"sin base ni INI", std::nullopt, false, "ADMIN", "DEMO", faltaBD, {}},
        {"sin INI", TVelmarFixture().Ini(std::nullopt), false, "ADMIN", "DEMO", sinEmpresa, {kConectando}, sinEmpresa},
        {"EmpresaActiva 0", ini("[Control]\r\nEmpresaActiva=0\r\n"), false, "ADMIN", "DEMO", sinEmpresa, {kConectando}, sinEmpresa},
        {"EmpresaActiva negativa", ini("[Control]\r\nEmpresaActiva=-3\r\n"), false, "ADMIN", "DEMO", sinEmpresa,
         {kConectando}, sinEmpresa},
        {"EmpresaActiva letras", ini("[Control]\r\nEmpresaActiva=UNO\r\n"), false, "ADMIN", "DEMO", sinEmpresa,
         {kConectando}, sinEmpresa},
        {"EmpresaActiva vacía", ini("[Control]\r\nEmpresaActiva=\r\n"), false, "ADMIN", "DEMO", sinEmpresa,
         {kConectando}, sinEmpresa},
        {"sin la clave", ini("[General]\r\nSucursal=3\r\n"), false, "ADMIN", "DEMO", sinEmpresa, {kConectando}, sinEmpresa},
        {"usuario conectado", conUsuario(), false, "ADMIN", "DEMO", conectado, {kConectando}, conectado},
        {"contraseña incorrecta", TVelmarFixture(), false, "ADMIN", "OTRA", accesoCaja, {kConectando, accesoLinea}},
        {"contraseña vacía", TVelmarFixture(), false, "ADMIN", "", accesoCaja, {kConectando, accesoLinea}},
        {"usuario con blancos", TVelmarFixture(), false, " ADMIN ", "DEMO", accesoCaja, {kConectando, accesoLinea}},
        {"no es administrador", conCajero(), false, "CAJERO", "CAJA", accesoCaja, {kConectando, accesoLinea}},
    };
    for (const auto& k : casos) {
      QTest::addRow("%s, detectar", k.nombre)
          << k.f << k.quitaBase << k.usuario << k.password << k.caja
          << (k.rechazo.isEmpty() ? k.textos : k.textos + QStringList{k.rechazo}) << false;
      QTest::addRow("%s, generar", k.nombre)
          << k.f << k.quitaBase << k.usuario << k.password << k.caja
          << (QStringList{kAdvertencia} + k.textos + QStringList{kReporteFallo}) << true;
    }
  }
  void FallasDelPreambulo() {
    QFETCH(std::optional<TVelmarFixture>, fixture);
    QFETCH(bool, quitaBase);
    QFETCH(QString, usuario);
    QFETCH(QString, password);
    QFETCH(QString, caja);
    QFETCH(QStringList, textos);
    QFETCH(bool, generar);
    TCorrida c(Ruta(), fixture, Ruta());
    if (quitaBase) QVERIFY(std::filesystem::remove(Ruta() / "DataBase" / "Velmar.mdb"));
    c.w->edUsuario->setText(usuario);
    c.w->edPassw->setText(password);
    c.w->bnGenReporte->setFocus();
    QTimer reloj;  // the password label blinks inside the run's last pause
    bool passwRojo = false;
    QObject::connect(&reloj, &QTimer::timeout, [&] { passwRojo |= TMensajero::ColorDe(c.w->txPassw) == kRojo; });
    reloj.start(20);

    if (generar)
      c.w->bnGenReporteClick();  // the handler itself: the button is only enabled after a detection
    else
      c.w->bnDetectaPEPs->click();
    QTest::qWait(100);

    QCOMPARE(c.Cajas(), std::vector<std::string>{caja.toStdString()});
    QCOMPARE(c.textos, textos);
    QCOMPARE(c.reporte->VecesMostrado(), 0);
    QVERIFY(c.dm.vtPEPs.RecordCount() == 0);
    QVERIFY(!c.w->bnGenReporte->isEnabled());
    QVERIFY(c.w->bnDetectaPEPs->isEnabled());
    QVERIFY(c.w->pnIgnorar->isHidden());
    QVERIFY(!QApplication::overrideCursor());
    const bool acceso = caja == QString::fromUtf8(kMsjAccesoCaja);
    QCOMPARE(passwRojo, acceso);
    if (acceso) QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(c.w->edPassw));
  }

  // A run started from the keyboard: keys typed while it runs reach no text box, and afterwards
  // the focus is back on the button that started it (not on the rate box).
  void FocoTrasLaCorrida_data() {
    QTest::addColumn<bool>("generar");
    QTest::addColumn<int>("tecla");
    QTest::newRow("detectar con Enter") << false << int(Qt::Key_Return);
    QTest::newRow("detectar con espacio") << false << int(Qt::Key_Space);
    QTest::newRow("generar con Enter") << true << int(Qt::Key_Return);
  }
  void FocoTrasLaCorrida() {
    QFETCH(bool, generar);
    QFETCH(int, tecla);
    TCorrida c(Ruta(), ConCandidatos(), Ruta());
    if (generar) c.w->bnDetectaPEPs->click();
    QPushButton* boton = generar ? static_cast<QPushButton*>(c.w->bnGenReporte) : c.w->bnDetectaPEPs;
    QWidget* focoEnCorrida = nullptr;
    QObject::connect(c.w->Mensajero().get(), &TMensajero::TextoCambiado, [&](const QString& s) {
      if (s != kConectando) return;
      focoEnCorrida = QApplication::focusWidget();
      QTest::keyClicks(focoEnCorrida, QStringLiteral("99"));
    });
    boton->setFocus();
    QTest::keyClick(boton, Qt::Key(tecla));
    QVERIFY(focoEnCorrida);
    QVERIFY(focoEnCorrida != c.w->edCambio);
    QCOMPARE(c.w->edCambio->text(), QStringLiteral("16"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(boton));
    QCOMPARE(c.textos.last(), generar ? kReporteListo : kDeteccionLista);
  }

  // A failed detection after a good one leaves "Generar reporte" usable and the grid as it was.
  void FallaTrasDeteccionBuena() {
    TCorrida c(Ruta(), ConCandidatos(), Ruta());
    c.w->bnDetectaPEPs->click();
    QVERIFY(c.w->bnGenReporte->isEnabled());
    QVERIFY(std::filesystem::remove(Ruta() / "DataBase" / "Velmar.mdb"));
    c.w->bnDetectaPEPs->click();
    QCOMPARE(c.Cajas(), std::vector<std::string>{kMsjFaltaBD});
    QVERIFY(c.w->bnGenReporte->isEnabled());
    QVERIFY(c.w->grdPEPs->isEnabled());
    QCOMPARE(c.w->grdPEPs->model()->rowCount(), 2);
  }

  // Started from another current folder, the files are looked for beside the executable.
  void CarpetaDelEjecutable() {
    const std::filesystem::path exe = CarpetaEjecutable();
    QCOMPARE(QString::fromStdString(exe.string()), QCoreApplication::applicationDirPath());
    QVERIFY(!std::filesystem::exists(exe / "DataBase"));
    struct TLimpia {
      std::filesystem::path exe, previa;
      ~TLimpia() {
        std::filesystem::current_path(previa);
        std::error_code ec;
        std::filesystem::remove_all(exe / "DataBase", ec);
        std::filesystem::remove(exe / "Velmar.INI", ec);
      }
    } limpia{exe, std::filesystem::current_path()};
    std::filesystem::current_path(Ruta());  // an empty folder
    TCorrida c(exe, SinCandidatos());
    QCOMPARE(c.w->Carpeta(), exe);
    c.w->bnDetectaPEPs->click();
    QVERIFY(c.Cajas().empty());
    QCOMPARE(c.textos.last(), kDeteccionLista);
  }
};

QTEST_MAIN(TCorridasTest)
#include "Corridas_test.moc"
