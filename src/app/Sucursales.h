#pragma once
// The branches the window consolidates: branch 1 is always the program's own folder; the user
// names the others, and the list is remembered between sessions without any password.
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include <QString>

class QSettings;

namespace qavi {

// A branch named by the user (branch 2 onwards).
struct TSucursalVentana {
  std::filesystem::path carpeta;  // its Velmar folder (DataBase/Velmar.mdb, Velmar.INI)
  QString clave;                  // its administrator's key; empty: step 2's key and password
  std::optional<QString> password;  // with a key of its own: known for this session only

  bool ClavePropia() const { return !clave.isEmpty(); }
  // Its own key whose password this session has not been told yet.
  bool FaltaPassword() const { return ClavePropia() && !password; }
};

// Folders as the user reads and types them, and back; the text is never narrowed to one code page.
QString TextoDeRuta(const std::filesystem::path& ruta);
std::filesystem::path RutaDeTexto(const QString& texto);

// The folder holds a Velmar database: DataBase/Velmar.mdb.
bool TieneBaseVelmar(const std::filesystem::path& carpeta);
// Two names of one branch: the same database file (through links or other spellings of the
// path), or, where a database is missing, the same folder.
bool MismaCarpeta(const std::filesystem::path& a, const std::filesystem::path& b);

// The program's settings of the user (an INI file in the user's configuration folder).
std::unique_ptr<QSettings> AbreAjustes();
// The branches remembered for the installation in `principal` (branch 1), in order; passwords
// are never read (nor written).
std::vector<TSucursalVentana> LeeSucursales(QSettings& ajustes, const std::filesystem::path& principal);
// Remembers them; false when the settings could not be written.
bool GuardaSucursales(QSettings& ajustes, const std::filesystem::path& principal,
                      const std::vector<TSucursalVentana>& sucursales);

}  // namespace qavi
