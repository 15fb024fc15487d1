// The status-line messenger: when texts go, and how a mandatory field's label blinks.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "app/Controles.h"
#include "app/Mensajero.h"

using namespace qavi;

namespace {

const QColor kRojo(255, 0, 0);
const QColor kGrisOscuro(72, 72, 72);
const QColor kTeal(0, 128, 128);

// Samples label colours every 20 ms. The blink runs inside nested pauses, so only a timer sees
// its steps; the test code itself gets control back once the sequence is over.
class TMuestreo : public QObject {
 public:
  struct TMuestra {
    QColor a, b;
  };
  TMuestreo(QLabel* a, QLabel* b) : a_(a), b_(b) {
    connect(&reloj_, &QTimer::timeout, this, [this] { muestras.push_back({TMensajero::ColorDe(a_), TMensajero::ColorDe(b_)}); });
    reloj_.start(20);
  }
  std::vector<TMuestra> muestras;

 private:
  QLabel *a_, *b_;
  QTimer reloj_;
};

struct TVentanaPrueba {
  QWidget w;
  TEtiqueta* estado = new TEtiqueta(&w);
  TEtiqueta* uno = new TEtiqueta(QStringLiteral("Uno"), &w);
  TEtiqueta* dos = new TEtiqueta(QStringLiteral("Dos"), &w);
  TEdicion* cajaUno = new TEdicion(&w);
  TEdicion* cajaDos = new TEdicion(&w);
  std::shared_ptr<TMensajero> msj;
  TVentanaPrueba() {
    TMensajero::PonColor(estado, Qt::blue);
    estado->setText(QStringLiteral("Mensajes"));
    TMensajero::PonColor(uno, kGrisOscuro);
    TMensajero::PonColor(dos, kTeal);
    msj = std::make_shared<TMensajero>(estado);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
  }
};

}  // namespace

class TMensajeroTest : public QObject {
  Q_OBJECT

 private slots:
  void CreacionVaciaYRoja() {
    TVentanaPrueba v;
    QVERIFY(v.estado->text().isEmpty());
    QCOMPARE(TMensajero::ColorDe(v.estado), kRojo);
    QVERIFY(v.estado->isVisible());
  }

  void MsjEnTxPermanece() {
    TVentanaPrueba v;
    v.msj->MsjEnTx("Fijo");
    QTest::qWait(3400);
    QCOMPARE(v.estado->text(), QStringLiteral("Fijo"));
  }

  // The second text is cleared 3 s after the FIRST call: the countdown is not restarted.
  void DosTemporalesSeparados() {
    TVentanaPrueba v;
    QElapsedTimer reloj;
    v.msj->MsjTxTemp("Primero");
    reloj.start();
    QTest::qWait(2000);
    v.msj->MsjTxTemp("Segundo");
    const qint64 segundoEn = reloj.elapsed();
    QCOMPARE(v.estado->text(), QStringLiteral("Segundo"));
    QTRY_VERIFY_WITH_TIMEOUT(v.estado->text().isEmpty(), 5000);
    // A restarted countdown would have kept it for 3 s more.
    QVERIFY2(reloj.elapsed() - segundoEn < 2500, qPrintable(QString::number(reloj.elapsed() - segundoEn)));
  }

  // A permanent text shown inside the 3 s of a temporary one goes with it.
  void PermanenteDentroDeTemporal() {
    TVentanaPrueba v;
    v.msj->MsjTxTemp("Temporal");
    QTest::qWait(1000);
    v.msj->MsjEnTx("Permanente");
    QCOMPARE(v.estado->text(), QStringLiteral("Permanente"));
    QTRY_VERIFY_WITH_TIMEOUT(v.estado->text().isEmpty(), 4000);
  }

  // The text stays after the pause, and the pause lets other messages through.
  void MsjTxEsperaPausaYDeja_data() {
    QTest::addColumn<bool>("largo");
    QTest::addColumn<int>("minimo");
    QTest::newRow("corta") << false << 400;
    QTest::newRow("larga") << true << 1000;
  }
  void MsjTxEsperaPausaYDeja() {
    QFETCH(bool, largo);
    QFETCH(int, minimo);
    TVentanaPrueba v;
    bool atendido = false;
    QMetaObject::invokeMethod(this, [&] { atendido = true; }, Qt::QueuedConnection);
    QElapsedTimer reloj;
    reloj.start();
    v.msj->MsjTxEspera("Espere", largo);
    QVERIFY(reloj.elapsed() >= minimo);
    QVERIFY(atendido);
    QCOMPARE(v.estado->text(), QStringLiteral("Espere"));
  }

  void TextoCambiadoAvisa() {
    TVentanaPrueba v;
    QStringList textos;
    connect(v.msj.get(), &TMensajero::TextoCambiado, this, [&](const QString& s) { textos << s; });
    v.msj->MsjEnTx("Uno");
    v.msj->MsjTxTemp("Dos");
    QTRY_VERIFY_WITH_TIMEOUT(v.estado->text().isEmpty(), 4000);
    QCOMPARE(textos, (QStringList{QStringLiteral("Uno"), QStringLiteral("Dos"), QString()}));
  }

  // Focus to the box, then four red flashes ending in the label's own colour.
  void CampoObligatorioParpadea() {
    TVentanaPrueba v;
    v.cajaDos->setFocus();
    TMuestreo m(v.uno, v.dos);
    v.msj->CampoObligatorio(v.uno, v.cajaUno);
    QCOMPARE(v.w.focusWidget(), v.cajaUno);
    QTest::qWait(100);  // the sequence runs inside this wait
    int destellos = 0;
    for (size_t i = 1; i < m.muestras.size(); ++i)
      if (m.muestras[i].a == kRojo && m.muestras[i - 1].a != kRojo) ++destellos;
    QCOMPARE(destellos, 4);
    QCOMPARE(TMensajero::ColorDe(v.uno), kGrisOscuro);
    for (const auto& s : m.muestras) QCOMPARE(s.b, kTeal);
  }

  void CampoObligatorioSinCajaUsable_data() {
    QTest::addColumn<bool>("conCaja");
    QTest::newRow("caja deshabilitada") << true;
    QTest::newRow("sin caja") << false;
  }
  void CampoObligatorioSinCajaUsable() {
    QFETCH(bool, conCaja);
    TVentanaPrueba v;
    v.cajaDos->setFocus();
    v.cajaUno->setEnabled(false);
    TMuestreo m(v.uno, v.dos);
    v.msj->CampoObligatorio(v.uno, conCaja ? v.cajaUno : nullptr);
    QTest::qWait(100);
    QCOMPARE(v.w.focusWidget(), v.cajaDos);
    bool rojo = false;
    for (const auto& s : m.muestras) rojo |= s.a == kRojo;
    QVERIFY(rojo);
  }

  // A second call during a running sequence: the first label gets its colour back at once and
  // never turns red again; both loops then blink the second, which ends in its own colour.
  void SegundoCampoDuranteParpadeo() {
    TVentanaPrueba v;
    TMuestreo m(v.uno, v.dos);
    QTimer::singleShot(700, this, [&] { v.msj->CampoObligatorio(v.dos, v.cajaDos); });
    v.msj->CampoObligatorio(v.uno, v.cajaUno);
    QTest::qWait(100);
    size_t inicioDos = m.muestras.size();
    for (size_t i = 0; i < m.muestras.size(); ++i)
      if (m.muestras[i].b == kRojo) {
        inicioDos = i;
        break;
      }
    QVERIFY(inicioDos < m.muestras.size());
    bool unoRojoAntes = false;
    for (size_t i = 0; i < inicioDos; ++i) unoRojoAntes |= m.muestras[i].a == kRojo;
    QVERIFY(unoRojoAntes);
    for (size_t i = inicioDos; i < m.muestras.size(); ++i) QCOMPARE(m.muestras[i].a, kGrisOscuro);
    QCOMPARE(TMensajero::ColorDe(v.uno), kGrisOscuro);
    QCOMPARE(TMensajero::ColorDe(v.dos), kTeal);
    QCOMPARE(v.w.focusWidget(), v.cajaDos);
  }

  // The messenger may outlive the window's labels (a run still holds it).
  void SobreviveALaEtiqueta() {
    auto w = std::make_unique<QWidget>();
    auto* estado = new TEtiqueta(w.get());
    auto msj = std::make_shared<TMensajero>(estado);
    msj->MsjTxTemp("Hola");
    w.reset();
    msj->MsjEnTx("Nadie lo ve");
    QTest::qWait(3200);
  }
};

QTEST_MAIN(TMensajeroTest)
#include "Mensajero_test.moc"
