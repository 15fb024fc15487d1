// What the program sets up before its window: Qt's Spanish texts in the stock dialogs and menus,
// its icon, and one window per installation.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QUuid>

#include "app/Arranque.h"
#include "app/InstanciaUnica.h"

using namespace qavi;

namespace {

QString SinAceleradores(QString s) {
  s.remove(QLatin1Char('&'));
  return s.left(s.indexOf(QLatin1Char('\t')));
}

QStringList TextosDeBotones(QWidget* dialogo) {
  QStringList textos;
  for (auto* caja : dialogo->findChildren<QDialogButtonBox*>())
    for (auto* b : caja->buttons()) textos << SinAceleradores(b->text());
  return textos;
}

}  // namespace

class TArranqueTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY2(CargaTraducciones(*qApp), "sin qtbase_es.qm (qt6-translations-l10n)"); }

  // The PDF export dialog, page setup and a text box's menu, whatever the system language.
  void DialogosEnEspanol_data() {
    QTest::addColumn<int>("dialogo");  // 0 save file, 1 page setup, 2 context menu
    QTest::addColumn<QString>("texto");
    QTest::newRow("guardar archivo: aceptar") << 0 << "Guardar";
    QTest::newRow("guardar archivo: cancelar") << 0 << "Cancelar";
    QTest::newRow("configurar página: aceptar") << 1 << "Aceptar";
    QTest::newRow("menú de la caja: pegar") << 2 << "Pegar";
    QTest::newRow("menú de la caja: seleccionar todo") << 2 << "Seleccionar todo";
  }
  void DialogosEnEspanol() {
    QFETCH(int, dialogo);
    QFETCH(QString, texto);
    QStringList textos;
    if (dialogo == 0) {
      QFileDialog d(nullptr, QStringLiteral("Exportar a PDF"));
      d.setOption(QFileDialog::DontUseNativeDialog);
      d.setAcceptMode(QFileDialog::AcceptSave);
      textos = TextosDeBotones(&d);
    } else if (dialogo == 1) {
      QPrinter impresora;
      QPageSetupDialog d(&impresora);
      textos = TextosDeBotones(&d);
    } else {
      QLineEdit caja;
      std::unique_ptr<QMenu> menu(caja.createStandardContextMenu());
      for (QAction* a : menu->actions()) textos << SinAceleradores(a->text());
    }
    QVERIFY2(textos.contains(texto), qPrintable(textos.join(QStringLiteral(" | "))));
  }

  void Icono() {
    const QIcon icono = IconoPrograma();
    QVERIFY(!icono.isNull());
    for (int n : {16, 32, 48, 256}) QVERIFY(icono.availableSizes().contains(QSize(n, n)));
  }

  // A second start hands over to the first and ends; the first is asked for its window.
  void SegundoArranque() {
    const QString clave = QStringLiteral("qavi-prueba-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    int pedidas = 0;
    TInstanciaUnica primera(clave);
    primera.AlPedirVentana = [&] { ++pedidas; };
    QVERIFY(!primera.YaCorre());
    TInstanciaUnica segunda(clave);
    QVERIFY(segunda.YaCorre());
    QTRY_COMPARE(pedidas, 1);
    // Another installation is another program.
    TInstanciaUnica otra(clave + QStringLiteral("-otra"));
    QVERIFY(!otra.YaCorre());
    QCOMPARE(pedidas, 1);
  }

  void ClavePorCarpeta() {
    QCOMPARE(ClaveInstancia(QStringLiteral("/srv/Velmar")), ClaveInstancia(QStringLiteral("/srv/Velmar/")));
    QVERIFY(ClaveInstancia(QStringLiteral("/srv/Velmar")) != ClaveInstancia(QStringLiteral("/srv/Velmar2")));
  }
};

QTEST_MAIN(TArranqueTest)
#include "Arranque_test.moc"
