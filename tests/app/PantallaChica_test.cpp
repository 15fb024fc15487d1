// On a small or scaled screen (1280x1024 at 150 % leaves about 853x650 to the programs) the
// window and its instructions fit, buttons in sight.
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/DataModule.h"
#include "app/Indicaciones.h"
#include "app/Principal.h"
#include "report/ReporteMemoria.h"

using namespace qavi;

namespace {
// Room a window manager takes around a window: title bar and borders.
const QSize kMarco(8, 34);
}  // namespace

class TPantallaChicaTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().size(), QSize(853, 650)); }

  void LaVentanaCabe() {
    TdmMain dm{std::make_shared<TReporteMemoria>()};
    TfrmPrincipal w(dm, std::filesystem::temp_directory_path() / "qavi-sin-velmar");
    const QRect libre = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(w.Escala() < 1);
    QVERIFY(libre.contains(QRect(w.pos(), w.size() + kMarco)));
    QVERIFY(w.rect().contains(w.bnGenReporte->geometry()));
  }

  // The twelve lines of instructions are the tallest text the user meets.
  void LasIndicacionesCaben() {
    QRect caja, si;
    QTimer::singleShot(200, this, [&] {
      auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!m) return;
      caja = m->frameGeometry();
      si = QRect(m->button(QMessageBox::Yes)->mapTo(m, QPoint(0, 0)) + m->pos(), m->button(QMessageBox::Yes)->size());
      m->button(QMessageBox::No)->click();
    });
    QVERIFY(!PreguntaIndicaciones(nullptr));
    const QRect libre = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(libre.contains(QRect(caja.topLeft(), caja.size() + kMarco)),
             qPrintable(QStringLiteral("%1x%2").arg(caja.width()).arg(caja.height())));
    QVERIFY(libre.contains(si));
  }
};

int main(int argc, char** argv) {
  // A screen of that size, for this program only.
  QTemporaryDir dir;
  const QString config = dir.filePath(QStringLiteral("pantalla.json"));
  QFile f(config);
  if (!f.open(QIODevice::WriteOnly)) return 1;
  f.write(R"({"screens": [{"name": "chica", "x": 0, "y": 0, "width": 853, "height": 650, "logicalDpi": 96}]})");
  f.close();
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
  QApplication app(argc, argv);
  TPantallaChicaTest t;
  return QTest::qExec(&t, argc, argv);
}

#include "PantallaChica_test.moc"
