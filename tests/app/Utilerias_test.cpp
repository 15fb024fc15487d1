// Key filter of the rate box, reading the rate, the pause and the busy runner.
#include <stdexcept>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/Controles.h"
#include "app/Utilerias.h"

using namespace qavi;

class TUtileriasTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QLocale::setDefault(QLocale::c()); }

  void FiltraNumerico_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("tecla");
    QTest::addColumn<bool>("pasa");
    QTest::newRow("punto en caja vacía") << "" << int('.') << false;
    QTest::newRow("cero en caja vacía") << "" << int('0') << true;
    QTest::newRow("punto tras 0") << "0" << int('.') << false;
    QTest::newRow("punto tras 000") << "000" << int('.') << false;
    QTest::newRow("punto tras 16") << "16" << int('.') << true;
    QTest::newRow("segundo punto") << "16.5" << int('.') << false;
    QTest::newRow("dígito 9") << "16" << int('9') << true;
    QTest::newRow("Backspace") << "16" << 8 << true;
    QTest::newRow("Enter") << "16" << 13 << true;
    QTest::newRow("menos") << "" << int('-') << false;
    QTest::newRow("coma tras 16") << "16" << int(',') << true;
    QTest::newRow("coma en caja vacía") << "" << int(',') << false;
    QTest::newRow("coma tras punto") << "16.5" << int(',') << false;
    QTest::newRow("letra") << "16" << int('a') << false;
    QTest::newRow("espacio") << "16" << int(' ') << false;
    QTest::newRow("Ctrl+C") << "16" << 3 << false;
    QTest::newRow("Ctrl+V") << "16" << 22 << false;
    QTest::newRow("Ctrl+X") << "16" << 24 << false;
    QTest::newRow("Escape") << "16" << 27 << false;
    QTest::newRow("Latin-1 é") << "16" << 0xE9 << false;
    QTest::newRow("más allá de 255") << "16" << 0x0661 << false;  // Arabic-Indic digit one
  }
  void FiltraNumerico() {
    QFETCH(QString, texto);
    QFETCH(int, tecla);
    QFETCH(bool, pasa);
    QLineEdit caja(texto);
    char16_t Key = static_cast<char16_t>(tecla);
    qavi::FiltraNumerico(&caja, Key);
    QCOMPARE(Key != 0, pasa);
    if (pasa) QCOMPARE(int(Key), tecla);
    QCOMPARE(caja.text(), texto);  // the filter never writes the box
  }

  // A separator is judged on the text it would make: at the caret, over the selection.
  void FiltraNumericoEnElCursor_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("desde");  // caret, or start of the selection
    QTest::addColumn<int>("largo");  // selected characters
    QTest::addColumn<bool>("pasa");
    QTest::newRow("antes de 0") << "0" << 0 << 0 << false;        // ".0"
    QTest::newRow("entre 1 y 6") << "16" << 1 << 0 << true;       // "1.6"
    QTest::newRow("sobre todo 16") << "16" << 0 << 2 << false;    // "."
    QTest::newRow("sobre el 6") << "16" << 1 << 1 << true;        // "1."
    QTest::newRow("sobre el punto") << "16.5" << 2 << 1 << true;  // "16.5" again
  }
  void FiltraNumericoEnElCursor() {
    QFETCH(QString, texto);
    QFETCH(int, desde);
    QFETCH(int, largo);
    QFETCH(bool, pasa);
    QLineEdit caja(texto);
    if (largo > 0)
      caja.setSelection(desde, largo);
    else
      caja.setCursorPosition(desde);
    char16_t Key = u'.';
    qavi::FiltraNumerico(&caja, Key);
    QCOMPARE(Key != 0, pasa);
  }

  // With a decimal comma in the regional format a typed point still works: only a point can be typed.
  void PuntoConComaRegional() {
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QLineEdit caja(QStringLiteral("16"));
    char16_t Key = u'.';
    qavi::FiltraNumerico(&caja, Key);
    QCOMPARE(int(Key), int('.'));
    QCOMPARE(qavi::LeeNumero(QStringLiteral("16.5")), 16.5);
    QCOMPARE(qavi::LeeNumero(QStringLiteral("16.5")), 16.5);
  }

  void LeeNumero_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<double>("valor");
    QTest::newRow("entero") << "16" << 16.0;
    QTest::newRow("decimal") << "17.25" << 17.25;
    QTest::newRow("punto final") << "16." << 16.0;
    QTest::newRow("blancos alrededor") << " 16 " << 16.0;
    QTest::newRow("ceros") << "000" << 0.0;
    QTest::newRow("negativo") << "-5" << -5.0;
    QTest::newRow("letras") << "abc" << 0.0;
    QTest::newRow("vacío") << "" << 0.0;
    QTest::newRow("dos puntos") << "1.2.3" << 0.0;
    QTest::newRow("coma decimal") << "17,25" << 17.25;
    QTest::newRow("coma, nunca de miles") << "1,600" << 1.6;
    QTest::newRow("coma y punto") << "1,600.5" << 0.0;
    QTest::newRow("infinito") << "inf" << 0.0;
  }
  void LeeNumero() {
    QFETCH(QString, texto);
    QFETCH(double, valor);
    QCOMPARE(qavi::LeeNumero(texto), valor);
  }

  // Typed into the rate box: the filter decides character by character, Ctrl+V pastes nothing.
  void TecleoEnCajaDeCambio() {
    TEdicion caja;
    caja.OnKeyPress = [](TEdicion* s, char16_t& k, Qt::KeyboardModifiers) { qavi::FiltraNumerico(s, k); };
    QTest::keyClicks(&caja, QStringLiteral("-1a.5,0."));
    QCOMPARE(caja.text(), QStringLiteral("1.50"));
    QApplication::clipboard()->setText(QStringLiteral("99"));
    QTest::keyClick(&caja, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(caja.text(), QStringLiteral("1.50"));
    QTest::keyClick(&caja, Qt::Key_Backspace);
    QCOMPARE(caja.text(), QStringLiteral("1.5"));
    // Keys that type nothing never reach the filter.
    QTest::keyClick(&caja, Qt::Key_Home);
    QTest::keyClick(&caja, Qt::Key_Delete);
    QCOMPARE(caja.text(), QStringLiteral(".5"));
  }

  void CaracterDeTecla() {
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCOMPARE(int(*qavi::CaracterDeTecla(&enter)), 13);
    QKeyEvent ctrlC(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QStringLiteral("c"));
    QCOMPARE(int(*qavi::CaracterDeTecla(&ctrlC)), 3);
    QKeyEvent flecha(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QVERIFY(!qavi::CaracterDeTecla(&flecha));
    QKeyEvent suprimir(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(127)));
    QVERIFY(!qavi::CaracterDeTecla(&suprimir));
  }

  // Messages posted before the pause are handled during it, also for a pause of 0 or less.
  void EsperaAtiendeMensajes_data() {
    QTest::addColumn<int>("ms");
    QTest::newRow("0") << 0;
    QTest::newRow("negativa") << -5;
    QTest::newRow("200") << 200;
  }
  void EsperaAtiendeMensajes() {
    QFETCH(int, ms);
    bool atendido = false;
    QMetaObject::invokeMethod(qApp, [&] { atendido = true; }, Qt::QueuedConnection);
    Espera(ms);
    QVERIFY(atendido);
  }

  // A timer that expires inside the pause fires inside it.
  void EsperaAtiendeCronometros() {
    bool disparado = false;
    QTimer::singleShot(50, [&] { disparado = true; });
    Espera(300);
    QVERIFY(disparado);
  }

  void EjecutaOcupado() {
    QPushButton boton;
    bool ocupadoDentro = false;
    qavi::EjecutaOcupado(
        [&] {
          ocupadoDentro = !boton.isEnabled() && QApplication::overrideCursor() &&
                          QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        },
        &boton);
    QVERIFY(ocupadoDentro);
    QVERIFY(boton.isEnabled());
    QVERIFY(!QApplication::overrideCursor());
  }

  void EjecutaOcupadoConFalla() {
    QPushButton boton;
    bool restauradoAntes = false;
    try {
      qavi::EjecutaOcupado([] { throw std::runtime_error("falla"); }, &boton);
    } catch (const std::runtime_error&) {
      restauradoAntes = boton.isEnabled() && !QApplication::overrideCursor();
    }
    QVERIFY(restauradoAntes);
  }
};

QTEST_MAIN(TUtileriasTest)
#include "Utilerias_test.moc"
