// The main window without a database: start-up state, the instructions, keyboard, field checks,
// the "nothing found" panel and the PEP grid.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "app/DataModule.h"
#include "app/GridPEPs.h"
#include "app/Indicaciones.h"
#include "app/MensajeModalQt.h"
#include "app/Principal.h"
#include "report/ReporteMemoria.h"
#include "report/TablaPEPs.h"
#include "support/GrabadoraMensajes.h"

using namespace qavi;

namespace {

const QColor kTeal(0, 128, 128);
const QColor kGris(128, 128, 128);
const QColor kRojo(255, 0, 0);

// A window whose questions are answered by the test, in an empty folder (a run that starts says
// so with the missing-database box).
struct TVentana {
  TdmMain dm{std::make_shared<TReporteMemoria>()};
  TfrmPrincipal w{dm, std::filesystem::temp_directory_path() / "qavi-sin-velmar"};
  int preguntas = 0;
  bool visibleAlPreguntar = false;
  bool respuesta = true;
  QStringList dudas;  // the doubtful-rate questions asked
  bool respuestaDuda = false;
  explicit TVentana(bool bRespuesta = true, bool bMostrar = true) : respuesta(bRespuesta) {
    w.AsignaPregunta([this](QWidget* padre) {
      ++preguntas;
      visibleAlPreguntar = padre && padre->isVisible();
      return respuesta;
    });
    w.AsignaPreguntaCambio([this](QWidget*, const QString& texto) {
      dudas << texto;
      return respuestaDuda;
    });
    if (bMostrar) {
      w.show();
      QApplication::setActiveWindow(&w);
      QTRY_COMPARE(preguntas, 1);
      if (bRespuesta) QVERIFY(QTest::qWaitForWindowActive(&w));
    }
  }
};

// Samples a label's colour while nested pauses run.
struct TColores {
  QLabel* etiqueta;
  QTimer reloj;
  bool rojo = false;
  explicit TColores(QLabel* e) : etiqueta(e) {
    QObject::connect(&reloj, &QTimer::timeout, [this] { rojo |= TMensajero::ColorDe(etiqueta) == kRojo; });
    reloj.start(20);
  }
};

}  // namespace

class TVentanaTest : public QObject {
  Q_OBJECT

 private slots:
  void EstadoInicial() {
    TVentana v(true, false);
    auto& w = v.w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Cuestionario QAVI 2016"));
    QCOMPARE(w.size(), QSize(690, 730));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(w.edCambio->text(), QStringLiteral("16"));
    QVERIFY(w.edUsuario->text().isEmpty());
    QVERIFY(w.edPassw->text().isEmpty());
    QVERIFY(!w.bnGenReporte->isEnabled());
    QVERIFY(w.bnDetectaPEPs->isEnabled());
    QVERIFY(!w.grdPEPs->isEnabled());
    QVERIFY(w.pnIgnorar->isHidden());
    QVERIFY(w.txPruebas->isHidden());
    QCOMPARE(TMensajero::ColorDe(w.txPaso4), kTeal);
    // The messenger took the status line: empty and red.
    QVERIFY(w.txMensajes->text().isEmpty());
    QCOMPARE(TMensajero::ColorDe(w.txMensajes), kRojo);
    QCOMPARE(w.grdPEPs->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Marcar PEP"));
    QCOMPARE(w.grdPEPs->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nombre del Usuario"));
    QCOMPARE(w.grdPEPs->columnWidth(0), 84);
    QCOMPARE(w.grdPEPs->columnWidth(1), 391);
    QCOMPARE(w.edPassw->echoMode(), QLineEdit::Password);
    QCOMPARE(w.edPassw->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, w.edPassw), int('*'));
    // A fixed-size window has nothing to maximize.
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
  }

  // Places of the controls that take input; the rest are labels that only need to be seen.
  void Lugares_data() {
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QRect>("lugar");
    QTest::addColumn<QString>("hint");
    QTest::newRow("edCambio") << "edCambio" << QRect(320, 110, 121, 21) << "Tipo de Cambio a utilizar";
    QTest::newRow("edUsuario") << "edUsuario" << QRect(304, 224, 121, 21)
                               << "Usuario administrador para acceder a Velmar";
    QTest::newRow("edPassw") << "edPassw" << QRect(304, 251, 121, 21)
                             << "Contraseña del usuario administrador para acceder a Velmar";
    QTest::newRow("bnDetectaPEPs") << "bnDetectaPEPs" << QRect(479, 335, 105, 25)
                                   << "Cargará una lista de posibles PEPs en el paso 4";
    QTest::newRow("bnGenReporte") << "bnGenReporte" << QRect(512, 678, 105, 25) << "";
    QTest::newRow("grdPEPs") << "grdPEPs" << QRect(95, 491, 498, 122)
                             << "Haga click en el recuadro si el Usuario es un PEP";
    QTest::newRow("txMensajes") << "txMensajes" << QRect(62, 658, 579, 14) << "";
    QTest::newRow("pnIgnorar") << "pnIgnorar" << QRect(633, 451, 511, 181) << "";
    QTest::newRow("Label8") << "Label8" << QRect(95, 348, 350, 22) << "";
    QTest::newRow("txPaso4") << "txPaso4" << QRect(88, 420, 503, 38) << "";
  }
  void Lugares() {
    QFETCH(QString, nombre);
    QFETCH(QRect, lugar);
    QFETCH(QString, hint);
    TVentana v(true, false);
    auto* c = v.w.findChild<QWidget*>(nombre);
    QVERIFY(c);
    QCOMPARE(c->geometry(), lugar);
    QCOMPARE(c->toolTip(), hint);
  }

  void Textos() {
    TVentana v(true, false);
    auto& w = v.w;
    QCOMPARE(w.Label9->text(), QStringLiteral("3.- Presione el botón \"Detectar PEPs\""));
    QCOMPARE(w.Label11->text(), QStringLiteral("No se detectaron operaciones con ningún PEP. Ignore este paso y presione "
                                               "el botón \"Generar reporte\"."));
    QCOMPARE(w.txPaso4->text(),
             QStringLiteral("4.- De la siguiente lista, marque sólo los Usuarios que se consideraron como PEPs"));
    QCOMPARE(w.Label5->text(), QStringLiteral("v1.8"));
    QCOMPARE(w.txPruebas->text(), QStringLiteral("Versión BETA"));
    // Right-aligned labels keep their right edge.
    QCOMPARE(w.txCambio->geometry().right(), 219 + 79 - 1);
    QCOMPARE(w.txPassw->geometry().right(), 236 + 46 - 1);
    QCOMPARE(w.Label1->font().pixelSize(), 16);
    QVERIFY(w.Label1->font().bold());
  }

  void TextoIndicaciones() {
    const QString t = QString::fromUtf8(kIndicaciones);
    QCOMPARE(t.size(), 1979);
    QCOMPARE(t.count(QStringLiteral("\r\r\n")), 11);
    QVERIFY(t.contains(QStringLiteral("Actividad a  todos")));
    QVERIFY(t.contains(QStringLiteral("en Velmar:  Menú")));
    QVERIFY(t.contains(QStringLiteral("Cierre el programa Velmar. \r\r\n")));
    QVERIFY(t.contains(QStringLiteral("(Generalmente en C:\\Velmar Software\\). \r\r\n")));
    QVERIFY(t.endsWith(QStringLiteral("¿Ha seguido las indicaciones y desea continuar?")));
  }

  // However text enters the rate box it ends up as a rate the user meant: what is typed after
  // the instructions replaces the proposed 16, a comma is a decimal separator, and a paste
  // through the context menu holds to what the key filter lets through.
  void CajaDeCambio_data() {
    QTest::addColumn<int>("modo");  // 0 typed after Yes, 1 typed after Tab back, 2 pasted by the menu
    QTest::addColumn<QString>("entrada");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<double>("valor");
    QTest::newRow("Sí, luego 17.25") << 0 << "17.25" << "17.25" << 17.25;
    QTest::newRow("Sí, luego 17,25") << 0 << "17,25" << "17,25" << 17.25;
    QTest::newRow("Sí, luego 17,2,5") << 0 << "17,2,5" << "17,25" << 17.25;
    QTest::newRow("Tab de vuelta, luego 18") << 1 << "18" << "18" << 18.0;
    QTest::newRow("pega 16abc") << 2 << "16abc" << "16" << 16.0;
    QTest::newRow("pega -17") << 2 << "-17" << "16" << 16.0;
    QTest::newRow("pega 17.25") << 2 << "17.25" << "17.25" << 17.25;
    QTest::newRow("pega 17,25") << 2 << "17,25" << "17,25" << 17.25;
  }
  void CajaDeCambio() {
    QFETCH(int, modo);
    QFETCH(QString, entrada);
    QFETCH(QString, texto);
    QFETCH(double, valor);
    TVentana v;
    auto* caja = v.w.edCambio;
    QCOMPARE(QApplication::focusWidget(), caja);
    QCOMPARE(caja->selectedText(), QStringLiteral("16"));
    if (modo == 1) {
      QTest::keyClick(caja, Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), v.w.edUsuario);
      QTest::keyClick(v.w.edUsuario, Qt::Key_Backtab);
      QCOMPARE(QApplication::focusWidget(), caja);
    }
    if (modo == 2) {
      QApplication::clipboard()->setText(entrada);
      std::unique_ptr<QMenu> menu(caja->createStandardContextMenu());
      // The menu's Paste, found by the shortcut it lists.
      const QString atajo = QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
      QAction* pegar = nullptr;
      for (QAction* a : menu->actions())
        if (a->text().endsWith(atajo)) pegar = a;
      QVERIFY(pegar);
      pegar->trigger();
    } else {
      QTest::keyClicks(caja, entrada);
    }
    QCOMPARE(caja->text(), texto);
    QCOMPARE(v.w.TipoCambio(), valor);
  }

  // A rate outside 5 to 50 pesos per dollar is asked about before any run; No goes back to the
  // box with its text selected and runs nothing.
  void CambioDudoso_data() {
    QTest::addColumn<QString>("cambio");
    QTest::addColumn<bool>("pregunta");
    QTest::addColumn<bool>("respuesta");
    QTest::addColumn<bool>("corre");
    QTest::newRow("1617.25, No") << "1617.25" << true << false << false;
    QTest::newRow("1617.25, Sí") << "1617.25" << true << true << true;
    QTest::newRow("4.99, No") << "4.99" << true << false << false;
    QTest::newRow("50.5, No") << "50.5" << true << false << false;
    QTest::newRow("5") << "5" << false << false << true;
    QTest::newRow("50") << "50" << false << false << true;
    QTest::newRow("17,25") << "17,25" << false << false << true;
  }
  void CambioDudoso() {
    QFETCH(QString, cambio);
    QFETCH(bool, pregunta);
    QFETCH(bool, respuesta);
    QFETCH(bool, corre);
    for (const bool generar : {false, true}) {
      TVentana v;
      prueba::TGrabadoraMensajes grabadora;
      v.respuestaDuda = respuesta;
      v.w.edUsuario->setText(QStringLiteral("ADMIN"));
      v.w.edCambio->setText(cambio);
      v.w.bnDetectaPEPs->setFocus();
      if (generar)
        v.w.bnGenReporteClick();
      else
        v.w.bnDetectaPEPs->click();
      QCOMPARE(v.dudas.size(), pregunta ? 1 : 0);
      if (pregunta)
        QCOMPARE(v.dudas.first(), QStringLiteral("¿Es correcto el tipo de cambio %1?").arg(v.w.TipoCambio()));
      QCOMPARE(grabadora.Mensajes().size(), size_t(corre ? 1 : 0));
      // The report asks the instructions first: one more question when it went on.
      QCOMPARE(v.preguntas, generar && corre ? 2 : 1);
      if (!corre) {
        QCOMPARE(QApplication::focusWidget(), v.w.edCambio);
        QCOMPARE(v.w.edCambio->selectedText(), cambio);
      }
    }
  }

  // Enter on a focused button presses it, as Space does (here the field check answers).
  void EnterEnBoton_data() {
    QTest::addColumn<QString>("boton");
    QTest::addColumn<int>("tecla");
    QTest::newRow("Detectar, Enter") << "bnDetectaPEPs" << int(Qt::Key_Return);
    QTest::newRow("Detectar, Enter del teclado numérico") << "bnDetectaPEPs" << int(Qt::Key_Enter);
    QTest::newRow("Detectar, espacio") << "bnDetectaPEPs" << int(Qt::Key_Space);
    QTest::newRow("Generar, Enter") << "bnGenReporte" << int(Qt::Key_Return);
  }
  void EnterEnBoton() {
    QFETCH(QString, boton);
    QFETCH(int, tecla);
    TVentana v;
    auto* b = v.w.findChild<QPushButton*>(boton);
    b->setEnabled(true);
    b->setFocus();
    QTest::keyClick(b, Qt::Key(tecla));
    QCOMPARE(v.w.txMensajes->text(), QStringLiteral("Por favor, escriba su usuario (Administrador)."));
  }

  // Scaled down, in proportion, until window and frame fit the screen's free area; back at full
  // size where it fits.
  void CabeEnLaPantalla_data() {
    QTest::addColumn<QRect>("disponible");
    QTest::newRow("1280x1024 a 150 %, con panel") << QRect(0, 0, 853, 650);
    QTest::newRow("1920x1080 a 150 %, con panel") << QRect(0, 0, 1280, 690);
    QTest::newRow("800x600") << QRect(0, 0, 800, 600);
    QTest::newRow("segunda pantalla") << QRect(1920, 24, 1024, 700);
    QTest::newRow("amplia") << QRect(0, 0, 1920, 1080);
  }
  void CabeEnLaPantalla() {
    QFETCH(QRect, disponible);
    TVentana v(true, false);
    auto& w = v.w;
    w.AjustaAPantalla(disponible);
    // Offscreen windows have no frame: the estimate a window manager's title bar needs is kept free.
    const QRect exterior(w.pos(), w.size() + QSize(8, 34));
    QVERIFY2(disponible.contains(exterior), qPrintable(QStringLiteral("%1x%2").arg(w.width()).arg(w.height())));
    const double f = w.Escala();
    QVERIFY(f <= 1);
    QCOMPARE(w.size(), QSize(qRound(690 * f), qRound(730 * f)));
    if (disponible.height() >= 800) QCOMPARE(f, 1.0);
    // Same layout, smaller: the last button and the grid stay inside, fonts follow.
    QVERIFY(w.rect().contains(w.bnGenReporte->geometry()));
    QVERIFY(qAbs(w.bnGenReporte->x() - 512 * f) <= 1);
    QVERIFY(qAbs(w.grdPEPs->width() - 498 * f) <= 1);
    QCOMPARE(w.Label1->font().pixelSize(), qRound(16 * f));
    QCOMPARE(w.grdPEPs->columnWidth(0), qRound(84 * f));
    QVERIFY(w.txCambio->geometry().right() < w.edCambio->x());
    // And back.
    w.AjustaAPantalla(QRect(0, 0, 1920, 1080));
    QCOMPARE(w.size(), QSize(690, 730));
    QCOMPARE(w.edCambio->geometry(), QRect(320, 110, 121, 21));
  }

  // The real dialog: warning wording, Yes/No in Spanish; Escape and the close box answer No.
  void DialogoAdvertencia_data() {
    QTest::addColumn<int>("accion");  // 0 Yes, 1 No, 2 Escape, 3 close
    QTest::addColumn<bool>("esperado");
    QTest::newRow("Sí") << 0 << true;
    QTest::newRow("No") << 1 << false;
    QTest::newRow("Escape") << 2 << false;
    QTest::newRow("cerrar") << 3 << false;
  }
  void DialogoAdvertencia() {
    QFETCH(int, accion);
    QFETCH(bool, esperado);
    QString titulo, si, no, texto;
    QTimer::singleShot(100, this, [&] {
      auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!caja) return;
      titulo = caja->windowTitle();
      si = caja->button(QMessageBox::Yes)->text();
      no = caja->button(QMessageBox::No)->text();
      texto = caja->text();
      if (accion == 0) caja->button(QMessageBox::Yes)->click();
      if (accion == 1) caja->button(QMessageBox::No)->click();
      if (accion == 2) QTest::keyClick(caja, Qt::Key_Escape);
      if (accion == 3) caja->close();
    });
    QCOMPARE(PreguntaIndicaciones(nullptr), esperado);
    QCOMPARE(titulo, QStringLiteral("Advertencia"));
    QCOMPARE(si, QStringLiteral("&Sí"));
    QCOMPARE(no, QStringLiteral("&No"));
    QVERIFY(texto.startsWith(QStringLiteral("Para responder correctamente")));
    QVERIFY(!texto.contains(QChar(u'\r')));
  }

  // The core's error boxes: the text as given, OK only, the application's title.
  void CajaDeMensajeModal() {
    QApplication::setApplicationName(QStringLiteral("CuestionarioQAVI_2016"));
    auto previo = InstalaMensajeModal(std::make_shared<TMensajeModalQt>());
    QString titulo, texto;
    int botones = 0;
    QTimer::singleShot(100, this, [&] {
      auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!caja) return;
      titulo = caja->windowTitle();
      texto = caja->text();
      botones = caja->buttons().size();
      caja->button(QMessageBox::Ok)->click();
    });
    MuestraMensaje("Error: Este programa debe encontrarse en la carpeta del Velmar.");
    InstalaMensajeModal(previo);
    QCOMPARE(titulo, QStringLiteral("CuestionarioQAVI_2016"));
    QCOMPARE(texto, QStringLiteral("Error: Este programa debe encontrarse en la carpeta del Velmar."));
    QCOMPARE(botones, 1);
  }

  // Asked once, over the visible window; Yes leaves the focus in step 1.
  void IndicacionesAlMostrar() {
    TVentana v(true);
    QVERIFY(v.visibleAlPreguntar);
    QCOMPARE(QApplication::focusWidget(), v.w.edCambio);
    v.w.hide();
    v.w.show();
    QTest::qWait(50);
    QCOMPARE(v.preguntas, 1);
  }

  void NoCierraLaVentana() {
    TVentana v(false);
    QTRY_VERIFY(!v.w.isVisible());
    QCOMPARE(v.preguntas, 1);
  }

  void EnterNavega_data() {
    QTest::addColumn<QString>("desde");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("hacia");
    QTest::newRow("cambio -> usuario") << "edCambio" << false << "edUsuario";
    QTest::newRow("usuario -> password") << "edUsuario" << false << "edPassw";
    QTest::newRow("password -> detectar") << "edPassw" << false << "bnDetectaPEPs";
    QTest::newRow("usuario <- password") << "edPassw" << true << "edUsuario";
    QTest::newRow("cambio <- usuario") << "edUsuario" << true << "edCambio";
  }
  void EnterNavega() {
    QFETCH(QString, desde);
    QFETCH(bool, shift);
    QFETCH(QString, hacia);
    TVentana v;
    auto* caja = v.w.findChild<QLineEdit*>(desde);
    caja->setFocus();
    const QString antes = caja->text();
    QTest::keyClick(caja, Qt::Key_Return, shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), hacia);
    QCOMPARE(caja->text(), antes);
  }

  void UsuarioYPasswordEnMayusculas() {
    TVentana v;
    QTest::keyClicks(v.w.edUsuario, QStringLiteral("admin "));
    v.w.edUsuario->insert(QStringLiteral("peña"));  // as a paste does
    QCOMPARE(v.w.edUsuario->text(), QStringLiteral("ADMIN PEÑA"));
    QTest::keyClicks(v.w.edPassw, QStringLiteral("velmar2016"));
    QCOMPARE(v.w.edPassw->text(), QStringLiteral("VELMAR2016"));
  }

  // The checks stop at the first failure; its label blinks and its box gets the focus.
  void FaltanDatos_data() {
    QTest::addColumn<QString>("usuario");
    QTest::addColumn<QString>("cambio");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("caja");
    const QString faltaUsuario = QStringLiteral("Por favor, escriba su usuario (Administrador).");
    const QString faltaCambio = QStringLiteral("Por favor, escriba el tipo de cambio.");
    const QString cero = QStringLiteral("El tipo de cambio debe ser diferente a cero.");
    QTest::newRow("ambos vacíos") << "" << "" << faltaUsuario << "edUsuario";
    QTest::newRow("usuario en blanco") << "   " << "16" << faltaUsuario << "edUsuario";
    QTest::newRow("cambio vacío") << "ADMIN" << "" << faltaCambio << "edCambio";
    QTest::newRow("cambio en blanco") << "ADMIN" << "  " << faltaCambio << "edCambio";
    QTest::newRow("cambio 0") << "ADMIN" << "0" << cero << "edCambio";
    QTest::newRow("cambio 000") << "ADMIN" << "000" << cero << "edCambio";
    QTest::newRow("cambio negativo") << "ADMIN" << "-16" << cero << "edCambio";
    QTest::newRow("cambio letras") << "ADMIN" << "abc" << cero << "edCambio";
    QTest::newRow("coma decimal") << "ADMIN" << "16,5" << "" << "";
    QTest::newRow("dos separadores") << "ADMIN" << "1,600.5" << cero << "edCambio";
    QTest::newRow("usuario con blancos, 16.") << " ADMIN " << "16." << "" << "";
    QTest::newRow("cambio 17.25") << "ADMIN" << "17.25" << "" << "";
  }
  void FaltanDatos() {
    QFETCH(QString, usuario);
    QFETCH(QString, cambio);
    QFETCH(QString, texto);
    QFETCH(QString, caja);
    TVentana v;
    auto& w = v.w;
    w.edUsuario->setText(usuario);
    w.edCambio->setText(cambio);
    w.bnGenReporte->setFocus();
    TColores usuarioRojo(w.txUsuario), cambioRojo(w.txCambio);
    QCOMPARE(w.FaltanDatos(), !texto.isEmpty());
    QCOMPARE(w.txMensajes->text(), texto);
    if (texto.isEmpty()) return;
    QCOMPARE(QApplication::focusWidget()->objectName(), caja);
    QTest::qWait(100);  // the blink runs here
    QCOMPARE(usuarioRojo.rojo, caja == QStringLiteral("edUsuario"));
    QCOMPARE(cambioRojo.rojo, caja == QStringLiteral("edCambio"));
    QCOMPARE(TMensajero::ColorDe(w.txUsuario), QColor(72, 72, 72));
    QCOMPARE(TMensajero::ColorDe(w.txCambio), QColor(72, 72, 72));
  }

  // A failed check starts nothing: no database work, no dialog.
  void ClicConDatosFaltantes() {
    TVentana v;
    prueba::TGrabadoraMensajes grabadora;
    v.w.edUsuario->clear();
    v.w.bnDetectaPEPs->click();
    v.w.bnGenReporteClick();
    QTest::qWait(100);
    QVERIFY(grabadora.Mensajes().empty());
    QCOMPARE(v.preguntas, 1);  // only the one at start-up
  }

  void MuestraSinPEPs() {
    TVentana v;
    auto& w = v.w;
    w.MuestraSinPEPs(true);
    QVERIFY(w.pnIgnorar->isVisible());
    QCOMPARE(w.pnIgnorar->pos(), QPoint(88, 464));
    QCOMPARE(TMensajero::ColorDe(w.txPaso4), kGris);
    // It covers the grid.
    QWidget* encima = w.childAt(w.grdPEPs->geometry().center());
    QVERIFY(encima == w.pnIgnorar || w.pnIgnorar->isAncestorOf(encima));
    w.MuestraSinPEPs(false);
    QVERIFY(!w.pnIgnorar->isVisible());
    QCOMPARE(w.pnIgnorar->pos(), QPoint(88, 464));
    QCOMPARE(TMensajero::ColorDe(w.txPaso4), kTeal);
  }

  // No before a report: "Proceso cancelado." and nothing run (the folder has no database, so any
  // database work would have said so).
  void GenerarCancelado() {
    TVentana v;
    prueba::TGrabadoraMensajes grabadora;
    QStringList textos;
    connect(v.w.Mensajero().get(), &TMensajero::TextoCambiado, this, [&](const QString& s) {
      if (!s.isEmpty()) textos << s;
    });
    v.respuesta = false;
    v.w.edUsuario->setText(QStringLiteral("ADMIN"));
    v.w.bnGenReporteClick();
    QCOMPARE(v.preguntas, 2);
    QCOMPARE(textos, (QStringList{QStringLiteral("¡Advertencia!"), QStringLiteral("Proceso cancelado.")}));
    QVERIFY(grabadora.Mensajes().empty());
    QVERIFY(v.w.isVisible());
  }

  // Long names end in "…" and show whole in a tooltip; the last visible row is whole; the titles
  // reach the right edge.
  void GridNombresLargos() {
    TTablaPEPs t;
    t.Abre();
    const std::string largo = "MARIA DE LOS ANGELES GUADALUPE FERNANDEZ DE LA SANTISIMA TRINIDAD Y MONTENEGRO";
    t.Agrega({1, "C1", largo, false});
    for (int i = 2; i <= 12; ++i) t.Agrega({i, "C" + std::to_string(i), "ANA " + std::to_string(i), false});
    TModeloPEPs m(t);
    TGridPEPs g;
    g.setToolTip(QStringLiteral("Haga click en el recuadro si el Usuario es un PEP"));
    g.AsignaModelo(&m);
    g.resize(498, 122);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QCOMPARE(g.textElideMode(), Qt::ElideRight);
    auto consejo = [&](int fila) {
      const QPoint p = g.visualRect(m.index(fila, 1)).center();
      QHelpEvent e(QEvent::ToolTip, p, g.viewport()->mapToGlobal(p));
      QApplication::sendEvent(g.viewport(), &e);
      const QString texto = QToolTip::isVisible() ? QToolTip::text() : QString();
      QToolTip::hideText();
      return texto;
    };
    QCOMPARE(consejo(0), QString::fromStdString(largo));
    QCOMPARE(consejo(1), g.toolTip());  // fits: the grid's own hint
    const int alto = g.rowHeight(0);
    QVERIFY(alto >= TGridPEPs::kAltoFila);
    QVERIFY2(g.viewport()->height() % alto < g.viewport()->height() / alto,
             qPrintable(QStringLiteral("%1 / %2").arg(g.viewport()->height()).arg(alto)));
    QCOMPARE(g.horizontalHeader()->length(), g.viewport()->width());
    QVERIFY(g.columnWidth(1) >= TGridPEPs::kAnchoNombre - 20);  // the scroll bar takes its part
  }

  // One click on a mark toggles that row, current or not; other columns and keys change nothing.
  void GridMarcas() {
    TTablaPEPs t;
    t.Abre();
    t.Agrega({1, "C1", "JUAN PEREZ", false});
    t.Agrega({2, "C2", "ANA SOLIS", false});
    t.Agrega({3, "C3", "LUIS MORA", true});
    TModeloPEPs m(t);
    TGridPEPs g;
    g.AsignaModelo(&m);
    g.resize(498, 122);
    g.show();
    QApplication::setActiveWindow(&g);
    QVERIFY(QTest::qWaitForWindowActive(&g));
    g.setCurrentIndex(m.index(0, 0));
    auto clic = [&](int fila, int col) {
      QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.visualRect(m.index(fila, col)).center());
    };
    clic(1, 0);
    QVERIFY(t.Filas()[1].EsPEP);
    QCOMPARE(g.currentIndex(), m.index(1, 0));
    clic(2, 0);
    QVERIFY(!t.Filas()[2].EsPEP);
    QCOMPARE(m.data(m.index(2, 0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    clic(0, 1);
    QVERIFY(!t.Filas()[0].EsPEP);
    QTest::keyClick(&g, Qt::Key_Left);
    QCOMPARE(g.currentIndex(), m.index(0, 0));
    QTest::keyClick(&g, Qt::Key_Space);
    QVERIFY(t.Filas()[0].EsPEP);
    QTest::keyClick(&g, Qt::Key_A);
    QVERIFY(t.Filas()[0].EsPEP);
    QTest::keyClick(&g, Qt::Key_Tab);
    QCOMPARE(g.currentIndex(), m.index(0, 1));
    QTest::keyClick(&g, Qt::Key_Space);
    QVERIFY(t.Filas()[0].EsPEP);
    QCOMPARE(m.data(m.index(1, 1)).toString(), QStringLiteral("ANA SOLIS"));
    QVERIFY(!(m.flags(m.index(0, 0)) & Qt::ItemIsEditable));
  }
};

QTEST_MAIN(TVentanaTest)
#include "Ventana_test.moc"
