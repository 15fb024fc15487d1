// The window with several branches: the list the user names (added, removed, each with its own
// administrator), remembered without passwords, the password asked once a session, the branch
// column and per-branch ticks reaching the report, a refusal in another branch, and with no
// branch named the window of always.
#include <filesystem>
#include <functional>
#include <optional>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>

#include "CorridaVentana.h"
#include "app/DialogoSucursales.h"
#include "app/Sucursales.h"
#include "db/ColectorConxs.h"
#include "engine/Corrida.h"
#include "report/RepCuestionarioQAVI.h"
#include "report/TablaPEPs.h"
#include "support/MensajeroGrabador.h"

using namespace qavi;
using namespace qavi::prueba;
using tools::TVelmarFixture;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

const QColor kRojo(255, 0, 0);
const QString kCancelado = QStringLiteral("Proceso cancelado.");

TVelmarFixture Sucursal(const char* empresa) {
  TVelmarFixture f;
  f.Limpia("tEmpresa").Empresa({.empresa = empresa});
  return f;
}

// Branch 1: ANA (PEP in her report, 40 dollars) and ROSA (possible PEP); LUIS is not a candidate.
TVelmarFixture Primera() {
  TVelmarFixture f = prueba::ConCandidatos();
  f.Limpia("tEmpresa").Empresa({.empresa = "SUCURSAL 1"});
  return f;
}

// Branch 2: its key P1 is another person, PEDRO (PEP, 70 dollars).
TVelmarFixture Segunda() {
  TVelmarFixture f = Sucursal("SUCURSAL 2");
  f.Cliente({.clave = "P1", .nombre = "PEDRO", .paterno = "RUIZ", .materno = tools::Nulo});
  f.Relevan({.observaciones = "PEP", .cliente = "P1"});
  f.Movto({.folio = 1, .cantidad = 70.0, .cliente = "P1"});
  return f;
}

// A branch whose administrator is GERENTE / SUC2, not step 2's.
TVelmarFixture ConGerente() {
  TVelmarFixture f = Segunda();
  f.Limpia("tEmps").Emp({.clave = "GERENTE", .password = "SUC2", .nivel = 0});
  return f;
}

bool Escribe(const TVelmarFixture& f, const fs::path& carpeta) {
  std::string error;
  const bool ok = f.Escribe(carpeta, &error);
  if (!ok) qWarning("%s", error.c_str());
  return ok;
}

// Opens the branches dialog with the window's button; `haz` works on it while it is modal and
// closes it (a dialog left open is cancelled). False when no dialog opened.
bool EnDialogo(TfrmPrincipal& w, const std::function<void(TdlgSucursales&)>& haz) {
  bool visto = false;
  QTimer reloj;
  QObject::connect(&reloj, &QTimer::timeout, [&] {
    auto* d = qobject_cast<TdlgSucursales*>(QApplication::activeModalWidget());
    if (!d) return;
    reloj.stop();
    visto = true;
    haz(*d);
    if (d->isVisible()) d->reject();
  });
  reloj.start(10);
  w.bnSucursales->click();
  return visto;
}

void Acepta(TdlgSucursales& d) { d.bnsDialogo->button(QDialogButtonBox::Ok)->click(); }

QString Celda(const TdlgSucursales& d, int fila, int columna) {
  QTreeWidgetItem* item = d.lstSucursales->topLevelItem(fila);
  return item ? item->text(columna) : QString();
}

void Selecciona(TdlgSucursales& d, int fila) { d.lstSucursales->setCurrentItem(d.lstSucursales->topLevelItem(fila)); }

// The hint over a cell of the grid.
QString Consejo(TGridPEPs* g, int fila, int columna) {
  const QPoint p = g->visualRect(g->model()->index(fila, columna)).center();
  QHelpEvent e(QEvent::ToolTip, p, g->viewport()->mapToGlobal(p));
  QApplication::sendEvent(g->viewport(), &e);
  const QString texto = QToolTip::isVisible() ? QToolTip::text() : QString();
  QToolTip::hideText();
  return texto;
}

QString Nota(const TCorrida& c) {
  return QString::fromStdString(EvaluaValor(c.reporte->Variables().DameValor(kVariableSucursales)));
}

}  // namespace

class TSucursalesTest : public QObject {
  Q_OBJECT

  std::unique_ptr<prueba::TAjustesDePrueba> ajustes_;
  std::unique_ptr<QTemporaryDir> dir_;
  fs::path Ruta(const char* nombre) const { return fs::path(dir_->path().toStdString()) / nombre; }
  QString Texto(const char* nombre) const { return TextoDeRuta(Ruta(nombre)); }

  // Branch 1 written and its window open with ADMIN / DEMO typed in.
  std::unique_ptr<TCorrida> Ventana(const TVelmarFixture& primera = Primera()) {
    return std::make_unique<TCorrida>(Ruta("suc1"), primera, Ruta("suc1"));
  }
  // The same with branch 2 named and the candidates of both detected.
  std::unique_ptr<TCorrida> DosDetectadas() {
    auto c = Ventana();
    if (!Escribe(Segunda(), Ruta("suc2"))) return nullptr;
    c->w->AsignaSucursales({{Ruta("suc2"), QString(), std::nullopt}});
    c->w->bnDetectaPEPs->click();
    return c;
  }

 private slots:
  void initTestCase() { ajustes_ = std::make_unique<prueba::TAjustesDePrueba>(); }
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    gColectorConxs = std::make_shared<TColectorConxs>();
  }
  void cleanup() {
    gColectorConxs.reset();
    dir_.reset();
  }

  // The button sits in step 2 by the step buttons, last in the tab order, so Enter from the
  // password still leads to "Detectar PEPs".
  void BotonSucursales() {
    auto c = Ventana();
    auto& w = *c->w;
    QCOMPARE(w.bnSucursales->geometry(), QRect(479, 237, 105, 25));
    QCOMPARE(w.bnSucursales->text(), QStringLiteral("Sucursales…"));
    QCOMPARE(w.bnSucursales->toolTip(), QStringLiteral("Carpetas del Velmar de las sucursales que el reporte consolida"));
    w.edPassw->setFocus();
    QTest::keyClick(w.edPassw, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.bnDetectaPEPs));
    QCOMPARE(w.bnGenReporte->nextInFocusChain(), static_cast<QWidget*>(w.bnSucursales));
    // Off during a run, as the run buttons are.
    bool activo = true;
    QObject::connect(w.Mensajero().get(), &TMensajero::TextoCambiado, [&](const QString& s) {
      if (s == kConectando) activo = w.bnSucursales->isEnabled();
    });
    w.bnDetectaPEPs->click();
    QVERIFY(!activo);
    QVERIFY(w.bnSucursales->isEnabled());
  }

  // Adding a folder: a Velmar folder becomes the next branch; anything else is refused with the
  // reason, also the same branch under another name.
  void Agregar_data() {
    QTest::addColumn<QString>("elegida");  // relative to the test folder; "-" cancels the chooser
    QTest::addColumn<bool>("enlace");      // the choice is a link to the folder named
    QTest::addColumn<QString>("caja");     // the refusal after the folder's name; empty: added
    QTest::newRow("una carpeta del Velmar") << "suc3" << false << "";
    QTest::newRow("elección cancelada") << "-" << false << "";
    QTest::newRow("sin base de datos") << "vacia" << false
                                       << " no tiene la base de datos de Velmar (DataBase\\Velmar.mdb). Elija la "
                                          "carpeta raíz del Velmar de la sucursal.";
    QTest::newRow("no existe") << "no-existe" << false
                               << " no tiene la base de datos de Velmar (DataBase\\Velmar.mdb). Elija la carpeta raíz "
                                  "del Velmar de la sucursal.";
    QTest::newRow("la del programa") << "suc1" << false << " ya está en la lista: es la sucursal 1.";
    QTest::newRow("la del programa, escrita de otro modo") << "suc2/../suc1/" << false
                                                            << " ya está en la lista: es la sucursal 1.";
    QTest::newRow("otra vez la sucursal 2") << "suc2" << false << " ya está en la lista: es la sucursal 2.";
    QTest::newRow("la sucursal 2 por un enlace") << "suc2" << true << " ya está en la lista: es la sucursal 2.";
  }
  void Agregar() {
    QFETCH(QString, elegida);
    QFETCH(bool, enlace);
    QFETCH(QString, caja);
    QVERIFY(Escribe(Primera(), Ruta("suc1")));
    QVERIFY(Escribe(Segunda(), Ruta("suc2")));
    QVERIFY(Escribe(Segunda(), Ruta("suc3")));
    fs::create_directories(Ruta("vacia"));
    QString texto = elegida == QStringLiteral("-") ? QString() : dir_->filePath(elegida);
    if (enlace) {
      std::error_code ec;
      fs::create_directory_symlink(RutaDeTexto(texto), Ruta("enlace"), ec);
      if (ec) QSKIP("No se pueden crear enlaces aquí.");
      texto = dir_->filePath(QStringLiteral("enlace"));
    }
    prueba::TGrabadoraMensajes cajas;
    QString desde;
    TdlgSucursales d(Ruta("suc1"), {{Ruta("suc2"), QString(), std::nullopt}}, [&](QWidget*, const QString& s) {
      desde = s;
      return texto;
    });
    QCOMPARE(d.windowTitle(), QStringLiteral("Sucursales"));
    d.bnAgregar->click();
    QCOMPARE(desde, QString::fromStdString(dir_->path().toStdString()));  // beside the last branch
    if (caja.isEmpty()) {
      QVERIFY(cajas.Mensajes().empty());
    } else {
      QCOMPARE(cajas.Mensajes().size(), size_t(1));
      QCOMPARE(QString::fromStdString(cajas.Mensajes()[0]), QStringLiteral("La carpeta ") +
                                                                TextoDeRuta(RutaDeTexto(texto)) + caja);
    }
    const bool agregada = caja.isEmpty() && !texto.isEmpty();
    QCOMPARE(d.Sucursales().size(), size_t(agregada ? 2 : 1));
    QCOMPARE(d.lstSucursales->topLevelItemCount(), agregada ? 3 : 2);
    if (agregada) {
      QCOMPARE(d.Sucursales()[1].carpeta, Ruta("suc3"));
      QCOMPARE(Celda(d, 2, TdlgSucursales::kColNumero), QStringLiteral("3"));
      QCOMPARE(Celda(d, 2, TdlgSucursales::kColCarpeta), Texto("suc3"));
      QCOMPARE(d.lstSucursales->currentItem(), d.lstSucursales->topLevelItem(2));
    }
  }

  // Branch 1 cannot go; removing another renumbers the ones after it; Cancelar leaves the
  // window's list as it was, Aceptar gives it the new one.
  void Quitar() {
    auto c = Ventana();
    QVERIFY(Escribe(Segunda(), Ruta("suc2")));
    QVERIFY(Escribe(Segunda(), Ruta("suc3")));
    c->w->AsignaSucursales({{Ruta("suc2"), QString(), std::nullopt}, {Ruta("suc3"), QString(), std::nullopt}});
    QCOMPARE(c->w->bnSucursales->text(), QStringLiteral("Sucursales (3)…"));
    for (const bool aceptar : {false, true}) {
      QVERIFY(EnDialogo(*c->w, [&](TdlgSucursales& d) {
        QCOMPARE(d.lstSucursales->topLevelItemCount(), 3);
        QCOMPARE(Celda(d, 0, TdlgSucursales::kColCarpeta), Texto("suc1"));
        Selecciona(d, 0);
        QVERIFY(!d.bnQuitar->isEnabled());
        QVERIFY(!d.edClave->isEnabled());
        d.bnQuitarClick();
        QCOMPARE(d.lstSucursales->topLevelItemCount(), 3);
        Selecciona(d, 1);
        QVERIFY(d.bnQuitar->isEnabled());
        d.bnQuitar->click();
        QCOMPARE(d.lstSucursales->topLevelItemCount(), 2);
        QCOMPARE(Celda(d, 1, TdlgSucursales::kColNumero), QStringLiteral("2"));
        QCOMPARE(Celda(d, 1, TdlgSucursales::kColCarpeta), Texto("suc3"));
        QCOMPARE(d.lstSucursales->currentItem(), d.lstSucursales->topLevelItem(1));
        if (aceptar) Acepta(d);
      }));
      QCOMPARE(c->w->Sucursales().size(), size_t(aceptar ? 1 : 2));
      QCOMPARE(c->w->bnSucursales->text(), aceptar ? QStringLiteral("Sucursales (2)…") : QStringLiteral("Sucursales (3)…"));
    }
    QCOMPARE(c->w->Sucursales()[0].carpeta, Ruta("suc3"));
    QVERIFY(EnDialogo(*c->w, [&](TdlgSucursales& d) {
      Selecciona(d, 1);
      d.bnQuitar->click();
      QCOMPARE(d.lstSucursales->topLevelItemCount(), 1);
      QVERIFY(!d.bnQuitar->isEnabled());
      Acepta(d);
    }));
    QVERIFY(c->w->Sucursales().empty());
    QCOMPARE(c->w->bnSucursales->text(), QStringLiteral("Sucursales…"));
  }

  // A branch may name its own administrator, in upper case as step 2; without a key it takes
  // step 2's key and password, and a password without its key is dropped.
  void CredencialesPorSucursal() {
    QVERIFY(Escribe(Primera(), Ruta("suc1")));
    QVERIFY(Escribe(Segunda(), Ruta("suc2")));
    TdlgSucursales d(Ruta("suc1"), {{Ruta("suc2"), QString(), std::nullopt}});
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    for (int fila : {0, 1}) {
      QCOMPARE(Celda(d, fila, TdlgSucursales::kColClave), QStringLiteral("la del paso 2"));
      QCOMPARE(Celda(d, fila, TdlgSucursales::kColPassword), QStringLiteral("la del paso 2"));
    }
    QCOMPARE(d.lstSucursales->currentItem(), d.lstSucursales->topLevelItem(1));
    QCOMPARE(d.gbAdministrador->title(), QStringLiteral("Administrador de la sucursal 2"));
    QVERIFY(d.edClave->isEnabled());
    QVERIFY(!d.edPassw->isEnabled());
    QCOMPARE(d.edPassw->echoMode(), QLineEdit::Password);

    QTest::keyClicks(d.edClave, QStringLiteral("gerente"));
    QCOMPARE(d.Sucursales()[0].clave, QStringLiteral("GERENTE"));
    QCOMPARE(Celda(d, 1, TdlgSucursales::kColClave), QStringLiteral("GERENTE"));
    QCOMPARE(Celda(d, 1, TdlgSucursales::kColPassword), QStringLiteral("se pedirá"));
    QVERIFY(d.edPassw->isEnabled());
    QTest::keyClicks(d.edPassw, QStringLiteral("suc2"));
    QCOMPARE(d.Sucursales()[0].password, std::optional<QString>(QStringLiteral("SUC2")));
    QCOMPARE(Celda(d, 1, TdlgSucursales::kColPassword), QStringLiteral("escrita"));

    // Back on branch 1 and again on 2: the fields show each branch's own.
    Selecciona(d, 0);
    QCOMPARE(d.gbAdministrador->title(), QStringLiteral("Administrador de la sucursal 1"));
    QVERIFY(d.edClave->text().isEmpty() && !d.edClave->isEnabled() && !d.edPassw->isEnabled());
    QCOMPARE(d.txNota->text(), QStringLiteral("La sucursal 1 usa la clave y la contraseña del paso 2."));
    Selecciona(d, 1);
    QCOMPARE(d.edClave->text(), QStringLiteral("GERENTE"));
    QCOMPARE(d.edPassw->text(), QStringLiteral("SUC2"));

    d.edClave->selectAll();
    QTest::keyClick(d.edClave, Qt::Key_Delete);
    QVERIFY(!d.Sucursales()[0].ClavePropia());
    QVERIFY(!d.Sucursales()[0].password);
    QVERIFY(d.edPassw->text().isEmpty() && !d.edPassw->isEnabled());
    QCOMPARE(Celda(d, 1, TdlgSucursales::kColPassword), QStringLiteral("la del paso 2"));
  }

  // The list and its keys outlive the window, per installation; passwords never reach the disk.
  void ListaRecordada() {
    auto c = Ventana();
    QVERIFY(Escribe(ConGerente(), Ruta("suc2")));
    QVERIFY(Escribe(Segunda(), Ruta("suc3")));
    QVERIFY(EnDialogo(*c->w, [&](TdlgSucursales& d) {
      QVERIFY(d.AgregaCarpeta(Ruta("suc2")));
      QTest::keyClicks(d.edClave, QStringLiteral("gerente"));
      QTest::keyClicks(d.edPassw, QStringLiteral("secreto"));
      QVERIFY(d.AgregaCarpeta(Ruta("suc3")));
      Acepta(d);
    }));
    QCOMPARE(c->w->Sucursales().size(), size_t(2));
    QCOMPARE(c->w->Sucursales()[0].password, std::optional<QString>(QStringLiteral("SECRETO")));

    QFile archivo(ajustes_->Archivo());
    QVERIFY(archivo.open(QIODevice::ReadOnly));
    const QByteArray guardado = archivo.readAll();
    QVERIFY(guardado.contains("GERENTE"));
    QVERIFY(guardado.contains("suc3"));
    QVERIFY(!guardado.contains("SECRETO"));
    QVERIFY(!guardado.toUpper().contains("SECRETO"));

    TdmMain dm{std::make_shared<TReporteMemoria>()};
    {
      TfrmPrincipal otra(dm, Ruta("suc1"));
      const auto& s = otra.Sucursales();
      QCOMPARE(s.size(), size_t(2));
      QCOMPARE(s[0].carpeta, Ruta("suc2"));
      QCOMPARE(s[0].clave, QStringLiteral("GERENTE"));
      QVERIFY(s[0].FaltaPassword());
      QCOMPARE(s[1].carpeta, Ruta("suc3"));
      QVERIFY(!s[1].ClavePropia());
      QCOMPARE(otra.bnSucursales->text(), QStringLiteral("Sucursales (3)…"));
    }
    // Another installation has a list of its own.
    TfrmPrincipal ajena(dm, Ruta("suc3"));
    QVERIFY(ajena.Sucursales().empty());
    QCOMPARE(ajena.bnSucursales->text(), QStringLiteral("Sucursales…"));
    // An empty list is remembered too.
    c->w->AsignaSucursales({});
    TfrmPrincipal vacia(dm, Ruta("suc1"));
    QVERIFY(vacia.Sucursales().empty());
  }

  // A branch with a key of its own and no password yet this session: asked for, masked, naming
  // the branch, before anything runs; Cancel runs nothing. A right password is kept for the
  // session; a refused one is asked for again, and the password of step 2 is not blamed.
  void PasswordDeLaSesion_data() {
    QTest::addColumn<bool>("generar");
    QTest::addColumn<std::optional<QString>>("respuesta");  // none: Cancel
    QTest::addColumn<bool>("acepta");
    for (const bool generar : {false, true}) {
      const char* que = generar ? "generar" : "detectar";
      QTest::addRow("%s, Cancelar", que) << generar << std::optional<QString>() << false;
      QTest::addRow("%s, la correcta", que) << generar << std::optional<QString>(QStringLiteral("SUC2")) << true;
      QTest::addRow("%s, otra", que) << generar << std::optional<QString>(QStringLiteral("MALA")) << false;
    }
  }
  void PasswordDeLaSesion() {
    QFETCH(bool, generar);
    QFETCH(std::optional<QString>, respuesta);
    QFETCH(bool, acepta);
    auto c = Ventana();
    QVERIFY(Escribe(ConGerente(), Ruta("suc2")));
    c->w->AsignaSucursales({{Ruta("suc2"), QStringLiteral("GERENTE"), std::nullopt}});
    QStringList pedidas;
    c->w->AsignaPideContrasena([&](QWidget*, const QString& texto) {
      pedidas << texto;
      return respuesta;
    });
    if (generar) {
      // Detected first with the password typed, then the session forgets it.
      c->w->AsignaSucursales({{Ruta("suc2"), QStringLiteral("GERENTE"), QStringLiteral("SUC2")}});
      c->w->bnDetectaPEPs->click();
      QVERIFY(c->w->bnGenReporte->isEnabled());
      c->w->AsignaSucursales({{Ruta("suc2"), QStringLiteral("GERENTE"), std::nullopt}});
    }
    c->textos.clear();
    c->w->bnGenReporte->setFocus();
    QTimer reloj;  // step 2's password label must not blink
    bool passwRojo = false;
    QObject::connect(&reloj, &QTimer::timeout, [&] { passwRojo |= TMensajero::ColorDe(c->w->txPassw) == kRojo; });
    reloj.start(20);
    auto corre = [&] {
      if (generar)
        c->w->bnGenReporteClick();
      else
        c->w->bnDetectaPEPs->click();
      QTest::qWait(100);
    };
    corre();

    QCOMPARE(pedidas, QStringList{QStringLiteral("Escriba la contraseña de GERENTE en la sucursal 2 (%1):")
                                      .arg(Texto("suc2"))});
    const QStringList antes = generar ? QStringList{kAdvertencia} : QStringList{};
    if (!respuesta) {
      QVERIFY(c->Cajas().empty());
      QCOMPARE(c->textos, antes + QStringList{kCancelado});
      QVERIFY(c->w->Sucursales()[0].FaltaPassword());
    } else if (acepta) {
      QVERIFY(c->Cajas().empty());
      QCOMPARE(c->textos.last(), generar ? kReporteListo : kDeteccionLista);
      QCOMPARE(c->w->Sucursales()[0].password, respuesta);
      corre();  // the session keeps it
      QCOMPARE(pedidas.size(), 1);
      QCOMPARE(c->textos.last(), generar ? kReporteListo : kDeteccionLista);
    } else {
      QCOMPARE(c->Cajas(), std::vector<std::string>{"Sucursal 2 (" + Ruta("suc2").string() +
                                                     ", SUCURSAL 2): " + kMsjAccesoCaja});
      QVERIFY(c->w->Sucursales()[0].FaltaPassword());
      QVERIFY(!passwRojo);
      QVERIFY(QApplication::focusWidget() != c->w->edPassw);
      corre();  // asked again
      QCOMPARE(pedidas.size(), 2);
    }
    QCOMPARE(c->reporte->VecesMostrado(), generar && acepta ? 2 : 0);
    QVERIFY(c->w->bnDetectaPEPs->isEnabled() && c->w->bnSucursales->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
  }

  // The real prompt: masked, upper case as step 2, named by the caller; Cancel and Escape give none.
  void DialogoDePassword_data() {
    QTest::addColumn<int>("accion");  // 0 Aceptar, 1 Enter, 2 Cancelar, 3 Escape
    QTest::addColumn<std::optional<QString>>("esperado");
    QTest::newRow("Aceptar") << 0 << std::optional<QString>(QStringLiteral("SUC2"));
    QTest::newRow("Enter") << 1 << std::optional<QString>(QStringLiteral("SUC2"));
    QTest::newRow("Cancelar") << 2 << std::optional<QString>();
    QTest::newRow("Escape") << 3 << std::optional<QString>();
  }
  void DialogoDePassword() {
    QFETCH(int, accion);
    QFETCH(std::optional<QString>, esperado);
    QString titulo, texto, aceptar, cancelar;
    QLineEdit::EchoMode eco = QLineEdit::Normal;
    QTimer::singleShot(100, this, [&] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!d) return;
      titulo = d->windowTitle();
      texto = d->findChild<QLabel*>()->text();
      auto* caja = d->findChild<QLineEdit*>();
      auto* botones = d->findChild<QDialogButtonBox*>();
      aceptar = botones->button(QDialogButtonBox::Ok)->text();
      cancelar = botones->button(QDialogButtonBox::Cancel)->text();
      eco = caja->echoMode();
      QTest::keyClicks(caja, QStringLiteral("suc2"));
      if (accion == 0) botones->button(QDialogButtonBox::Ok)->click();
      if (accion == 1) QTest::keyClick(caja, Qt::Key_Return);
      if (accion == 2) botones->button(QDialogButtonBox::Cancel)->click();
      if (accion == 3) QTest::keyClick(caja, Qt::Key_Escape);
    });
    QCOMPARE(PideContrasena(nullptr, QStringLiteral("Escriba la contraseña de GERENTE en la sucursal 2 (X):")), esperado);
    QCOMPARE(titulo, QStringLiteral("Contraseña de la sucursal"));
    QCOMPARE(texto, QStringLiteral("Escriba la contraseña de GERENTE en la sucursal 2 (X):"));
    QCOMPARE(aceptar, QStringLiteral("Aceptar"));
    QCOMPARE(cancelar, QStringLiteral("Cancelar"));
    QCOMPARE(eco, QLineEdit::Password);
  }

  // With two branches the grid says each candidate's branch; the same key in two branches is two
  // candidates, and a tick counts only the one ticked.
  void ColumnaYMarcasPorSucursal_data() {
    QTest::addColumn<QStringList>("marcados");
    QTest::addColumn<QString>("usuariosPEP");  // question 35
    QTest::addColumn<QString>("montoPEP");     // question 60
    QTest::newRow("nadie") << QStringList{} << "Respuesta: 0" << "Respuesta: 0";
    QTest::newRow("P1 de la sucursal 1") << QStringList{"ANA SOLIS"} << "Respuesta: 1" << "Respuesta: 40";
    QTest::newRow("P1 de la sucursal 2") << QStringList{"PEDRO RUIZ"} << "Respuesta: 1" << "Respuesta: 70";
    QTest::newRow("las dos P1") << QStringList{"ANA SOLIS", "PEDRO RUIZ"} << "Respuesta: 2" << "Respuesta: 110";
  }
  void ColumnaYMarcasPorSucursal() {
    QFETCH(QStringList, marcados);
    QFETCH(QString, usuariosPEP);
    QFETCH(QString, montoPEP);
    auto c = DosDetectadas();
    QVERIFY(c);
    QVERIFY(c->Cajas().empty());
    QCOMPARE(c->textos.last(), kDeteccionLista);

    auto* g = c->w->grdPEPs;
    auto* m = g->model();
    QCOMPARE(m->columnCount(), 3);
    QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Marcar PEP"));
    QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nombre del Usuario"));
    QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Sucursal"));
    QCOMPARE(g->columnWidth(0), TGridPEPs::kAnchoMarca);
    QCOMPARE(g->columnWidth(1), TGridPEPs::kAnchoNombre - TGridPEPs::kAnchoSucursal);
    QCOMPARE(m->rowCount(), 3);
    const struct {
      const char* nombre;
      const char* sucursal;
      std::string consejo;
    } filas[] = {{"ANA SOLIS", "1", "Sucursal 1 (" + Ruta("suc1").string() + ", SUCURSAL 1)"},
                 {"ROSA CRUZ", "1", "Sucursal 1 (" + Ruta("suc1").string() + ", SUCURSAL 1)"},
                 {"PEDRO RUIZ", "2", "Sucursal 2 (" + Ruta("suc2").string() + ", SUCURSAL 2)"}};
    for (const auto& f : filas) {
      const int i = c->FilaDe(QString::fromUtf8(f.nombre));
      QVERIFY2(i >= 0, f.nombre);
      QCOMPARE(m->index(i, 2).data().toString(), QString::fromUtf8(f.sucursal));
      QCOMPARE(Consejo(g, i, 2), QString::fromStdString(f.consejo));
    }

    for (const auto& nombre : marcados) c->ClicMarca(c->FilaDe(nombre));
    for (const auto& f : c->dm.vtPEPs.Filas())
      QCOMPARE(f.EsPEP, marcados.contains(QString::fromStdString(f.Nombre)));
    c->w->bnGenReporte->click();
    QVERIFY(c->Cajas().empty());
    QCOMPARE(c->textos.last(), kReporteListo);
    QCOMPARE(c->Respuesta(35), usuariosPEP);
    QCOMPARE(c->Respuesta(60), montoPEP);
    QCOMPARE(c->Respuesta(52), QStringLiteral("Respuesta: 170"));  // the operations of both branches
    // Page 1 names the branches it consolidates.
    const QString nota = Nota(*c);
    QVERIFY2(nota.contains(QStringLiteral("2 sucursales")), qPrintable(nota));
    QVERIFY(nota.contains(Texto("suc1")) && nota.contains(Texto("suc2")));
  }

  // Other branches, other candidates: the grid of the old ones goes and the report waits for a
  // new detection; back to one branch, the grid and page 1 are those of one branch again.
  void OtraListaPideOtraDeteccion() {
    auto c = DosDetectadas();
    QVERIFY(c);
    c->w->bnGenReporte->click();
    QVERIFY(!Nota(*c).isEmpty());

    // Only a key changed: the candidates stay.
    c->w->AsignaSucursales({{Ruta("suc2"), QStringLiteral("ADMIN"), QStringLiteral("DEMO")}});
    QCOMPARE(c->w->grdPEPs->model()->rowCount(), 3);
    QVERIFY(c->w->bnGenReporte->isEnabled());

    c->w->AsignaSucursales({});
    QCOMPARE(c->w->txMensajes->text(),
             QStringLiteral("Cambió la lista de sucursales: presione \"Detectar PEPs\" de nuevo."));
    QCOMPARE(c->w->grdPEPs->model()->rowCount(), 0);
    QCOMPARE(c->w->grdPEPs->model()->columnCount(), 2);
    QVERIFY(!c->w->bnGenReporte->isEnabled());
    QVERIFY(!c->w->grdPEPs->isEnabled());

    c->w->bnDetectaPEPs->click();
    QCOMPARE(c->w->grdPEPs->model()->columnCount(), 2);
    QVERIFY(c->w->grdPEPs->columnWidth(1) >= TGridPEPs::kAnchoNombre - 20);  // the names' width back
    QCOMPARE(c->w->grdPEPs->model()->rowCount(), 2);
    c->w->bnGenReporte->click();
    QCOMPARE(c->reporte->VecesMostrado(), 2);
    QCOMPARE(c->Respuesta(52), QStringLiteral("Respuesta: 100"));
    QVERIFY(Nota(*c).isEmpty());
  }

  // A refusal in branch 2 says so with its name, in the box and on the status line, and leaves
  // the window as it was: the last good detection, every button usable; put right, it runs.
  void RechazoEnLaSucursal2_data() {
    QTest::addColumn<int>("falla");  // 0 user connected, 1 no INI, 2 no database, 3 step 2's password refused
    QTest::addColumn<QString>("caja");
    QTest::addColumn<QString>("linea");  // the last status text; "-": "Conectando..." not left on
    const QString conectado = QString::fromUtf8(kMsjUsuarioConectado);
    const QString sinEmpresa = QString::fromUtf8(kMsjSinEmpresa);
    QTest::newRow("usuario conectado") << 0 << ", SUCURSAL 2): " + conectado << "): " + conectado;
    QTest::newRow("sin Velmar.INI") << 1 << "): " + sinEmpresa << "): " + sinEmpresa;
    QTest::newRow("sin base de datos")
        << 2 << QStringLiteral("): No se encontró la base de datos de Velmar (DataBase\\Velmar.mdb).") << "-";
    QTest::newRow("contraseña del paso 2") << 3 << ", SUCURSAL 2): " + QString::fromUtf8(kMsjAccesoCaja)
                                           << ", SUCURSAL 2): " + QString::fromUtf8(kMsjAccesoLinea);
  }
  void RechazoEnLaSucursal2() {
    QFETCH(int, falla);
    QFETCH(QString, caja);
    QFETCH(QString, linea);
    auto c = DosDetectadas();
    QVERIFY(c);
    QCOMPARE(c->w->grdPEPs->model()->rowCount(), 3);

    TVelmarFixture rota = Segunda();
    if (falla == 0) rota.CompUsr();
    if (falla == 1) rota.Ini(std::nullopt);
    if (falla == 3) rota.Limpia("tEmps").Emp({.clave = "ADMIN", .password = "OTRA"});
    fs::remove_all(Ruta("suc2"));
    QVERIFY(Escribe(rota, Ruta("suc2")));
    if (falla == 2) QVERIFY(fs::remove(Ruta("suc2") / "DataBase" / "Velmar.mdb"));
    c->w->bnDetectaPEPs->setFocus();
    c->w->bnDetectaPEPs->click();
    QTest::qWait(100);

    const QString sucursal2 = QStringLiteral("Sucursal 2 (") + QString::fromStdString(Ruta("suc2").string());
    QCOMPARE(c->Cajas().size(), size_t(1));
    QCOMPARE(QString::fromStdString(c->Cajas()[0]), sucursal2 + caja);
    if (linea == QStringLiteral("-"))
      QVERIFY(c->w->txMensajes->text() != kConectando);
    else
      QCOMPARE(c->textos.last(), sucursal2 + linea);
    QCOMPARE(c->w->grdPEPs->model()->rowCount(), 3);
    QCOMPARE(c->w->grdPEPs->model()->columnCount(), 3);
    QVERIFY(c->w->bnGenReporte->isEnabled() && c->w->bnDetectaPEPs->isEnabled() && c->w->bnSucursales->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    // Step 2's password is to blame only when step 2's password was refused.
    QCOMPARE(QApplication::focusWidget() == c->w->edPassw, falla == 3);

    fs::remove_all(Ruta("suc2"));
    QVERIFY(Escribe(Segunda(), Ruta("suc2")));
    c->cajas.Limpia();
    c->w->bnDetectaPEPs->click();
    QVERIFY(c->Cajas().empty());
    QCOMPARE(c->textos.last(), kDeteccionLista);
  }

  // A branch that is branch 1 again (the same folder by a link) would count every operation
  // twice: nothing runs, and the box says which one to remove.
  void SucursalRepetidaAlCorrer() {
    auto c = Ventana();
    std::error_code ec;
    fs::create_directory_symlink(Ruta("suc1"), Ruta("enlace"), ec);
    if (ec) QSKIP("No se pueden crear enlaces aquí.");
    c->w->AsignaSucursales({{Ruta("enlace"), QString(), std::nullopt}});
    const std::string caja = "Sucursal 2 (" + Ruta("enlace").string() +
                             ") es la misma carpeta que la sucursal 1. Quítela de la lista de sucursales.";
    c->textos.clear();
    c->w->bnDetectaPEPs->click();
    QCOMPARE(c->Cajas(), std::vector<std::string>{caja});
    QVERIFY(c->textos.isEmpty());
    c->cajas.Limpia();
    c->w->bnGenReporteClick();
    QCOMPARE(c->Cajas(), std::vector<std::string>{caja});
    QCOMPARE(c->textos, (QStringList{kAdvertencia, kReporteFallo}));
    QCOMPARE(c->reporte->VecesMostrado(), 0);
  }

  // No branch named (another installation's list aside): the window, its runs and its report
  // are those of one database, answer by answer.
  void SinSucursalesComoSiempre() {
    GuardaSucursales(*AbreAjustes(), Ruta("otra"), {{Ruta("suc2"), QString(), std::nullopt}});
    auto c = Ventana();
    QVERIFY(c->w->Sucursales().empty());
    QCOMPARE(c->w->bnSucursales->text(), QStringLiteral("Sucursales…"));
    c->w->bnDetectaPEPs->click();
    QCOMPARE(c->textos, (QStringList{kConectando, kDeteccionLista}));
    QCOMPARE(c->w->grdPEPs->model()->columnCount(), 2);
    QVERIFY(c->w->grdPEPs->columnWidth(1) >= TGridPEPs::kAnchoNombre - 20);
    c->ClicMarca(c->FilaDe(QStringLiteral("ANA SOLIS")));
    c->w->bnGenReporte->click();
    QVERIFY(c->Cajas().empty());
    QCOMPARE(c->textos.last(), kReporteListo);
    QVERIFY(Nota(*c).isEmpty());

    TReporteMemoria sola;
    TTablaPEPs peps;
    auto pre = PreparaCorrida(Ruta("suc1"), 16, "ADMIN", "DEMO", &sola, std::make_shared<prueba::TMensajeroGrabador>());
    QVERIFY(pre.rep && pre.rep->DetectaPEPs(peps));
    for (peps.First(); !peps.Eof(); peps.Next())
      if (peps.Fila().ClaveCliente == "P1") peps.AsignaEsPEP(true);
    QVERIFY(pre.rep->GeneraReporte(peps));
    for (int n = 1; n <= 191; ++n)
      QCOMPARE(c->Respuesta(n), QString::fromStdString(EvaluaValor(sola.Variables().DameValor("preg_" + std::to_string(n)))));
  }
};

QTEST_MAIN(TSucursalesTest)
#include "Sucursales_test.moc"
