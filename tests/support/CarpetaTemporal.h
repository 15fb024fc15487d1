#pragma once
// A fresh temporary folder per test, removed afterwards.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>

namespace qavi::prueba {

class TCarpetaTemporal {
 public:
  TCarpetaTemporal() {
    static std::atomic<int> n{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string nombre = std::string("qavi_") + (info ? info->name() : "x") + "_" + std::to_string(n++);
    for (char& c : nombre)
      if (c == '/') c = '_';
    ruta_ = std::filesystem::temp_directory_path() / nombre;
    std::filesystem::remove_all(ruta_);
    std::filesystem::create_directories(ruta_);
  }
  ~TCarpetaTemporal() {
    std::error_code ec;
    std::filesystem::remove_all(ruta_, ec);
  }
  const std::filesystem::path& Ruta() const { return ruta_; }

 private:
  std::filesystem::path ruta_;
};

}  // namespace qavi::prueba
