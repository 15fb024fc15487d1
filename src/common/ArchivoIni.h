#pragma once
// Small INI reader: sections and keys are found without regard to case (Windows INI rules).
#include <filesystem>
#include <optional>
#include <string>

namespace qavi {

class TArchivoIni {
 public:
  // Reads the whole file; a missing or unreadable file behaves as an empty one.
  explicit TArchivoIni(const std::filesystem::path& ruta);
  static TArchivoIni DeTexto(const std::string& texto);

  std::optional<std::string> LeeTexto(const std::string& seccion, const std::string& clave) const;
  // Decimal integer; a missing key or a value that is not a whole number gives `porOmision`.
  long long LeeEntero(const std::string& seccion, const std::string& clave, long long porOmision) const;

 private:
  TArchivoIni() = default;
  std::string texto_;
};

}  // namespace qavi
