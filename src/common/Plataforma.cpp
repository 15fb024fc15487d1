#include "common/Plataforma.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

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

}  // namespace qavi
