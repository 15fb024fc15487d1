// Small Velmar databases written with the project's Jet writer, and the answers the
// questionnaire must give over them.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>

#include "db/ColectorConxs.h"
#include "engine/RepCuestQAVI2016.h"
#include "jetwriter/VelmarFixture.h"
#include "report/ExpresionReporte.h"
#include "report/ReporteMemoria.h"
#include "db/jet/MdbPrueba.h"
#include "support/CarpetaTemporal.h"
#include "support/GrabadoraMensajes.h"

namespace qavi {
namespace {

using tools::Fecha;
using tools::TVelmarFixture;

struct TResultadoCorrida {
  bool ok = false;
  std::map<int, std::string> respuestas;  // question -> printed text
  std::vector<std::string> cajas;
};

// Writes the fixture (then `retoca` may change the file), opens it as the window does and generates
// the questionnaire.
TResultadoCorrida Corre(const TVelmarFixture& f, double dTCambio = 16, const std::vector<std::string>& marcados = {},
                        const std::function<void(const std::filesystem::path&)>& retoca = {}) {
  prueba::TCarpetaTemporal dir;
  prueba::TGrabadoraMensajes cajas;
  std::string error;
  EXPECT_TRUE(f.Escribe(dir.Ruta(), &error)) << error;
  if (retoca) retoca(dir.Ruta() / "DataBase" / "Velmar.mdb");
  TColectorConxs registro;
  registro.CreaBDPrinc((dir.Ruta() / "DataBase" / "Velmar.mdb").string(), "", true);
  TADOConnection* c = nullptr;
  EXPECT_TRUE(registro.DameAccessConex(kBDPrincipal, c));
  TReporteMemoria reporte;
  TTablaPEPs peps;
  auto rep = std::make_shared<TRepCuestKORU2016>(c, &reporte, nullptr, dTCambio, 1);
  EXPECT_TRUE(rep->DetectaPEPs(peps));
  for (peps.First(); !peps.Eof(); peps.Next())
    for (const auto& m : marcados)
      if (peps.Fila().ClaveCliente == m) peps.AsignaEsPEP(true);
  TResultadoCorrida r;
  r.ok = rep->GeneraReporte(peps);
  for (int n = 1; n <= 191; ++n)
    if (auto v = reporte.Variables().DameValor("preg_" + std::to_string(n))) r.respuestas[n] = EvaluaValor(*v);
  r.cajas = cajas.Mensajes();
  return r;
}

// A sector per activity the engine classifies.
TVelmarFixture Base() {
  TVelmarFixture f;
  f.Limpia("tSector");
  f.Sector({.clave = 1, .sector = "COMERCIO", .actividad = "4611001"});
  f.Sector({.clave = 2, .sector = "CENTRO CAMBIARIO", .actividad = "9503005"});
  f.Sector({.clave = 3, .sector = "BANCO", .actividad = "8100000"});
  f.Sector({.clave = 4, .sector = "NO APLICA", .actividad = "0000000"});
  f.Limpia("tDivisas");
  f.Divisa({.numero = 1, .simbolo = "USD", .divisa = "DOLAR AMERICANO", .pagare = false});
  f.Divisa({.numero = 2, .simbolo = "EUR", .divisa = "EURO", .pagare = false});
  f.Divisa({.numero = 3, .simbolo = "USD", .divisa = "cheque en dólares", .pagare = true});
  f.Divisa({.numero = 4, .simbolo = "EUR", .divisa = "cheque en euros", .pagare = true});
  f.Divisa({.numero = 5, .simbolo = "M.N.", .divisa = "PESO", .pagare = true});
  return f;
}

struct Caso {
  const char* nombre;
  std::function<void(TVelmarFixture&)> datos;
  std::map<int, std::string> esperadas;  // "Respuesta: " is added
  double tc = 16;
  std::vector<std::string> peps = {};
};

TEST(Respuestas, ConjuntosPequenos) {
  const Caso casos[] = {
      {"sin operaciones: los valores por omisión",
       [](TVelmarFixture&) {},
       {{2, "NINGUNO"}, {33, "NO"}, {34, "0"}, {43, "0"}, {52, "0"}, {61, "0"}, {120, "NO"}, {150, "NINGUNO"},
        {151, "NINGUNO"}, {182, "NINGUNO"}, {191, "0"}}},
      {"límites de fecha con hora",
       [](TVelmarFixture& f) {
         f.Cliente({.clave = "C1"});
         f.Movto({.folio = 1, .fecha = Fecha(2015, 1, 1), .cantidad = 1.0});
         f.Movto({.folio = 2, .fecha = Fecha(2015, 12, 31), .cantidad = 10.0});
         f.Movto({.folio = 3, .fecha = Fecha(2015, 12, 31, 10, 0, 0), .cantidad = 100.0});
         f.Movto({.folio = 4, .fecha = Fecha(2016, 1, 1), .cantidad = 1000.0});
         f.Movto({.folio = 5, .fecha = Fecha(2014, 12, 31, 23, 59, 59), .cantidad = 10000.0});
       },
       {{33, "SI"}, {43, "2"}, {52, "11"}}},
      {"canceladas y de otra empresa no cuentan",
       [](TVelmarFixture& f) {
         f.Cliente({.clave = "C1"});
         f.Movto({.folio = 1, .cantidad = 5.0});
         f.Movto({.folio = 2, .cantidad = 7.0, .cancelado = true});
         f.Proces({.folio = 3, .cantidad = 9.0, .numEmp = 2});
       },
       {{43, "1"}, {52, "5"}}},
      {"filas iguales de ambas tablas son una operación",
       [](TVelmarFixture& f) {
         f.Cliente({.clave = "C1"});
         f.Movto({.folio = 1, .cantidad = 30.0});
         f.Proces({.folio = 1, .cantidad = 12.0});
         f.Proces({.folio = 1, .cantidad = 8.0});
         f.Movto({.folio = 1, .cotizacion = 16.0, .cantidad = 1.0});  // another quote: another operation
       },
       {{34, "1"}, {43, "2"}, {52, "51"}}},
      {"público en general: un usuario por operación",
       [](TVelmarFixture& f) {
         f.Cliente({.clave = "PG", .nombre = "PUBLICO EN GENERAL", .paterno = tools::Nulo, .materno = tools::Nulo});
         f.Cliente({.clave = "C1"});
         for (int i = 1; i <= 3; ++i) {
           f.Movto({.folio = i, .cliente = "PG"});
           f.Movto({.folio = 10 + i, .cliente = "C1"});
         }
       },
       {{34, "4"}, {36, "4"}, {43, "6"}, {151, "NINGUNO"}}},
      {"clientes sin clasificar solo cuentan para SI/NO",
       [](TVelmarFixture& f) {
         f.Cliente({.clave = "OTRA", .numEmp = 2});
         f.Cliente({.clave = "SINSECTOR", .sector = 99});
         f.Movto({.folio = 1, .cliente = "NADIE"});
         f.Movto({.folio = 2, .cliente = "OTRA"});
         f.Movto({.folio = 3, .cliente = "SINSECTOR"});
       },
       {{33, "SI"}, {34, "0"}, {43, "0"}, {52, "0"}, {2, "NINGUNO"}}},
      {"la clave del cliente se compara sin mayúsculas",
       [](TVelmarFixture& f) {
         f.Cliente({.clave = "CTE024", .nombre = "JOSÉ", .paterno = "NÚÑEZ", .materno = tools::Nulo});
         f.Movto({.folio = 1, .cliente = "cte024"});
       },
       {{43, "1"}, {2, "COMERCIO (** Total Ops.:  1 **) "}}},
      {"marcar un PEP mueve sus cuentas",
       [](TVelmarFixture& f) {
         f.Cliente({.clave = "P'1", .nombre = "ANA"});
         f.Cliente({.clave = "C2", .nombre = "LUIS"});
         f.Relevan({.observaciones = "Es PEP", .cliente = "P'1"});
         f.Movto({.folio = 1, .cantidad = 40.0, .cliente = "P'1"});
         f.Movto({.folio = 2, .cantidad = 60.0, .cliente = "C2"});
       },
       {{34, "2"}, {35, "1"}, {36, "1"}, {43, "2"}, {44, "1"}, {51, "1"}, {52, "100"}, {53, "60"}, {60, "40"}},
       16,
       {"P'1"}},
      {"sin marcar, el PEP cuenta como persona física",
       [](TVelmarFixture& f) {
         f.Cliente({.clave = "P'1", .nombre = "ANA"});
         f.Relevan({.observaciones = "Es PEP", .cliente = "P'1"});
         f.Movto({.folio = 1, .cantidad = 40.0, .cliente = "P'1"});
       },
       {{35, "0"}, {36, "1"}, {51, "0"}, {60, "0"}}},
      {"otras divisas se convierten con su cotización y el tipo de cambio",
       [](TVelmarFixture& f) {
         f.Cliente({.clave = "C1"});
         f.Movto({.folio = 1, .divisa = 2, .cotizacion = 3.0, .cantidad = 100.0});
         f.Movto({.folio = 2, .divisa = 1, .cotizacion = 3.0, .cantidad = 100.0});
       },
       {{81, "20"}, {52, "100"}, {62, "SI"}, {63, "1"}},
       15},
      {"documentos: el de dólares conserva su monto",
       [](TVelmarFixture& f) {
         f.Cliente({.clave = "B1", .nombre = "BANCO UNO", .moral = true, .sector = 3});
         f.Movto({.tipo = "C", .folio = 1, .divisa = 3, .cotizacion = 17.0, .cantidad = 100.0, .cliente = "B1"});
         f.Movto({.tipo = "C", .folio = 2, .divisa = 3, .cotizacion = 17.0, .cantidad = 50.0, .cliente = "B1"});
         f.Movto({.tipo = "C", .folio = 3, .divisa = 4, .cotizacion = 20.0, .cantidad = 8.0, .cliente = "B1"});
         f.Movto({.tipo = "C", .folio = 4, .divisa = 5, .cotizacion = 1.0, .cantidad = 999.0, .cliente = "B1"});
         f.Movto({.tipo = "V", .folio = 5, .divisa = 4, .cotizacion = 20.0, .cantidad = 8.0, .cliente = "B1"});
       },
       {{149, "SI"}, {150, "CHEQUE EN DÓLARES (** Total Ops.:  2 **) "}, {161, "3"}, {170, "160"},
        {151, "BANCO UNO (** Total Ops.:  3 **) "}, {180, "SI"}, {181, "CHEQUE EN EUROS (** Total Ops.:  1 **) "},
        {182, "BANCO UNO (** Total Ops.:  1 **) "}, {184, "1"}, {188, "10"}}},
      {"promedios redondean al par",
       [](TVelmarFixture& f) {
         f.Cliente({.clave = "C1"});
         f.Movto({.tipo = "C", .folio = 1, .cantidad = 10.0});
         f.Movto({.tipo = "C", .folio = 2, .cantidad = 11.0});
         f.Movto({.tipo = "V", .folio = 3, .cantidad = 11.0});
         f.Movto({.tipo = "V", .folio = 4, .cantidad = 12.0});
       },
       {{61, "10"}, {119, "12"}, {52, "21"}, {110, "23"}}},
      {"la actividad NO APLICA no es sector principal",
       [](TVelmarFixture& f) {
         f.Cliente({.clave = "N1", .sector = 4});
         f.Cliente({.clave = "C1", .moral = true, .sector = 2});
         f.Movto({.folio = 1, .cliente = "N1"});
         f.Movto({.folio = 2, .cliente = "N1"});
         f.Movto({.tipo = "V", .folio = 3, .cliente = "C1"});
       },
       {{2, "CENTRO CAMBIARIO (** Total Ops.:  1 **) "}, {97, "1"}, {40, "0"}}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    TVelmarFixture f = Base();
    c.datos(f);
    auto r = Corre(f, c.tc, c.peps);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.cajas.empty()) << r.cajas.front();
    for (const auto& [n, texto] : c.esperadas) EXPECT_EQ(r.respuestas[n], "Respuesta: " + texto) << "pregunta " << n;
    EXPECT_EQ(r.respuestas[1], "(** El CC debe responder **)");
  }
}

// The same operations with their amounts (and, where said, their quotes) stored as Double, as
// Currency and as Decimal(18, 2): Jet adds Double in reals, Currency and Decimal exactly, and
// rounds halves to even. Amounts of 0.10 and 0.07 are chosen where the two part: 25 × 0.10 is
// 2.5 exactly (ROUND: 2) but 2.500000000000001 in reals (3); 50 × 0.07 is 3.5 (4) but
// 3.499999999999998 (3). Rows of one folio in both tables are one operation: its amount is their
// sum. Currency × Currency keeps four decimals: 0.4 × 100.0001 is 40.0000 (÷ 16 = 2.5: 2) where
// Double and Decimal keep 40.00004 (3).
TEST(Respuestas, MontosEnMonedaYDecimalComoJet) {
  using tools::TTipoJet;
  const struct {
    const char* nombre;
    TTipoJet tipo;
    int escala;
  } tipos[] = {{"Double", TTipoJet::Doble, 0}, {"Currency", TTipoJet::Moneda, 0}, {"Decimal", TTipoJet::Decimal, 2}};
  const struct {
    const char* nombre;
    std::function<void(TVelmarFixture&)> datos;
    bool cotizacionDelMismoTipo;
    std::map<int, std::array<const char*, 3>> esperadas;  // Double, Currency, Decimal
  } casos[] = {
      {"dólares: una compra de 25 × 0.10 y una venta de 50 × 0.07",
       [](TVelmarFixture& f) {
         for (int i = 0; i < 25; ++i)
           (i < 15 ? f.Movto({.folio = 1, .cantidad = 0.1}) : f.Proces({.folio = 1, .cantidad = 0.1}));
         for (int i = 0; i < 50; ++i) f.Movto({.tipo = "V", .folio = 2, .cantidad = 0.07});
       },
       false,
       {{43, {"1", "1", "1"}},
        {52, {"3", "2", "2"}},
        {61, {"3", "2", "2"}},
        {101, {"1", "1", "1"}},
        {110, {"3", "4", "4"}},
        {119, {"3", "4", "4"}}}},
      {"otras divisas: 25 × 0.10 euros a 16",
       [](TVelmarFixture& f) {
         for (int i = 0; i < 25; ++i) f.Movto({.folio = 3, .divisa = 2, .cotizacion = 16.0, .cantidad = 0.1});
       },
       false,
       {{72, {"1", "1", "1"}}, {81, {"3", "2", "2"}}, {90, {"3", "2", "2"}}}},
      {"documentos: 25 × 0.10 en un documento en dólares",
       [](TVelmarFixture& f) {
         for (int i = 0; i < 25; ++i) f.Movto({.folio = 4, .divisa = 3, .cotizacion = 17.0, .cantidad = 0.1});
       },
       false,
       {{161, {"1", "1", "1"}}, {170, {"3", "2", "2"}}, {179, {"3", "2", "2"}}}},
      {"cotización del mismo tipo: 0.4 euros a 100.0001",
       [](TVelmarFixture& f) { f.Movto({.folio = 5, .divisa = 2, .cotizacion = 100.0001, .cantidad = 0.4}); },
       true,
       {{81, {"3", "2", "3"}}, {90, {"3", "2", "3"}}}},
  };
  for (const auto& c : casos) {
    for (const auto& t : tipos) {
      SCOPED_TRACE(std::string(c.nombre) + ", " + t.nombre);
      TVelmarFixture f = Base();
      f.Cliente({.clave = "C1"});
      c.datos(f);
      for (const char* tabla : {"tMovtos", "tProces"})
        for (auto& col : f.Tabla(tabla)->columnas)
          if (col.nombre == "Cantidad" || (c.cotizacionDelMismoTipo && col.nombre == "Cotizacion")) {
            col.tipo = t.tipo;
            col.escala = col.nombre == "Cantidad" ? t.escala : 4;
          }
      const auto r = Corre(f);
      EXPECT_TRUE(r.ok);
      const std::size_t i = static_cast<std::size_t>(&t - tipos);
      for (const auto& [n, textos] : c.esperadas)
        EXPECT_EQ(r.respuestas.at(n), std::string("Respuesta: ") + textos[i]) << "pregunta " << n;
    }
  }
}

TEST(Respuestas, UnaFallaDetieneLaCorrida) {
  TVelmarFixture f = Base();
  f.Omite("tSector");  // every answer that classifies clients fails from question 2 on
  auto r = Corre(f);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.respuestas[1], "(** El CC debe responder **)");
  EXPECT_EQ(r.respuestas[2], "** E R R O R **");
  EXPECT_EQ(r.respuestas.count(3), 0u);
  ASSERT_EQ(r.cajas.size(), 1u);
  EXPECT_NE(r.cajas[0].find("tSector"), std::string::npos) << r.cajas[0];
}

// A real file may hold a column the reader cannot decode; as long as no statement reads it, the
// questionnaire is answered as if it were not there.
TEST(Respuestas, UnaColumnaIlegibleQueNadieLeeNoDetieneLaCorrida) {
  TVelmarFixture f = Base();
  f.Cliente({.clave = "C1"});
  f.Movto({.folio = 1, .cantidad = 40.0});
  f.Movto({.tipo = "V", .folio = 2, .cantidad = 60.0});
  tools::TTablaJet* movtos = f.Tabla("tMovtos");
  movtos->columnas.push_back({"Foto", tools::TTipoJet::Ole});
  for (auto& fila : movtos->filas) fila.push_back(tools::TValorJet::Bytes("imagen"));
  const auto legible = Corre(f);
  const auto ilegible = Corre(f, 16, {}, [](const auto& mdb) { prueba::CambiaTipoColumna(mdb, "Foto", 0x11); });
  EXPECT_TRUE(ilegible.ok);
  EXPECT_TRUE(ilegible.cajas.empty()) << ilegible.cajas.front();
  EXPECT_EQ(ilegible.respuestas, legible.respuestas);
  EXPECT_EQ(ilegible.respuestas.at(52), "Respuesta: 40");  // the purchase is counted
}

}  // namespace
}  // namespace qavi
