#include "app/Sucursales.h"

#include <system_error>

#include <QDir>
#include <QSettings>

#include "app/InstanciaUnica.h"

namespace qavi {

namespace {

constexpr const char* kGrupoSucursales = "Sucursales";
constexpr const char* kCarpeta = "Carpeta";
constexpr const char* kClave = "Clave";

std::filesystem::path BaseDe(const std::filesystem::path& carpeta) { return carpeta / "DataBase" / "Velmar.mdb"; }

// One group per installation: a copy of the program in another Velmar folder has its own list.
QString GrupoDe(const std::filesystem::path& principal) { return ClaveInstancia(TextoDeRuta(principal)); }

}  // namespace

QString TextoDeRuta(const std::filesystem::path& ruta) {
  return QDir::toNativeSeparators(QString::fromStdU16String(ruta.u16string()));
}

std::filesystem::path RutaDeTexto(const QString& texto) {
  return std::filesystem::path(QDir::cleanPath(QDir::fromNativeSeparators(texto)).toStdU16String()).make_preferred();
}

bool TieneBaseVelmar(const std::filesystem::path& carpeta) {
  std::error_code ec;
  return std::filesystem::is_regular_file(BaseDe(carpeta), ec);
}

bool MismaCarpeta(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  if (std::filesystem::equivalent(BaseDe(a), BaseDe(b), ec)) return true;
  // Folders by their real paths where they exist, else as spelled; case as the system compares it.
  return QDir(TextoDeRuta(a)) == QDir(TextoDeRuta(b));
}

std::unique_ptr<QSettings> AbreAjustes() {
  // An INI file everywhere (not the Windows registry), so it can be read, copied and tested alike.
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velmar"),
                                     QStringLiteral("CuestionarioQAVI_2016"));
}

std::vector<TSucursalVentana> LeeSucursales(QSettings& ajustes, const std::filesystem::path& principal) {
  std::vector<TSucursalVentana> r;
  ajustes.beginGroup(GrupoDe(principal));
  const int n = ajustes.beginReadArray(QLatin1String(kGrupoSucursales));
  for (int i = 0; i < n; ++i) {
    ajustes.setArrayIndex(i);
    const QString carpeta = ajustes.value(QLatin1String(kCarpeta)).toString();
    if (carpeta.trimmed().isEmpty()) continue;
    r.push_back({RutaDeTexto(carpeta), ajustes.value(QLatin1String(kClave)).toString().trimmed(), std::nullopt});
  }
  ajustes.endArray();
  ajustes.endGroup();
  return r;
}

bool GuardaSucursales(QSettings& ajustes, const std::filesystem::path& principal,
                      const std::vector<TSucursalVentana>& sucursales) {
  ajustes.remove(GrupoDe(principal));
  if (!sucursales.empty()) {
    ajustes.beginGroup(GrupoDe(principal));
    // For whoever opens the file: which installation the list belongs to.
    ajustes.setValue(QLatin1String(kCarpeta), TextoDeRuta(principal));
    ajustes.beginWriteArray(QLatin1String(kGrupoSucursales), static_cast<int>(sucursales.size()));
    for (std::size_t i = 0; i < sucursales.size(); ++i) {
      ajustes.setArrayIndex(static_cast<int>(i));
      ajustes.setValue(QLatin1String(kCarpeta), TextoDeRuta(sucursales[i].carpeta));
      ajustes.setValue(QLatin1String(kClave), sucursales[i].clave);
    }
    ajustes.endArray();
    ajustes.endGroup();
  }
  ajustes.sync();
  return ajustes.status() == QSettings::NoError;
}

}  // namespace qavi
