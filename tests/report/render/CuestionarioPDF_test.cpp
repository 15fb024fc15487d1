// The exported PDF as a reader sees it, checked with poppler's tools when they are installed.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ImprimeQt.h"
#include "report/render/CargaPlantilla.h"
#include "report/render/ExportaPDF.h"
#include "report/render/Respuestas.h"
#include "report/render/TablaPaginas.h"

namespace qavi {
namespace {

using prueba::Marca;
using prueba::PaginasEsperadas;

QString Ejecuta(const QString& programa, const QStringList& args, bool& disponible) {
  const QString ruta = QStandardPaths::findExecutable(programa);
  disponible = !ruta.isEmpty();
  if (!disponible) return {};
  QProcess p;
  p.start(ruta, args);
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// pdftotext lays lines out with runs of blanks; compare texts with every run as one blank.
QString Compacta(QString s) { return s.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")); }

class CuestionarioPDF : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new QTemporaryDir;
    ruta_ = dir_->filePath(QStringLiteral("CuestionarioQAVI_2016.pdf"));
    std::string error;
    generado_ = GeneraPDF(prueba::VariablesDeMuestra(), ruta_.toStdString(), error);
    error_ = error;
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(generado_) << error_; }

  // The text of each page, split at the form feeds pdftotext writes after every page.
  static QStringList Paginas(bool& disponible) {
    const QString texto = Ejecuta(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), ruta_, QStringLiteral("-")},
                                  disponible);
    QStringList p = texto.split(QLatin1Char('\f'));
    if (!p.isEmpty() && p.last().trimmed().isEmpty()) p.removeLast();
    return p;
  }

  static QTemporaryDir* dir_;
  static QString ruta_;
  static bool generado_;
  static std::string error_;
};
QTemporaryDir* CuestionarioPDF::dir_ = nullptr;
QString CuestionarioPDF::ruta_;
bool CuestionarioPDF::generado_ = false;
std::string CuestionarioPDF::error_;

TEST_F(CuestionarioPDF, EsUnPDF) {
  QFile f(ruta_);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.read(5).startsWith("%PDF-"));
  EXPECT_FALSE(f.readAll().contains("/Encrypt")) << "sin protección";
}

TEST_F(CuestionarioPDF, InformacionDelDocumento) {
  bool hay = false;
  const QString info = Ejecuta(QStringLiteral("pdfinfo"), {ruta_}, hay);
  if (!hay) GTEST_SKIP() << "pdfinfo no está instalado";
  auto campo = [&info](const QString& nombre) {
    QRegularExpression re(QStringLiteral("^%1:\\s*(.*)$").arg(nombre), QRegularExpression::MultilineOption);
    return re.match(info).captured(1).trimmed().toStdString();
  };
  EXPECT_EQ(campo(QStringLiteral("Pages")), "21");
  EXPECT_EQ(campo(QStringLiteral("Page size")), "612 x 792 pts (letter)");
  EXPECT_EQ(campo(QStringLiteral("Title")), "Cuestionario QAVI 2016");
  EXPECT_EQ(campo(QStringLiteral("Subject")), "Cuestionario QAVI 2016");
  EXPECT_EQ(campo(QStringLiteral("Author")), "Velmar");
  EXPECT_EQ(campo(QStringLiteral("Encrypted")), "no");
}

TEST_F(CuestionarioPDF, FuentesIncrustadas) {
  bool hay = false;
  const QString salida = Ejecuta(QStringLiteral("pdffonts"), {ruta_}, hay);
  if (!hay) GTEST_SKIP() << "pdffonts no está instalado";
  const QStringList lineas = salida.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_GT(lineas.size(), 2);
  // The columns after the name: type (one or two words), encoding, emb, sub, uni, object, generation.
  int fuentes = 0;
  bool serif = false, tahoma = false;
  for (int i = 2; i < lineas.size(); ++i) {
    const QStringList c = lineas[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_GE(c.size(), 7) << lineas[i].toStdString();
    EXPECT_EQ(c[c.size() - 5], QStringLiteral("yes")) << "no incrustada: " << lineas[i].toStdString();
    serif = serif || c[0].contains(QStringLiteral("Serif")) || c[0].contains(QStringLiteral("Times"));
    tahoma = tahoma || c[0].contains(QStringLiteral("Tahoma"));
    ++fuentes;
  }
  EXPECT_GE(fuentes, 3) << salida.toStdString();
  EXPECT_TRUE(serif) << salida.toStdString();
  EXPECT_TRUE(tahoma) << salida.toStdString();
}

TEST_F(CuestionarioPDF, NotasYPieDeCadaPagina) {
  bool hay = false;
  const QStringList paginas = Paginas(hay);
  if (!hay) GTEST_SKIP() << "pdftotext no está instalado";
  ASSERT_EQ(paginas.size(), 21);
  const QString notas = Compacta(paginas[0]);
  EXPECT_TRUE(notas.contains(QStringLiteral(
      "NOTA 1: Si cuenta con sucursales deberá obtener el reporte de cada una de ellas y hacer las sumatorias, "
      "promedios y cálculos correspondientes para consolidar la información y obtener el resultado correcto.")))
      << notas.toStdString();
  EXPECT_TRUE(notas.contains(QStringLiteral(
      "NOTA 2:La información que aparece entre paréntesis es solamente de carácter informativo y no debe "
      "capturarse en el cuestionario. La misma es auxiliar para hacer los cálculos en el caso que su Centro "
      "Cambiario cuente con sucursales.")))
      << notas.toStdString();
  EXPECT_FALSE(notas.contains(QStringLiteral("CUESTIONARIO DE OPERATIVIDAD")));
  for (int i = 0; i < paginas.size(); ++i) {
    const QStringList lineas = paginas[i].trimmed().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lineas.last().trimmed(), QStringLiteral("Página %1 de 21").arg(i + 1)) << "página " << i + 1;
    if (i > 0) {
      EXPECT_EQ(lineas.first().trimmed(), QStringLiteral("CUESTIONARIO DE OPERATIVIDAD CENTROS CAMBIARIOS 2016"));
      EXPECT_EQ(lineas.at(1).trimmed(), QStringLiteral("CASA DE CAMBIO EJEMPLO, S.A. DE C.V."));
    }
  }
}

TEST_F(CuestionarioPDF, CadaRespuestaBajoSuPreguntaEnSuPagina) {
  bool hay = false;
  const QStringList paginas = Paginas(hay);
  if (!hay) GTEST_SKIP() << "pdftotext no está instalado";
  ASSERT_EQ(paginas.size(), 21);
  TPlantillaReporte plantilla;
  QString e;
  ASSERT_TRUE(CargaPlantillaCuestionario(plantilla, e)) << e.toStdString();
  const auto textos = prueba::TextosPreguntas(plantilla);
  ASSERT_EQ(textos.size(), 191u);

  for (int i = 1; i < 21; ++i) {
    const auto& esperada = PaginasEsperadas()[static_cast<size_t>(i)];
    const QString texto = Compacta(paginas[i]);
    qsizetype despues = 0;  // everything of question n lies after question n-1's answer
    for (int n = esperada.desde; n <= esperada.hasta; ++n) {
      const QString pregunta =
          Compacta(QStringLiteral("%1. %2").arg(n).arg(QString::fromStdString(textos.at(n)))).trimmed();
      const qsizetype p = texto.indexOf(pregunta, despues);
      ASSERT_GE(p, 0) << "pregunta " << n << " en la página " << i + 1 << ": " << pregunta.toStdString();
      const qsizetype r = texto.indexOf(QString::fromStdString(Marca(n)), p + pregunta.size());
      ASSERT_GE(r, 0) << "respuesta " << n << " tras su pregunta en la página " << i + 1;
      despues = r;
    }
    for (int n = 1; n <= 191; ++n) {
      if (n >= esperada.desde && n <= esperada.hasta) continue;
      EXPECT_FALSE(texto.contains(QString::fromStdString(Marca(n)) + QLatin1Char(' ')))
          << "respuesta " << n << " fuera de su página (" << i + 1 << ")";
    }
  }
}

TEST_F(CuestionarioPDF, LosValoresSeImprimenTalCual) {
  bool hay = false;
  const QStringList paginas = Paginas(hay);
  if (!hay) GTEST_SKIP() << "pdftotext no está instalado";
  ASSERT_EQ(paginas.size(), 21);
  const QString p2 = Compacta(paginas[1]);
  EXPECT_TRUE(p2.contains(QStringLiteral("Respuesta: Q002 O'NEIL (** Total Ops.: 3 **)")));
  EXPECT_TRUE(p2.contains(QStringLiteral("Respuesta: Q003 [preg_4] <b>&amp;</b> ÁÉÍÓÚÑ")));
  EXPECT_TRUE(p2.contains(QStringLiteral("Q001 (** El CC debe responder **)")));
  const QRegularExpression dosLineas(QStringLiteral("Q005 línea uno *\\n *línea dos"));
  EXPECT_TRUE(dosLineas.match(paginas[1]).hasMatch()) << "CR LF imprime en dos líneas";
  const QString todo = paginas.join(QLatin1Char('\n'));
  EXPECT_FALSE(todo.contains(QStringLiteral("Q192")));
  EXPECT_FALSE(todo.contains(QStringLiteral("[NombreCC]")));
  EXPECT_FALSE(todo.contains(QStringLiteral("[Page#]")));
  EXPECT_EQ(todo.count(QStringLiteral("[preg_")), 1) << "solo el que trae la respuesta 3";
}

TEST(GeneraPDF, RutaImposibleDaUnMensaje) {
  std::string error;
  EXPECT_FALSE(GeneraPDF(prueba::VariablesDeMuestra(), "/no/existe/carpeta/x.pdf", error));
  EXPECT_NE(error.find("No fue posible escribir"), std::string::npos) << error;
}

}  // namespace
}  // namespace qavi
