#include "common/Plataforma.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

#include <iostream>
#include <optional>
#include <system_error>
#include <vector>

namespace qavi {

std::filesystem::path CarpetaEjecutable() {
#ifdef _WIN32
  std::vector<wchar_t> buf(32768);
  DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
  return std::filesystem::path(std::wstring(buf.data(), n)).parent_path();
#else
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return p.parent_path();
#endif
}

bool EsTerminal(std::FILE* f) {
#ifdef _WIN32
  return _isatty(_fileno(f)) != 0;
#else
  return isatty(fileno(f)) != 0;
#endif
}

namespace {

// Turns the terminal's echo off for as long as it lives.
class TSinEco {
 public:
  TSinEco() {
#ifdef _WIN32
    consola_ = GetStdHandle(STD_INPUT_HANDLE);
    activo_ = GetConsoleMode(consola_, &modo_) && SetConsoleMode(consola_, modo_ & ~ENABLE_ECHO_INPUT);
#else
    activo_ = tcgetattr(STDIN_FILENO, &modo_) == 0;
    if (activo_) {
      termios sinEco = modo_;
      sinEco.c_lflag &= ~static_cast<tcflag_t>(ECHO);
      activo_ = tcsetattr(STDIN_FILENO, TCSANOW, &sinEco) == 0;
    }
#endif
  }
  ~TSinEco() {
    if (!activo_) return;
#ifdef _WIN32
    SetConsoleMode(consola_, modo_);
#else
    tcsetattr(STDIN_FILENO, TCSANOW, &modo_);
#endif
  }
  TSinEco(const TSinEco&) = delete;
  TSinEco& operator=(const TSinEco&) = delete;

 private:
  bool activo_ = false;
#ifdef _WIN32
  HANDLE consola_ = nullptr;
  DWORD modo_ = 0;
#else
  termios modo_{};
#endif
};

}  // namespace

bool LeeLineaSinEco(std::string& linea) {
  linea.clear();
  bool leida = false;
  {
    std::optional<TSinEco> sinEco;
    if (EsTerminal(stdin)) sinEco.emplace();
    leida = static_cast<bool>(std::getline(std::cin, linea)) || !linea.empty();
  }
  if (!linea.empty() && linea.back() == '\r') linea.pop_back();
  return leida;
}

}  // namespace qavi
