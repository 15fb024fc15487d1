#include "app/Arranque.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace qavi {

QStringList CarpetasTraducciones() {
  return {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
          QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool CargaTraducciones(QCoreApplication& app) {
  const QLocale espanol(QLocale::Spanish, QLocale::Mexico);
  QLocale::setDefault(espanol);
  for (const QString& carpeta : CarpetasTraducciones()) {
    auto* traductor = new QTranslator(&app);
    if (traductor->load(espanol, QStringLiteral("qtbase"), QStringLiteral("_"), carpeta) &&
        QCoreApplication::installTranslator(traductor))
      return true;
    delete traductor;
  }
  return false;
}

QIcon IconoPrograma() {
  QIcon icono;
  for (int n : {16, 24, 32, 48, 64, 128, 256})
    icono.addFile(QStringLiteral(":/icono/cuestionario-qavi-%1.png").arg(n), QSize(n, n));
  return icono;
}

}  // namespace qavi
