#pragma once
// Jet files for the reader tests, made with the project's writer in a private temporary folder.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "jetwriter/TablaJet.h"
#include "support/CarpetaTemporal.h"

namespace qavi::prueba {

namespace fs = std::filesystem;


inline fs::path EscribeMdb(const fs::path& ruta, const std::vector<tools::TTablaJet>& tablas,
                           const tools::TOpcionesMdb& opciones = {}) {
  std::string error;
  EXPECT_TRUE(tools::EscribeMdb(ruta, tablas, opciones, error)) << error;
  return ruta;
}

inline std::vector<char> LeeBytes(const fs::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline void EscribeBytes(const fs::path& ruta, const std::vector<char>& bytes) {
  std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Bytes and modification time of a file, to prove that reading left it as it was.
struct TSelloArchivo {
  std::vector<char> bytes;
  fs::file_time_type modificado;
  static TSelloArchivo De(const fs::path& ruta) { return {LeeBytes(ruta), fs::last_write_time(ruta)}; }
  bool operator==(const TSelloArchivo&) const = default;
};

}  // namespace qavi::prueba
