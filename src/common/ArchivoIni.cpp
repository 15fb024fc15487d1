#include "common/ArchivoIni.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "common/Texto.h"

namespace qavi {

TArchivoIni::TArchivoIni(const std::filesystem::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  if (!f) return;
  std::ostringstream ss;
  ss << f.rdbuf();
  texto_ = ss.str();
  if (texto_.rfind("\xEF\xBB\xBF", 0) == 0) texto_.erase(0, 3);
}

TArchivoIni TArchivoIni::DeTexto(const std::string& texto) {
  TArchivoIni ini;
  ini.texto_ = texto;
  return ini;
}

std::optional<std::string> TArchivoIni::LeeTexto(const std::string& seccion, const std::string& clave) const {
  std::istringstream in(texto_);
  std::string linea;
  bool enSeccion = false;
  while (std::getline(in, linea)) {
    std::string l = RecortaBlancos(linea);
    if (l.empty() || l[0] == ';' || l[0] == '#') continue;
    if (l.front() == '[') {
      auto fin = l.find(']');
      enSeccion = fin != std::string::npos && IgualSinCasoAscii(RecortaBlancos(l.substr(1, fin - 1)), RecortaBlancos(seccion));
      continue;
    }
    if (!enSeccion) continue;
    auto igual = l.find('=');
    if (igual == std::string::npos) continue;
    if (IgualSinCasoAscii(RecortaBlancos(l.substr(0, igual)), RecortaBlancos(clave))) return RecortaBlancos(l.substr(igual + 1));
  }
  return std::nullopt;
}

long long TArchivoIni::LeeEntero(const std::string& seccion, const std::string& clave, long long porOmision) const {
  auto v = LeeTexto(seccion, clave);
  if (!v || v->empty()) return porOmision;
  const char* ini = v->data();
  const char* fin = ini + v->size();
  if (*ini == '+') ++ini;
  long long n = 0;
  auto [p, ec] = std::from_chars(ini, fin, n);
  if (ec != std::errc() || p != fin) return porOmision;
  return n;
}

}  // namespace qavi
