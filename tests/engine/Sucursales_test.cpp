// A company with several branches answered in one run: the same as one database holding every
// branch's rows with keys made unique per branch; every refusal names its branch; nothing of any
// branch's files changes.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>
#include <regex>

#include "db/ColectorConxs.h"
#include "engine/Corrida.h"
#include "jetwriter/VelmarFixture.h"
#include "report/ExpresionReporte.h"
#include "report/ReporteMemoria.h"
#include "report/TablaPEPs.h"
#include "support/CarpetaTemporal.h"
#include "support/GrabadoraMensajes.h"
#include "support/MensajeroGrabador.h"

namespace qavi {
namespace {

using tools::Fecha;
using tools::TClienteV;
using tools::TDivisaV;
using tools::TOperacionV;
using tools::TRelevanV;
using tools::TSectorV;
using tools::TVelmarFixture;

// The rows of one branch, from which both its own database and its share of the union are written.
struct TDatosRama {
  int empresa = 1;  // its active company
  std::vector<TDivisaV> divisas;
  std::vector<TSectorV> sectores;
  std::vector<TClienteV> clientes;
  std::vector<TOperacionV> movtos, proces;
  std::vector<TRelevanV> relevan;
};

// Branch `b`'s key in the union database.
std::string Propia(int b, const tools::TValorJet& clave) { return "S" + std::to_string(b) + "-" + clave.texto; }
tools::TValorJet Numero(int b, const tools::TValorJet& n) {
  return n.EsNulo() ? n : tools::TValorJet(n.entero * 10 + b);
}

TVelmarFixture Base(int empresa, const std::string& nombre) {
  TVelmarFixture f = TVelmarFixture::SinFilas();
  f.Empresa({.numEmp = empresa, .empresa = nombre});
  f.Emp({.clave = "ADMIN", .password = "DEMO", .nivel = 0});
  f.EmpresaActiva(empresa);
  return f;
}

// A branch's own database: its rows as they are.
TVelmarFixture Propio(const TDatosRama& d, int b) {
  TVelmarFixture f = Base(d.empresa, "SUCURSAL " + std::to_string(b));
  for (const auto& v : d.divisas) f.Divisa(v);
  for (const auto& v : d.sectores) f.Sector(v);
  for (const auto& v : d.clientes) f.Cliente(v);
  for (const auto& v : d.movtos) f.Movto(v);
  for (const auto& v : d.proces) f.Proces(v);
  for (const auto& v : d.relevan) f.Relevan(v);
  return f;
}

// One database holding what the branches mean together: each branch's active company only,
// every key made that branch's own, the first branch's company and record.
TVelmarFixture Union(const std::vector<TDatosRama>& ramas) {
  const int comun = ramas[0].empresa;
  TVelmarFixture f = Base(comun, "SUCURSAL 1");
  for (std::size_t i = 0; i < ramas.size(); ++i) {
    const int b = static_cast<int>(i) + 1;
    const TDatosRama& d = ramas[i];
    const auto suya = [&](const tools::TValorJet& e) { return e.entero == d.empresa; };
    for (auto v : d.divisas) f.Divisa((v.numero = Numero(b, v.numero), v));
    for (auto v : d.sectores) f.Sector((v.clave = Numero(b, v.clave), v));
    for (auto v : d.clientes)
      if (suya(v.numEmp)) {
        v.clave = Propia(b, v.clave);
        v.sector = Numero(b, v.sector);
        v.numEmp = comun;
        f.Cliente(v);
      }
    const auto operacion = [&](TOperacionV v) {
      v.folio = Numero(b, v.folio);
      v.divisa = Numero(b, v.divisa);
      v.cliente = Propia(b, v.cliente);
      v.numEmp = comun;
      return v;
    };
    for (const auto& v : d.movtos)
      if (suya(v.numEmp)) f.Movto(operacion(v));
    for (const auto& v : d.proces)
      if (suya(v.numEmp)) f.Proces(operacion(v));
    for (auto v : d.relevan)
      if (suya(v.numEmp)) {
        v.cliente = Propia(b, v.cliente);
        v.numEmp = comun;
        f.Relevan(v);
      }
  }
  return f;
}

// Branches made from a seed, with the traps of real ones: the same keys for different people,
// the same names in several branches, currencies and sectors numbered differently, another
// company's rows, operations of two branches that agree in every field. Amounts are multiples of
// 0.25 so that sums are exact in any order.
std::vector<TDatosRama> Genera(unsigned semilla, int cuantas) {
  std::mt19937 g(semilla);
  const auto uno = [&](int n) { return static_cast<int>(g() % static_cast<unsigned>(n)); };
  const std::vector<std::pair<const char*, const char*>> kDivisas = {
      {"USD", "DOLAR AMERICANO"}, {"EUR", "EURO"}, {"CAD", "DOLAR CANADIENSE"}, {"JPY", "YEN"},
      {"M.N.", "MONEDA NACIONAL"}};
  const std::vector<std::pair<const char*, const char*>> kSectores = {
      {"COMERCIO", "4611001"}, {"CENTRO CAMBIARIO", "9503005"}, {"BANCA MULTIPLE", "8100000"},
      {"CASA DE BOLSA", "8219025"}, {"NO APLICA", "0000000"}, {"TURISMO", "7011001"}};
  const std::vector<const char*> kNombres = {"PUBLICO EN GENERAL", "ANA", "LUIS", "MARIA", "BANCO DEL NORTE SA",
                                             "CAMBIOS SUR SA", "PEDRO", "ROSA"};
  std::vector<TDatosRama> ramas(static_cast<std::size_t>(cuantas));
  for (int b = 1; b <= cuantas; ++b) {
    TDatosRama& d = ramas[static_cast<std::size_t>(b - 1)];
    d.empresa = b == 2 ? 2 : 1;
    const int otra = d.empresa == 1 ? 2 : 1;
    std::vector<int> numeros = {1, 2, 3, 4, 5, 6, 7, 8};
    std::shuffle(numeros.begin(), numeros.end(), g);
    for (std::size_t k = 0; k < kDivisas.size(); ++k)
      d.divisas.push_back({.numero = numeros[k], .simbolo = kDivisas[k].first, .divisa = kDivisas[k].second});
    d.divisas.push_back({.numero = numeros[5], .simbolo = "USD", .divisa = "DOCUMENTOS EN DOLARES", .pagare = true});
    d.divisas.push_back({.numero = numeros[6], .simbolo = "EUR", .divisa = "DOCUMENTOS EN EUROS", .pagare = true});
    std::shuffle(numeros.begin(), numeros.end(), g);
    for (std::size_t k = 0; k < kSectores.size(); ++k)
      d.sectores.push_back({.clave = numeros[k], .sector = kSectores[k].first, .actividad = kSectores[k].second});
    for (int c = 1; c <= 12; ++c) {
      const bool moral = uno(3) == 0;
      d.clientes.push_back({.clave = "C" + std::to_string(c), .nombre = kNombres[static_cast<std::size_t>(uno(8))],
                            .paterno = moral ? tools::Nulo : tools::TValorJet("P" + std::to_string(uno(3))),
                            .materno = uno(2) ? tools::Nulo : tools::TValorJet("M"), .moral = moral,
                            .extranjero = uno(4) == 0, .sector = numeros[static_cast<std::size_t>(uno(6))],
                            .numEmp = c == 12 ? otra : d.empresa});
    }
    const double fechas[] = {Fecha(2014, 12, 31), Fecha(2015, 1, 1), Fecha(2015, 3, 10, 9), Fecha(2015, 7, 4),
                             Fecha(2015, 12, 31), Fecha(2015, 12, 31, 12), Fecha(2016, 1, 1)};
    const double cotizaciones[] = {15.5, 16.25, 17, 20.75};
    const auto operacion = [&] {
      return TOperacionV{.tipo = uno(12) == 0 ? "X" : (uno(2) ? "C" : "V"), .folio = 1 + uno(25),
                         .fecha = fechas[uno(7)], .divisa = numeros[static_cast<std::size_t>(uno(8))] ,
                         .cotizacion = cotizaciones[uno(4)], .cantidad = 0.25 * (1 + uno(20000)),
                         .cliente = "C" + std::to_string(1 + uno(14)), .numEmp = uno(10) == 0 ? otra : d.empresa,
                         .cancelado = uno(10) == 0};
    };
    for (int k = 0; k < 70; ++k) d.movtos.push_back(operacion());
    for (int k = 0; k < 30; ++k) d.proces.push_back(operacion());
    // Currencies of the catalogue by their own numbers: the shuffle above only renumbers sectors.
    for (auto* ops : {&d.movtos, &d.proces})
      for (auto& o : *ops) o.divisa = d.divisas[static_cast<std::size_t>(uno(7))].numero;
    for (int c = 1; c <= 12; ++c)
      if (uno(3) == 0)
        d.relevan.push_back({.tipo = uno(5) ? "I" : "R", .fecha = fechas[uno(7)], .observaciones = "CLIENTE PEP",
                             .numEmp = c == 12 ? otra : d.empresa, .cliente = "C" + std::to_string(c)});
  }
  // Two branches with an operation alike in every field: they stay two operations.
  if (cuantas > 1) {
    ramas[1].movtos.push_back(ramas[0].movtos.front());
    ramas[1].movtos.back().numEmp = ramas[1].empresa;
  }
  return ramas;
}

struct TCorrida {
  TPreambulo pre;
  bool ok = false;
  std::map<int, std::string> respuestas;  // question -> printed text; 0 -> NombreCC
  std::vector<TFilaPEP> candidatos;
  std::vector<std::string> cajas, estados;
};

// Opens the branches as the window does, detects the candidates, ticks (branch, key) and answers.
TCorrida Corre(const std::vector<std::filesystem::path>& carpetas,
               const std::vector<std::pair<int, std::string>>& marcas = {}, bool marcaTodos = false,
               const std::map<int, std::pair<std::string, std::string>>& credenciales = {}) {
  TCorrida r;
  prueba::TGrabadoraMensajes cajas;
  auto mensajero = std::make_shared<prueba::TMensajeroGrabador>();
  gColectorConxs = std::make_shared<TColectorConxs>();
  std::vector<TSucursal> sucursales;
  for (std::size_t i = 0; i < carpetas.size(); ++i) {
    TSucursal s{carpetas[i], std::nullopt, std::nullopt};
    if (auto it = credenciales.find(static_cast<int>(i) + 1); it != credenciales.end()) {
      s.usuario = it->second.first;
      s.password = it->second.second;
    }
    sucursales.push_back(s);
  }
  TReporteMemoria reporte;
  TTablaPEPs peps;
  r.pre = PreparaCorrida(sucursales, 16, "ADMIN", "DEMO", &reporte, mensajero);
  if (r.pre.rep && r.pre.rep->DetectaPEPs(peps)) {
    r.candidatos = peps.Filas();
    for (peps.First(); !peps.Eof(); peps.Next())
      for (const auto& [b, clave] : marcas)
        if (marcaTodos || (peps.Fila().Sucursal == b && peps.Fila().ClaveCliente == clave)) peps.AsignaEsPEP(true);
    r.ok = r.pre.rep->GeneraReporte(peps);
    if (auto v = reporte.Variables().DameValor("NombreCC")) r.respuestas[0] = EvaluaValor(*v);
    for (int n = 1; n <= 191; ++n)
      if (auto v = reporte.Variables().DameValor("preg_" + std::to_string(n))) r.respuestas[n] = EvaluaValor(*v);
  }
  r.pre.rep.reset();
  gColectorConxs.reset();
  r.cajas = cajas.Mensajes();
  r.estados = mensajero->textos;
  return r;
}

// Equal, or two most-frequent items tied on the same count: which of them comes first is the
// engine's order, as in Jet.
bool MismaRespuesta(const std::string& a, const std::string& b) {
  if (a == b) return true;
  static const std::regex kTop(R"(Respuesta: .* \(\*\* Total Ops\.: +([0-9]+) \*\*\) )");
  std::smatch x, y;
  return std::regex_match(a, x, kTop) && std::regex_match(b, y, kTop) && x[1] == y[1];
}

TEST(Sucursales, LasRespuestasSonLasDeUnaBaseConTodasLasFilas) {
  for (const unsigned semilla : {1u, 2u, 3u, 4u, 5u, 6u}) {
    const int cuantas = 2 + static_cast<int>(semilla % 2);
    const auto ramas = Genera(semilla, cuantas);
    prueba::TCarpetaTemporal dir;
    std::vector<std::filesystem::path> carpetas;
    for (int b = 1; b <= cuantas; ++b) {
      carpetas.push_back(dir / ("suc" + std::to_string(b)));
      ASSERT_TRUE(Propio(ramas[static_cast<std::size_t>(b - 1)], b).Escribe(carpetas.back()));
    }
    ASSERT_TRUE(Union(ramas).Escribe(dir / "union"));

    // Every candidate of every branch ticked, on both sides.
    const TCorrida consolidada = Corre(carpetas, {{0, ""}}, true);
    const TCorrida una = Corre({dir / "union"}, {{0, ""}}, true);
    ASSERT_TRUE(consolidada.ok) << semilla;
    ASSERT_TRUE(una.ok) << semilla;
    ASSERT_EQ(consolidada.candidatos.size(), una.candidatos.size()) << semilla;
    for (std::size_t i = 0; i < una.candidatos.size(); ++i) {
      const auto& c = consolidada.candidatos[i];
      EXPECT_EQ(Propia(c.Sucursal, c.ClaveCliente), una.candidatos[i].ClaveCliente) << semilla;
      EXPECT_EQ(c.Nombre, una.candidatos[i].Nombre) << semilla;
    }
    for (const auto& [n, texto] : una.respuestas)
      EXPECT_PRED2(MismaRespuesta, consolidada.respuestas.at(n), texto) << "semilla " << semilla << ", pregunta " << n;
  }
}

// One branch is the run of before: the same answers and the same messages.
TEST(Sucursales, UnaSucursalEsLaCorridaDeSiempre) {
  const auto ramas = Genera(7, 1);
  prueba::TCarpetaTemporal dir;
  ASSERT_TRUE(Propio(ramas[0], 1).Escribe(dir / "suc1"));
  TCorrida por_lista = Corre({dir / "suc1"}, {{1, "C3"}});
  ASSERT_TRUE(por_lista.ok);
  EXPECT_TRUE(por_lista.pre.sucursales.empty());

  prueba::TGrabadoraMensajes cajas;
  auto mensajero = std::make_shared<prueba::TMensajeroGrabador>();
  gColectorConxs = std::make_shared<TColectorConxs>();
  TReporteMemoria reporte;
  TTablaPEPs peps;
  auto pre = PreparaCorrida(dir / "suc1", 16, "ADMIN", "DEMO", &reporte, mensajero);
  ASSERT_TRUE(pre.rep);
  ASSERT_TRUE(pre.rep->DetectaPEPs(peps));
  for (peps.First(); !peps.Eof(); peps.Next())
    if (peps.Fila().ClaveCliente == "C3") peps.AsignaEsPEP(true);
  ASSERT_TRUE(pre.rep->GeneraReporte(peps));
  for (int n = 1; n <= 191; ++n)
    EXPECT_EQ(EvaluaValor(reporte.Variables().DameValor("preg_" + std::to_string(n))), por_lista.respuestas.at(n)) << n;
  pre.rep.reset();
  gColectorConxs.reset();
  EXPECT_EQ(mensajero->textos, por_lista.estados);
}

// Items are grouped by their text across branches: an activity second in every branch can be
// the first of the company, and its count is that of all branches. Keys are matched only inside
// their branch (the same sector and client keys name other things in each), and a tick names one
// client of one branch.
TEST(Sucursales, ElPrincipalDeLaEmpresaNoEsElDeNingunaSucursal) {
  struct TCliente {
    const char* clave;
    const char* nombre;
    int sector;
    int operaciones;
  };
  const auto sucursal = [](int b, int usd, std::vector<TSectorV> sectores, std::vector<TCliente> clientes) {
    TVelmarFixture f = Base(1, "SUCURSAL " + std::to_string(b));
    f.Divisa({.numero = usd, .simbolo = "USD", .divisa = "DOLAR"});
    f.Divisa({.numero = 3 - usd, .simbolo = "EUR", .divisa = "EURO"});
    for (const auto& s : sectores) f.Sector(s);
    int folio = 0;
    for (const auto& c : clientes) {
      f.Cliente({.clave = c.clave, .nombre = c.nombre, .paterno = tools::Nulo, .materno = tools::Nulo,
                 .sector = c.sector});
      for (int k = 0; k < c.operaciones; ++k)
        f.Movto({.tipo = "C", .folio = ++folio, .fecha = Fecha(2015, 5, 5), .divisa = usd, .cliente = c.clave});
    }
    f.Relevan({.fecha = Fecha(2015, 5, 5), .observaciones = "PEP", .cliente = "K1"});
    return f;
  };
  prueba::TCarpetaTemporal dir;
  ASSERT_TRUE(sucursal(1, 1,
                       {{.clave = 1, .sector = "COMERCIO", .actividad = "4611001"},
                        {.clave = 2, .sector = "TURISMO", .actividad = "7011001"},
                        {.clave = 3, .sector = "BANCA MULTIPLE", .actividad = "8100000"}},
                       {{"K1", "MARIA", 3, 1}, {"K2", "ANA", 1, 3}, {"K3", "LUIS", 2, 2}})
                  .Escribe(dir / "suc1"));
  ASSERT_TRUE(sucursal(2, 2,
                       {{.clave = 1, .sector = "CASA DE BOLSA", .actividad = "8219025"},
                        {.clave = 2, .sector = "BANCA MULTIPLE", .actividad = "8100000"},
                        {.clave = 5, .sector = "TURISMO", .actividad = "7011001"}},
                       {{"K1", "ROSA", 2, 1}, {"K2", "PEDRO", 1, 3}, {"K3", "LUIS", 5, 2}})
                  .Escribe(dir / "suc2"));
  const TCorrida r = Corre({dir / "suc1", dir / "suc2"}, {{2, "K1"}});
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.candidatos.size(), 2u);
  EXPECT_EQ(r.candidatos[1].Sucursal, 2);
  EXPECT_EQ(r.candidatos[1].Nombre, "ROSA");
  EXPECT_EQ(r.respuestas.at(0), "SUCURSAL 1");
  EXPECT_EQ(r.respuestas.at(2), "Respuesta: TURISMO (** Total Ops.:  4 **) ");
  EXPECT_EQ(r.respuestas.at(43), "Respuesta: 12");  // dollar purchases of both branches
  EXPECT_EQ(r.respuestas.at(35), "Respuesta: 1");   // PEP users: ROSA, not MARIA
  EXPECT_EQ(r.respuestas.at(51), "Respuesta: 1");   // PEP operations
}

// Each refusal stops the run before any answer and names the branch; nothing of any branch changes.
TEST(Sucursales, CadaRechazoNombraSuSucursal) {
  const struct {
    const char* nombre;
    std::function<void(TVelmarFixture&)> cambia;  // what is wrong with branch 2
    std::function<void(const std::filesystem::path&)> carpeta;  // or with its folder
    std::map<int, std::pair<std::string, std::string>> credenciales;
    TFallaPreambulo falla;
    std::string caja;  // the modal message, after "Sucursal 2 (<folder>"
  } casos[] = {
      {"usuario_conectado", [](TVelmarFixture& f) { f.CompUsr({}); }, nullptr, {}, TFallaPreambulo::UsuarioConectado,
       ", SUCURSAL 2): Hay un usuario conectado a la BD. Cierre Velmar antes de continuar."},
      {"sin_administrador", [](TVelmarFixture& f) { f.Limpia("tEmps").Emp({.clave = "ADMIN", .password = "OTRA"}); },
       nullptr, {}, TFallaPreambulo::Acceso,
       ", SUCURSAL 2): La contraseña es incorrecta o, el usuario no  tiene permisos de administrador."},
      {"credenciales_propias_malas", nullptr, nullptr, {{2, {"ADMIN", "MALA"}}}, TFallaPreambulo::Acceso,
       ", SUCURSAL 2): La contraseña es incorrecta o, el usuario no  tiene permisos de administrador."},
      {"sin_ini", [](TVelmarFixture& f) { f.Ini(std::nullopt); }, nullptr, {}, TFallaPreambulo::Empresa,
       "): No se pudo extraer el Número de la Empresa predeterminada."},
      {"sin_base", nullptr, [](const std::filesystem::path& c) { std::filesystem::remove(c / "DataBase" / "Velmar.mdb"); },
       {}, TFallaPreambulo::BaseDeDatos, "): No se encontró la base de datos de Velmar (DataBase\\Velmar.mdb)."},
      {"base_danada", nullptr,
       [](const std::filesystem::path& c) {
         std::ofstream(c / "DataBase" / "Velmar.mdb", std::ios::binary | std::ios::trunc) << std::string(8192, 'x');
       },
       {}, TFallaPreambulo::BaseDeDatos, ""},
  };
  for (const auto& c : casos) {
    prueba::TCarpetaTemporal dir;
    TVelmarFixture uno = Base(1, "SUCURSAL 1"), dos = Base(1, "SUCURSAL 2"), tres = Base(1, "SUCURSAL 3");
    if (c.cambia) c.cambia(dos);
    ASSERT_TRUE(uno.Escribe(dir / "suc1"));
    ASSERT_TRUE(dos.Escribe(dir / "suc2"));
    ASSERT_TRUE(tres.Escribe(dir / "suc3"));
    if (c.carpeta) c.carpeta(dir / "suc2");
    // What every file holds before the run, to the byte and the second.
    std::map<std::filesystem::path, std::pair<std::string, std::filesystem::file_time_type>> antes;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.Ruta()))
      if (e.is_regular_file()) {
        std::ifstream f(e.path(), std::ios::binary);
        antes[e.path()] = {std::string(std::istreambuf_iterator<char>(f), {}), e.last_write_time()};
      }

    const TCorrida r = Corre({dir / "suc1", dir / "suc2", dir / "suc3"}, {}, false, c.credenciales);
    EXPECT_FALSE(r.pre.rep) << c.nombre;
    EXPECT_EQ(r.pre.falla, c.falla) << c.nombre;
    EXPECT_EQ(r.pre.sucursalFallida, 2) << c.nombre;
    EXPECT_TRUE(r.respuestas.empty()) << c.nombre;
    ASSERT_FALSE(r.cajas.empty()) << c.nombre;
    if (!c.caja.empty())
      EXPECT_EQ(r.cajas.back(), "Sucursal 2 (" + (dir / "suc2").string() + c.caja) << c.nombre;
    else  // the database layer's own message names the file it could not open
      EXPECT_NE(r.cajas.back().find((dir / "suc2" / "DataBase" / "Velmar.mdb").string()), std::string::npos)
          << c.nombre << ": " << r.cajas.back();
    for (const auto& [ruta, contenido] : antes) {
      std::ifstream f(ruta, std::ios::binary);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), contenido.first) << c.nombre << " " << ruta;
      EXPECT_EQ(std::filesystem::last_write_time(ruta), contenido.second) << c.nombre << " " << ruta;
    }
  }
}

// The same database named twice (the same folder, or another path to it) would count its operations
// twice: refused before anything is read.
TEST(Sucursales, LaMismaBaseDosVecesSeRechaza) {
  prueba::TCarpetaTemporal dir;
  ASSERT_TRUE(Base(1, "SUCURSAL 1").Escribe(dir / "suc1"));
  ASSERT_TRUE(Base(1, "SUCURSAL 2").Escribe(dir / "suc2"));
  for (const auto& otra : {dir / "suc1", dir / "suc2" / ".." / "suc1"}) {
    const TCorrida r = Corre({dir / "suc1", dir / "suc2", otra});
    EXPECT_FALSE(r.pre.rep);
    EXPECT_EQ(r.pre.sucursalFallida, 3);
    ASSERT_FALSE(r.cajas.empty());
    EXPECT_EQ(r.cajas.back(), "Sucursal 3 (" + otra.string() +
                                  ") es la misma carpeta que la sucursal 1. Quítela de la lista de sucursales.");
  }
}

// A branch may have its own administrator: its key and password are tried there, the run's
// everywhere else.
TEST(Sucursales, CredencialesPropiasDeUnaSucursal) {
  prueba::TCarpetaTemporal dir;
  TVelmarFixture dos = Base(1, "SUCURSAL 2");
  dos.Limpia("tEmps").Emp({.clave = "GERENTE", .password = "SUC2", .nivel = 0});
  ASSERT_TRUE(Base(1, "SUCURSAL 1").Escribe(dir / "suc1"));
  ASSERT_TRUE(dos.Escribe(dir / "suc2"));
  const TCorrida r = Corre({dir / "suc1", dir / "suc2"}, {}, false, {{2, {"GERENTE", "SUC2"}}});
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.cajas.empty());
  ASSERT_EQ(r.pre.sucursales.size(), 2u);
  EXPECT_EQ(r.pre.sucursales[1].empresa, "SUCURSAL 2");
}

}  // namespace
}  // namespace qavi
