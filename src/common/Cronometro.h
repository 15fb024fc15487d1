#pragma once
// QAVI_TIEMPOS=1: how long a piece of work took, written to standard error when it ends, as
// "[etiqueta]   12.3 ms  what (note)". The benchmark reads these lines.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qavi {

inline bool TiemposActivos() {
  static const bool activo = [] {
    const char* v = std::getenv("QAVI_TIEMPOS");
    return v && std::string(v) == "1";
  }();
  return activo;
}

class TCronometro {
 public:
  // `largo`: at most this many characters of `que` are written (statements can be long).
  TCronometro(const char* etiqueta, std::string que, std::size_t largo = std::string::npos)
      : etiqueta_(etiqueta), que_(std::move(que)), largo_(largo), inicio_(std::chrono::steady_clock::now()) {}
  ~TCronometro() {
    if (!TiemposActivos()) return;
    const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio_).count();
    std::fprintf(stderr, "[%s] %8.1f ms  %s%s\n", etiqueta_, ms, que_.substr(0, largo_).c_str(), nota_.c_str());
  }
  TCronometro(const TCronometro&) = delete;
  TCronometro& operator=(const TCronometro&) = delete;
  void Nota(std::string nota) { nota_ = " (" + std::move(nota) + ")"; }

 private:
  const char* etiqueta_;
  std::string que_, nota_;
  std::size_t largo_;
  std::chrono::steady_clock::time_point inicio_;
};

}  // namespace qavi
