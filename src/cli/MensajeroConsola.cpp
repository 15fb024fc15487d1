#include "cli/MensajeroConsola.h"

#include <cstdio>
#include <string>

namespace qavi {
namespace {
constexpr const char* kPrefijoAvance = "Por favor espere... ";
}

TMensajeroConsola::~TMensajeroConsola() { TerminaBarra(); }

void TMensajeroConsola::TerminaBarra() {
  if (enBarra_) std::fputc('\n', stderr);
  enBarra_ = false;
}

void TMensajeroConsola::MsjEnTx(const std::string& sMensaje) {
  const bool avance = sMensaje.rfind(kPrefijoAvance, 0) == 0;
  if (avance) {
    if (!terminal_) return;  // a log wants the milestones, not 191 percentages
    int p = std::atoi(sMensaje.c_str() + std::char_traits<char>::length(kPrefijoAvance));
    const int ancho = 40, llenos = p * ancho / 100;
    std::string barra(llenos, '#');
    barra.append(ancho - llenos, '.');
    std::fprintf(stderr, "\r[%s] %3d%%", barra.c_str(), p);
    std::fflush(stderr);
    enBarra_ = true;
    return;
  }
  TerminaBarra();
  std::fprintf(stderr, "%s\n", sMensaje.c_str());
}

}  // namespace qavi
