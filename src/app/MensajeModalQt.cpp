#include "app/MensajeModalQt.h"

#include <QApplication>
#include <QMessageBox>

#include "report/render/CursorNormal.h"

namespace qavi {

void TMensajeModalQt::MuestraMensaje(const std::string& sTexto) {
  // Read and answered with the normal cursor, also in the middle of a run.
  TCursorNormal normal;
  QMessageBox caja(QApplication::activeWindow());
  caja.setWindowTitle(QApplication::applicationName());
  caja.setTextFormat(Qt::PlainText);
  caja.setText(QString::fromStdString(sTexto));
  caja.setStandardButtons(QMessageBox::Ok);
  caja.exec();
}

}  // namespace qavi
