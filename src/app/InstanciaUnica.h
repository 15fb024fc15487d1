#pragma once
// One window per Velmar installation: a second start hands over to the running program, which
// comes to the front, and ends.
#include <functional>

#include <QLocalServer>
#include <QString>

namespace qavi {

class TInstanciaUnica {
 public:
  // clave: the same for every start that must share one window (see ClaveInstancia).
  explicit TInstanciaUnica(QString clave);
  TInstanciaUnica(const TInstanciaUnica&) = delete;
  TInstanciaUnica& operator=(const TInstanciaUnica&) = delete;

  // True when another start is already running: it has been asked to come to the front and
  // this one should end. Otherwise this start becomes the one that answers later starts.
  bool YaCorre();

  // Called, in the event loop, each time a later start asks for the window.
  std::function<void()> AlPedirVentana;

 private:
  bool Avisa();
  QString clave_;
  QLocalServer servidor_;
};

// The key of the user's starts from one folder (the program's, where Velmar is).
QString ClaveInstancia(const QString& carpeta);

}  // namespace qavi
