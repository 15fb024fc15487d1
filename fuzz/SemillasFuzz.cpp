// Seed corpora: small Velmar files and files with every Jet 4 type and table layout from the
// project's writer, and every statement the questionnaire engine writes.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "engine/RepCuestQAVI2016.h"
#include "jetwriter/TablaJet.h"
#include "jetwriter/VelmarFixture.h"

namespace {

using namespace qavi::tools;

// One table with a column of each type, values at their limits, a null row and long values that
// take one or several long-value pages.
TTablaJet TablaTipos() {
  using T = TTipoJet;
  return {"tTipos",
          {{"SiNo", T::Booleano}, {"B", T::Byte}, {"I", T::Entero}, {"L", T::EnteroLargo}, {"M", T::Moneda},
           {"S", T::Simple}, {"D", T::Doble}, {"F", T::FechaHora}, {"N", T::Decimal, 0, false, 28, 4},
           {"T", T::Texto, 20}, {"TF", T::Texto, 4, true}, {"Memo", T::Memo}, {"Bin", T::Binario, 8},
           {"BF", T::Binario, 4, true}, {"Ole", T::Ole}, {"G", T::Guid}},
          {{true, 255, -32768, INT32_MIN, "-922337203685477.5808", 1.1, -1e300, -1.25, "-123456789012345678901234.5678",
            "ÑANDÚ", "AB", std::string(5000, 'x'), TValorJet::Bytes(std::string("\0\1", 2)),
            TValorJet::Bytes("z"), TValorJet::Bytes(std::string(9000, '\x7F')), "{0C4F1D2A-3B5E-4F60-8A7B-9C0D1E2F3A4B}"},
           {Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo, Nulo},
           {false, 0, 32767, INT32_MAX, "0.0001", -0.0, 0.1, Fecha(2015, 12, 31, 23, 59, 59), 1, "", "ABCD",
            "memo corto", TValorJet::Bytes(""), TValorJet::Bytes("wxyz"), TValorJet::Bytes("ole"),
            "{00000000-0000-0000-0000-000000000001}"}}};
}

// The layouts Access leaves behind: deleted columns, columns added after rows, moved and deleted
// rows, and a definition longer than a page.
std::vector<TTablaJet> TablasDisposiciones() {
  using T = TTipoJet;
  TColumnaJet borradaTexto{"Vieja", T::Texto, 10}, borradaNumero{"Antes", T::EnteroLargo};
  borradaTexto.borrada = borradaNumero.borrada = true;
  TColumnaJet nuevoMonto{"Monto", T::Moneda}, nuevaNota{"Nota", T::Memo};
  nuevoMonto.desdeFila = 2;
  nuevaNota.desdeFila = 3;
  TTablaJet filas{"tFilas",
                  {{"Id", T::EnteroLargo}, borradaTexto, {"Nombre", T::Texto, 20}, borradaNumero, nuevoMonto, nuevaNota},
                  {}};
  for (int i = 0; i < 12; ++i)
    filas.filas.push_back({i, "v", "fila " + std::to_string(i), i, i < 2 ? Nulo : TValorJet(i * 1.5),
                           i < 3 ? Nulo : TValorJet(std::string(i * 300, 'n'))});
  filas.desbordadas = {1, 4, 9};
  filas.borradas = {2, 7};
  TTablaJet ancha{"tAncha", {}, {{}}};
  for (int i = 0; i < 120; ++i) {
    ancha.columnas.push_back({"Columna de nombre largo " + std::to_string(i), T::EnteroLargo});
    ancha.filas[0].push_back(i);
  }
  return {filas, ancha};
}

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

  TVelmarFixture vacia = TVelmarFixture::SinFilas();
  TVelmarFixture chica;
  chica.Cliente({.clave = "C'1", .nombre = "JOSÉ [preg_3]", .paterno = Nulo});
  chica.Movto({.folio = 1, .fecha = Fecha(2015, 12, 31, 10, 0, 0)});
  chica.Proces({.folio = 1, .cantidad = 2.5});
  chica.Relevan({.observaciones = std::string(300, 'P') + "EP"});
  chica.Password("");
  std::string error;
  if (!vacia.EscribeMdb(mdb / "vacia.mdb") || !chica.EscribeMdb(mdb / "chica.mdb") ||
      !EscribeMdb(mdb / "tipos.mdb", {TablaTipos()}, {}, error) ||
      !EscribeMdb(mdb / "disposiciones.mdb", TablasDisposiciones(), {}, error)) {
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
