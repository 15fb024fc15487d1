#include "app/Indicaciones.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

namespace qavi {

namespace {

// Frame a window manager adds around a dialog (title bar above, thin borders).
constexpr int kMarcoAlto = 34;
constexpr int kMarcoAncho = 8;

// A message box that always fits the free area of its screen with its buttons in sight: on a
// small or scaled screen its text takes a smaller font.
class TCajaAdvertencia : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* e) override {
    QMessageBox::showEvent(e);
    if (e->spontaneous()) return;
    const QRect libre = screen()->availableGeometry();
    QFont f = font();
    for (int paso = 0; paso < 6 && height() + kMarcoAlto > libre.height(); ++paso) {
      f.setPointSizeF(f.pointSizeF() * 0.9);
      setFont(f);
      setText(text());  // the box sizes itself again when its text is set
    }
    QRect exterior(QPoint(0, 0), size() + QSize(kMarcoAncho, kMarcoAlto));
    exterior.moveCenter(libre.center());
    move(std::max(exterior.left(), libre.left()), std::max(exterior.top(), libre.top()));
  }
};

}  // namespace

const char* const kIndicaciones =
    "Para responder correctamente el cuestionario, es muy importante que por favor siga estas indicaciones:" "\r\r\n"
    "1.- Haga un respaldo de seguridad de la Base de Datos del Velmar." "\r\r\n"
    "2.- Asigne el Símbolo a todas las divisas (Catálogo de \"Divisas para Compra/Venta\"; en Velmar: Menú principal -> Archivo -> Opción 4 ). Las Divisas sin Símbolo podrían ser ignoradas y causar resultados erróneos." "\r\r\n"
    "3.- Asigne las Claves de la Actividad a  todos los Sectores (Catálogo de \"Ocupaciones, Profesiones, Actividades o Giros del Negocio\"; en Velmar:  Menú principal -> Usuarios -> Opción 2). Cerciórese que la clave corresponda correctamente con el Sector, de lo contrario podría causar resultados erróneos." "\r\r\n"
    "4.- Cierre el programa Velmar. " "\r\r\n"
    "5.- Instale y ejecute este programa en la carpeta raíz del Velmar (Generalmente en C:\\Velmar Software\\). " "\r\r\n"
    "6.- Si tiene varias computadoras con Velmar en el mismo establecimiento, instale este programa en la computadora principal (Servidor)." "\r\r\n"
    "7.- Si tiene varias sucursales, utilice este programa para generar un reporte por sucursal. Posteriormente analice la información para condensarla manualmente en un solo reporte." "\r\r\n"
    "8.- El cuestionario tiene preguntas que NO son posibles de contestar por medio de la Base de Datos del Velmar, por lo que deberá contestarlas a criterio y de acuerdo a la operatividad de su Centro Cambiario. Estas preguntas traen la respuesta: (** El CC debe responder **)." "\r\r\n"
    "Nota 1: Considere los datos que están entre paréntesis para analizar y condensar la información en caso de tener varias sucursales. No debe escribir estos datos en el cuestionario, son sólo datos informativos para su análisis." "\r\r\n"
    "Nota 2: En caso de no utilizar el sistema Velmar de forma automática para la detección de PEPs, los resultados podrían no ser correctos. Deberá realizar los cálculos correspondientes en cada respuesta donde intervengan PEPs conforme a los dictámenes que hubiera realizado." "\r\r\n"
    "¿Ha seguido las indicaciones y desea continuar?";

bool PreguntaAdvertencia(QWidget* padre, const QString& sTexto, bool bSiPorOmision) {
  TCajaAdvertencia caja(padre);
  caja.setIcon(QMessageBox::Warning);
  caja.setWindowTitle(QStringLiteral("Advertencia"));
  // A lone CR breaks the line as CR LF does, so each CR CR LF leaves a blank line between paragraphs.
  QString texto = sTexto;
  texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar(u'\r'), QChar(u'\n'));
  caja.setTextFormat(Qt::PlainText);
  caja.setText(texto);
  caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  caja.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
  caja.button(QMessageBox::No)->setText(QStringLiteral("&No"));
  caja.setDefaultButton(bSiPorOmision ? QMessageBox::Yes : QMessageBox::No);
  caja.setEscapeButton(QMessageBox::No);
  return caja.exec() == QMessageBox::Yes;
}

bool PreguntaDuda(QWidget* padre, const QString& sTexto) { return PreguntaAdvertencia(padre, sTexto, false); }

bool PreguntaIndicaciones(QWidget* padre) {
  return PreguntaAdvertencia(padre, QString::fromUtf8(kIndicaciones));
}

}  // namespace qavi
