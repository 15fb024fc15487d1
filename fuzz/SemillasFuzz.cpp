// Seed corpora: small Velmar files from the project's writer, and every statement the
// questionnaire engine writes.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "engine/RepCuestQAVI2016.h"
#include "jetwriter/VelmarFixture.h"

namespace {

class TSentencias : public qavi::TRepCuestKORU2016 {
 public:
  explicit TSentencias(qavi::TTablaPEPs* peps) : TRepCuestKORU2016(nullptr, nullptr, nullptr, 17.25, 1) {
    F_vtPEPS = peps;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "Uso: fuzz_semillas CARPETA_MDB CARPETA_SQL\n";
    return 2;
  }
  const std::filesystem::path mdb = argv[1], sql = argv[2];
  std::filesystem::create_directories(mdb);
  std::filesystem::create_directories(sql);

  using namespace qavi::tools;
  TVelmarFixture vacia = TVelmarFixture::SinFilas();
  TVelmarFixture chica;
  chica.Cliente({.clave = "C'1", .nombre = "JOSÉ [preg_3]", .paterno = Nulo});
  chica.Movto({.folio = 1, .fecha = Fecha(2015, 12, 31, 10, 0, 0)});
  chica.Proces({.folio = 1, .cantidad = 2.5});
  chica.Relevan({.observaciones = std::string(300, 'P') + "EP"});
  chica.Password("");
  if (!vacia.EscribeMdb(mdb / "vacia.mdb") || !chica.EscribeMdb(mdb / "chica.mdb")) {
    std::cerr << "No se pudieron escribir las semillas.\n";
    return 1;
  }

  qavi::TTablaPEPs peps;
  peps.Agrega({1, "C'1", "JOSÉ", true});
  peps.Agrega({2, "C2", "ANA", true});
  TSentencias motor(&peps);
  for (int n = 1; n <= 191; ++n) {
    std::ofstream(sql / ("preg_" + std::to_string(n) + ".sql"), std::ios::binary) << motor.DameRespuesta(n);
  }
  std::ofstream(sql / "acceso.sql", std::ios::binary)
      << "SELECT ClaveEmp FROM tEmps WHERE ClaveEmp = 'ADMIN' and Password = ''and Nivel = 0";
  std::ofstream(sql / "borrado.sql", std::ios::binary) << "DELETE * FROM tMovtos WHERE Folio > 5";
  return 0;
}
