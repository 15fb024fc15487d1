#include "app/MensajeModalQt.h"

#include <QApplication>
#include <QMessageBox>

namespace qavi {

void TMensajeModalQt::MuestraMensaje(const std::string& sTexto) {
  QMessageBox caja(QApplication::activeWindow());
  caja.setWindowTitle(QApplication::applicationName());
  caja.setTextFormat(Qt::PlainText);
  caja.setText(QString::fromStdString(sTexto));
  caja.setStandardButtons(QMessageBox::Ok);
  caja.exec();
}

}  // namespace qavi
