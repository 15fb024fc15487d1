// jet-exporta FILE.mdb [TABLE]...
// Writes what the project's reader reads from the file as JSON Lines on standard output.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "jet-exporta/ExportaJet.h"

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help") {
    std::fprintf(stderr,
                 "Uso: jet-exporta ARCHIVO.mdb [TABLA]...\n"
                 "Escribe las filas de las tablas (todas si no se nombra ninguna) como JSON Lines.\n");
    return 2;
  }
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> tablas(argv + 2, argv + argc);
  const int codigo = qavi::tools::ExportaJet(argv[1], tablas, std::cout, std::cerr);
  std::cout.flush();
  return std::cout ? codigo : 1;
}
