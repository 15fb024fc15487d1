#include "app/InstanciaUnica.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace qavi {

namespace {
constexpr int kMsEspera = 1000;
const QByteArray kPide = QByteArrayLiteral("ventana\n");
}  // namespace

TInstanciaUnica::TInstanciaUnica(QString clave) : clave_(std::move(clave)) {
  // Only the same user's starts may ask.
  servidor_.setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(&servidor_, &QLocalServer::newConnection, &servidor_, [this] {
    while (QLocalSocket* s = servidor_.nextPendingConnection()) {
      QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
      QObject::connect(s, &QLocalSocket::readyRead, s, [this, s] {
        if (!s->readAll().contains(kPide.trimmed())) return;
        if (AlPedirVentana) AlPedirVentana();
      });
    }
  });
}

bool TInstanciaUnica::Avisa() {
  QLocalSocket s;
  s.connectToServer(clave_);
  if (!s.waitForConnected(kMsEspera)) return false;
  s.write(kPide);
  s.waitForBytesWritten(kMsEspera);
  s.disconnectFromServer();
  return true;
}

bool TInstanciaUnica::YaCorre() {
  if (Avisa()) return true;
  if (servidor_.listen(clave_)) return false;
  // Two starts at once: the other one may have just begun to listen.
  if (servidor_.serverError() == QAbstractSocket::AddressInUseError && Avisa()) return true;
  // What is left is the socket of a program that did not end cleanly.
  QLocalServer::removeServer(clave_);
  servidor_.listen(clave_);
  return false;
}

QString ClaveInstancia(const QString& carpeta) {
  const QString usuario = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
  const QByteArray huella = QCryptographicHash::hash((usuario + QLatin1Char('\n') + QDir::cleanPath(carpeta)).toUtf8(),
                                                     QCryptographicHash::Sha256)
                                .toHex()
                                .left(24);
  return QStringLiteral("CuestionarioQAVI_2016-") + QString::fromLatin1(huella);
}

}  // namespace qavi
