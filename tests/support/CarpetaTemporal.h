#pragma once
// A fresh temporary folder per use, removed with everything in it at the end. Random names:
// ctest runs several test programs at once. With QAVI_CONSERVA_MDB=DIR the .mdb files it held are
// first copied to DIR, to check by hand what the writer made with other Jet readers.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace qavi::prueba {

class TCarpetaTemporal {
 public:
  TCarpetaTemporal() {
    std::random_device rd;
    ruta_ = std::filesystem::temp_directory_path() / ("qavi-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::remove_all(ruta_);
    std::filesystem::create_directories(ruta_);
  }
  ~TCarpetaTemporal() {
    std::error_code ec;
    if (const char* destino = std::getenv("QAVI_CONSERVA_MDB")) {
      for (auto it = std::filesystem::recursive_directory_iterator(ruta_, ec);
           !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->path().extension() == ".mdb")
          std::filesystem::copy_file(it->path(),
                                     std::filesystem::path(destino) / (ruta_.filename().string() + "-" +
                                                                       it->path().filename().string()),
                                     std::filesystem::copy_options::overwrite_existing, ec);
      }
    }
    std::filesystem::remove_all(ruta_, ec);
  }
  TCarpetaTemporal(const TCarpetaTemporal&) = delete;
  TCarpetaTemporal& operator=(const TCarpetaTemporal&) = delete;

  const std::filesystem::path& Ruta() const { return ruta_; }
  std::filesystem::path operator/(const std::string& nombre) const { return ruta_ / nombre; }

 private:
  std::filesystem::path ruta_;
};

}  // namespace qavi::prueba
