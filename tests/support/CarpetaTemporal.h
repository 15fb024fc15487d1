#pragma once
// A fresh temporary folder per use, removed with everything in it at the end. Random names:
// ctest runs several test programs at once.
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
