// velmar-demo DIR [--operaciones N] [--clientes N] [--semilla S] [--empresa N]
// Writes a Velmar installation folder with seeded demonstration data.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

#include "velmar-demo/GeneradorDemo.h"

namespace {

template <class T>
bool Numero(const std::string& texto, T& valor) {
  const char* fin = texto.data() + texto.size();
  const auto r = std::from_chars(texto.data(), fin, valor);
  return r.ec == std::errc() && r.ptr == fin;
}

int Uso() {
  std::fprintf(stderr,
               "Uso: velmar-demo CARPETA [--operaciones N] [--clientes N] [--semilla S] [--empresa N]\n"
               "Escribe CARPETA/DataBase/Velmar.mdb y CARPETA/Velmar.INI con datos de demostración.\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  qavi::tools::TOpcionesDemo opciones;
  std::string carpeta;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") return Uso();
    if (arg.rfind("--", 0) != 0) {
      if (!carpeta.empty()) return Uso();
      carpeta = arg;
      continue;
    }
    std::string valor;
    const auto igual = arg.find('=');
    if (igual != std::string::npos) {
      valor = arg.substr(igual + 1);
      arg.resize(igual);
    } else if (i + 1 < argc) {
      valor = argv[++i];
    } else {
      std::fprintf(stderr, "Falta el valor de %s.\n", arg.c_str());
      return 2;
    }
    bool ok = false;
    if (arg == "--operaciones") {
      ok = Numero(valor, opciones.operaciones) && opciones.operaciones >= 0;
    } else if (arg == "--clientes") {
      ok = Numero(valor, opciones.clientes) && opciones.clientes > 0;
    } else if (arg == "--semilla") {
      ok = Numero(valor, opciones.semilla);
    } else if (arg == "--empresa") {
      ok = Numero(valor, opciones.empresa) && opciones.empresa > 0;
    } else {
      std::fprintf(stderr, "Opción desconocida: %s\n", arg.c_str());
      return Uso();
    }
    if (!ok) {
      std::fprintf(stderr, "Valor no válido para %s: %s\n", arg.c_str(), valor.c_str());
      return 2;
    }
  }
  if (carpeta.empty()) return Uso();

  qavi::tools::TResumenDemo resumen;
  std::string error;
  if (!qavi::tools::GeneraDemo(carpeta, opciones, resumen, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::printf("Base de datos de demostración: %s/DataBase/Velmar.mdb (contraseña de la base: quibon)\n",
              carpeta.c_str());
  std::printf("Empresa activa: %d\n", opciones.empresa);
  std::printf("Clientes: %d; filas de tMovtos: %lld, de tProces: %lld, de tRelevan: %lld\n", resumen.clientes,
              static_cast<long long>(resumen.filasMovtos), static_cast<long long>(resumen.filasProces),
              static_cast<long long>(resumen.filasRelevan));
  std::printf("Administrador: %s  Contraseña: %s\n", resumen.administrador.c_str(), resumen.password.c_str());
  return 0;
}
