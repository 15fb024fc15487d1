// The headless command as a user or a script runs it: answers against checked-in references,
// bad input, and the Velmar file left exactly as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <fstream>
#include <iterator>
#include <sstream>

#include "jetwriter/VelmarFixture.h"
#include "support/CarpetaTemporal.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace qavi {
namespace {

using tools::TVelmarFixture;

std::string Lee(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

struct TSalida {
  int codigo = -1;
  std::string salida, errores;
};

// Runs a program with arguments (each quoted) and collects its exit status and both streams.
// `entorno`: variable assignments put before the command ("A=1 B=2"); `entrada`: its standard
// input (none otherwise, never the terminal ctest was started from).
TSalida Ejecuta(const std::string& programa, const std::vector<std::string>& args, const std::filesystem::path& dir,
                const std::string& entorno = "", const std::string& entrada = "") {
  std::string cmd = (entorno.empty() ? "" : entorno + " ") + "\"" + programa + "\"";
  for (const auto& a : args) {
    std::string q = "'";
    for (char c : a) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    cmd += " " + q + "'";
  }
  const auto out = dir / "salida.txt", err = dir / "errores.txt", in = dir / "entrada.txt";
  std::ofstream(in, std::ios::binary) << entrada;
  cmd += " < \"" + in.string() + "\" > \"" + out.string() + "\" 2> \"" + err.string() + "\"";
  int st = std::system(cmd.c_str());
  TSalida r;
#ifdef _WIN32
  r.codigo = st;
#else
  r.codigo = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
#endif
  r.salida = Lee(out);
  r.errores = Lee(err);
  return r;
}

TSalida Cli(const std::filesystem::path& velmar, std::vector<std::string> args, const std::filesystem::path& dir,
            const std::string& entorno = "", const std::string& entrada = "") {
  args.insert(args.begin(), {"--velmar", velmar.string()});
  return Ejecuta(QAVI_CLI, args, dir, entorno, entrada);
}

class ComandoTest : public ::testing::Test {
 protected:
  prueba::TCarpetaTemporal dir;
  std::filesystem::path Velmar() const { return dir.Ruta() / "Velmar"; }
  std::filesystem::path Mdb() const { return Velmar() / "DataBase" / "Velmar.mdb"; }
};

// A seeded demo installation; its answers are the checked-in reference (regenerate with
// QAVI_ACTUALIZA_GOLDEN=1 after a deliberate change, and review the difference). The engine's
// other paths must give the same bytes: every statement as written, and every table (not only
// the large ones) served from memory.
TEST_F(ComandoTest, RespuestasDeReferencia) {
  auto demo = Ejecuta(QAVI_DEMO, {Velmar().string(), "--operaciones", "4000", "--clientes", "200", "--semilla", "1"},
                      dir.Ruta());
  ASSERT_EQ(demo.codigo, 0) << demo.errores;
  struct Corrida {
    const char* referencia;
    std::vector<std::string> args;
  } corridas[] = {
      {"demo-peps.json", {"--detectar-peps", "--json"}},
      {"demo-16.json", {"--tipo-cambio", "16", "--json"}},
      {"demo-17.25-peps.json", {"--tipo-cambio", "17.25", "--pep", "CTE00132", "--json"}},
  };
  const bool actualiza = std::getenv("QAVI_ACTUALIZA_GOLDEN") != nullptr;
  for (auto& c : corridas) {
    for (const std::string entorno : {"", "QAVI_SIN_CACHE=1", "QAVI_FILAS_MEMORIA=0"}) {
      const auto json = dir.Ruta() / c.referencia;
      std::vector<std::string> args = {"--usuario", "ADMIN", "--password", "DEMO"};
      args.insert(args.end(), c.args.begin(), c.args.end());
      args.push_back(json.string());
      auto r = Cli(Velmar(), args, dir.Ruta(), entorno);
      ASSERT_EQ(r.codigo, 0) << c.referencia << " " << entorno << "\n" << r.errores;
      const auto referencia = std::filesystem::path(QAVI_GOLDEN) / c.referencia;
      if (actualiza && entorno.empty())
        std::filesystem::copy_file(json, referencia, std::filesystem::copy_options::overwrite_existing);
      EXPECT_EQ(Lee(json), Lee(referencia)) << c.referencia << " " << entorno;
    }
  }
}

TEST_F(ComandoTest, ElArchivoDeVelmarQuedaIntacto) {
  TVelmarFixture f;
  f.Cliente({.clave = "C1"});
  f.Movto({});
  ASSERT_TRUE(f.Escribe(Velmar()));
  const std::string antes = Lee(Mdb());
  const auto fecha = std::filesystem::last_write_time(Mdb());
  for (auto args : {std::vector<std::string>{"--detectar-peps"}, std::vector<std::string>{"--json", "r.json"}}) {
    args.insert(args.begin(), {"--usuario", "ADMIN", "--password", "DEMO"});
    EXPECT_EQ(Cli(Velmar(), args, dir.Ruta()).codigo, 0);
  }
  EXPECT_EQ(Lee(Mdb()), antes);
  EXPECT_EQ(std::filesystem::last_write_time(Mdb()), fecha);
}

TEST_F(ComandoTest, ArchivosDanadosDanUnMensajeClaro) {
  TVelmarFixture f;
  ASSERT_TRUE(f.Escribe(Velmar()));
  const std::string bueno = Lee(Mdb());
  std::string aleatorio(64 * 1024, '\0');
  unsigned x = 12345;
  for (char& c : aleatorio) c = static_cast<char>((x = x * 1103515245 + 12345) >> 16);
  std::string accdb = bueno;
  accdb.replace(4, 15, std::string("Standard ACE DB", 15));
  struct Caso {
    const char* nombre;
    std::string contenido;
  } casos[] = {
      {"vacío", ""},
      {"truncado", bueno.substr(0, bueno.size() / 2 + 100)},
      {"una sola página", bueno.substr(0, 4096)},
      {"bytes al azar", aleatorio},
      {"texto renombrado", "Esto no es una base de datos\r\n"},
      {"accdb", accdb},
  };
  for (const auto& c : casos) {
    { std::ofstream(Mdb(), std::ios::binary | std::ios::trunc) << c.contenido; }
    auto r = Cli(Velmar(), {"--usuario", "ADMIN", "--password", "DEMO", "--json", "r.json"}, dir.Ruta());
    EXPECT_EQ(r.codigo, 1) << c.nombre << "\n" << r.errores;
    EXPECT_NE(r.errores.find("Error #BD-101: Llame a Soporte Técnico. EOleException - "), std::string::npos)
        << c.nombre << "\n" << r.errores;
    EXPECT_NE(r.errores.find("No fue posible generar el reporte. Llame a Soporte Técnico."), std::string::npos);
    EXPECT_EQ(Lee(Mdb()), c.contenido) << c.nombre;
  }
}

TEST_F(ComandoTest, TablasYColumnasFaltantes) {
  struct Caso {
    const char* nombre;
    std::function<void(TVelmarFixture&)> cambia;
    std::vector<std::string> enErrores;
  } casos[] = {
      {"sin tCompUsr", [](TVelmarFixture& f) { f.Omite("tCompUsr"); },
       {"tCompUsr", "Hay un usuario conectado a la BD. Cierre Velmar antes de continuar."}},
      {"sin tEmps", [](TVelmarFixture& f) { f.Omite("tEmps"); },
       {"tEmps", "La contraseña es incorrecta o, el usuario no  tiene permisos de administrador."}},
      {"sin columna Cancelado", [](TVelmarFixture& f) { f.QuitaColumna("tProces", "Cancelado"); },
       {"Cancelado", "Error..."}},
      {"sin Velmar.INI", [](TVelmarFixture& f) { f.Ini(std::nullopt); },
       {"No se pudo extraer el Número de la Empresa predeterminada."}},
      {"empresa cero", [](TVelmarFixture& f) { f.EmpresaActiva(0); },
       {"No se pudo extraer el Número de la Empresa predeterminada."}},
  };
  for (const auto& c : casos) {
    prueba::TCarpetaTemporal otra;
    TVelmarFixture f;
    f.Cliente({.clave = "C1"});
    f.Movto({});
    c.cambia(f);
    ASSERT_TRUE(f.Escribe(otra.Ruta()));
    auto r = Cli(otra.Ruta(), {"--usuario", "ADMIN", "--password", "DEMO", "--json", "r.json"}, dir.Ruta());
    EXPECT_EQ(r.codigo, 1) << c.nombre;
    for (const auto& t : c.enErrores) EXPECT_NE(r.errores.find(t), std::string::npos) << c.nombre << "\n" << r.errores;
  }
  auto r = Cli(dir.Ruta() / "no-existe", {"--usuario", "ADMIN", "--password", "DEMO"}, dir.Ruta());
  EXPECT_EQ(r.codigo, 1);
  EXPECT_NE(r.errores.find("Error: Este programa debe encontrarse en la carpeta del Velmar."), std::string::npos);
}

TEST_F(ComandoTest, TextoDeLaBaseSoloComoDatos) {
  const std::string raro = "O'NEIL \"EL GRANDE\" [preg_3] <b>&amp;</b> ÁÉÍÓÚÑ";
  const std::string largo(100, 'N');
  TVelmarFixture f;
  f.Divisa({.numero = 2, .simbolo = "USD", .divisa = "cheque 'viajero'", .pagare = true});
  f.Cliente({.clave = "K'1", .nombre = raro, .paterno = tools::Nulo, .materno = tools::Nulo});
  f.Cliente({.clave = "K2", .nombre = largo, .paterno = tools::Nulo, .materno = tools::Nulo});
  f.Relevan({.observaciones = "PEP", .cliente = "K'1"});
  f.Relevan({.observaciones = "PEP", .cliente = "K2"});
  for (int i = 1; i <= 3; ++i) f.Movto({.folio = i, .divisa = 2, .cliente = "K'1"});
  f.Movto({.folio = 9, .divisa = 2, .cliente = "K2"});
  ASSERT_TRUE(f.Escribe(Velmar()));

  auto peps = Cli(Velmar(), {"--usuario", "ADMIN", "--password", "DEMO", "--detectar-peps"}, dir.Ruta());
  ASSERT_EQ(peps.codigo, 0) << peps.errores;
  EXPECT_NE(peps.salida.find("K'1\t" + raro + "\n"), std::string::npos) << peps.salida;
  EXPECT_NE(peps.salida.find("K2\t" + largo + "\n"), std::string::npos);

  const auto json = dir.Ruta() / "r.json";
  auto r = Cli(Velmar(), {"--usuario", "ADMIN", "--password", "DEMO", "--pep", "K'1", "--json", json.string()},
               dir.Ruta());
  ASSERT_EQ(r.codigo, 0) << r.errores;
  const std::string s = Lee(json);
  EXPECT_NE(s.find("\"preg_151\": \"Respuesta: O'NEIL \\\"EL GRANDE\\\" [preg_3] <b>&amp;</b> ÁÉÍÓÚÑ (** Total "
                   "Ops.:  3 **) \""),
            std::string::npos)
      << s;
  EXPECT_NE(s.find("\"preg_150\": \"Respuesta: CHEQUE 'VIAJERO' (** Total Ops.:  4 **) \""), std::string::npos);
  EXPECT_NE(s.find("\"preg_160\": \"Respuesta: 1\""), std::string::npos) << "the ticked key with an apostrophe";
}

TEST_F(ComandoTest, CredencialesYUso) {
  TVelmarFixture f;
  ASSERT_TRUE(f.Escribe(Velmar()));
  auto r = Cli(Velmar(), {"--usuario", "ADMIN", "--password", "Secreta-123"}, dir.Ruta());
  EXPECT_EQ(r.codigo, 1);
  EXPECT_NE(r.errores.find("La contraseña es incorrecta o, el usuario no  tiene permisos de administrador."),
            std::string::npos);
  EXPECT_EQ(r.errores.find("Secreta-123"), std::string::npos);
  EXPECT_EQ(r.salida.find("Secreta-123"), std::string::npos);

  EXPECT_EQ(Cli(Velmar(), {"--usuario", "ADMIN"}, dir.Ruta()).codigo, 2);
  EXPECT_EQ(Cli(Velmar(), {"--usuario", "ADMIN", "--password", "DEMO", "--otra"}, dir.Ruta()).codigo, 2);
  EXPECT_EQ(Cli(Velmar(), {"--usuario", "ADMIN", "--password", "DEMO", "--pep"}, dir.Ruta()).codigo, 2);
  auto noCandidato = Cli(Velmar(), {"--usuario", "ADMIN", "--password", "DEMO", "--pep", "NADIE"}, dir.Ruta());
  EXPECT_EQ(noCandidato.codigo, 1);
  EXPECT_NE(noCandidato.errores.find("NADIE"), std::string::npos);
  for (const char* tc : {"0", "-3", "abc", "16,5"}) {
    auto t = Cli(Velmar(), {"--usuario", "ADMIN", "--password", "DEMO", "--tipo-cambio", tc}, dir.Ruta());
    EXPECT_EQ(t.codigo, 1) << tc;
    EXPECT_NE(t.errores.find("El tipo de cambio debe ser diferente a cero."), std::string::npos) << tc;
  }
  auto blanco = Cli(Velmar(), {"--usuario", "  ", "--password", "DEMO"}, dir.Ruta());
  EXPECT_NE(blanco.errores.find("Por favor, escriba su usuario (Administrador)."), std::string::npos);
}

// Several branches: candidates listed with their branch, a tick as BRANCH:KEY, the answers with
// the branches they consolidate, a branch's own credentials, and usage mistakes told apart.
TEST_F(ComandoTest, Sucursales) {
  const auto sucursal = [&](const std::string& nombre, const std::string& password) {
    TVelmarFixture f;
    f.Limpia("tEmps").Emp({.clave = "ADMIN", .password = password});
    f.Limpia("tEmpresa").Empresa({.empresa = nombre});
    f.Cliente({});
    f.Relevan({.observaciones = "PEP", .cliente = "C1"});
    return f;
  };
  const auto uno = dir.Ruta() / "uno", dos = dir.Ruta() / "dos";
  ASSERT_TRUE(sucursal("MATRIZ", "DEMO").Escribe(uno));
  ASSERT_TRUE(sucursal("SUCURSAL NORTE", "NORTE").Escribe(dos));
  const std::vector<std::string> base = {"--sucursal", dos.string(), "--usuario-sucursal", "ADMIN",
                                         "--password-sucursal", "NORTE", "--usuario", "ADMIN", "--password", "DEMO"};
  const auto con = [&](std::vector<std::string> extra) {
    std::vector<std::string> a = base;
    a.insert(a.end(), extra.begin(), extra.end());
    return Cli(uno, a, dir.Ruta());
  };

  auto peps = con({"--detectar-peps", "--json", (dir.Ruta() / "peps.json").string()});
  ASSERT_EQ(peps.codigo, 0) << peps.errores;
  EXPECT_EQ(Lee(dir.Ruta() / "peps.json"),
            "[\n {\"Sucursal\": 1, \"ClaveCliente\": \"C1\", \"Nombre\": \"JUAN PEREZ LOPEZ\"},\n"
            " {\"Sucursal\": 2, \"ClaveCliente\": \"C1\", \"Nombre\": \"JUAN PEREZ LOPEZ\"}\n]\n");

  auto r = con({"--pep", "2:C1", "--json", (dir.Ruta() / "r.json").string()});
  ASSERT_EQ(r.codigo, 0) << r.errores;
  const std::string s = Lee(dir.Ruta() / "r.json");
  EXPECT_NE(s.find("\"NombreCC\": \"MATRIZ\""), std::string::npos) << s;
  EXPECT_NE(s.find("\"Sucursales\": [\n  {\"Sucursal\": 1, \"Carpeta\": \"" + uno.string() +
                   "\", \"EmpresaActiva\": 1, \"Empresa\": \"MATRIZ\"},\n  {\"Sucursal\": 2"),
            std::string::npos)
      << s;

  auto rechazo = Cli(uno, {"--sucursal", dos.string(), "--usuario", "ADMIN", "--password", "DEMO"}, dir.Ruta());
  EXPECT_EQ(rechazo.codigo, 1);
  EXPECT_NE(rechazo.errores.find("Sucursal 2 (" + dos.string() + ", SUCURSAL NORTE): La contraseña es incorrecta"),
            std::string::npos)
      << rechazo.errores;

  for (const auto& mal : std::vector<std::vector<std::string>>{
           {"--usuario-sucursal", "X", "--sucursal", dos.string(), "--usuario", "ADMIN", "--password", "DEMO"},
           {"--sucursal", dos.string(), "--usuario-sucursal", "X", "--usuario", "ADMIN", "--password", "DEMO"},
           {"--sucursal", dos.string(), "--usuario", "ADMIN", "--password", "DEMO", "--pep", "3:C1"},
           {"--sucursal", dos.string(), "--usuario", "ADMIN", "--password", "DEMO", "--pep", "0:C1"}}) {
    EXPECT_EQ(Cli(uno, mal, dir.Ruta()).codigo, 2) << mal.front() << " " << mal.back();
  }
  auto ajena = con({"--pep", "1:NADIE"});
  EXPECT_EQ(ajena.codigo, 1);
  EXPECT_NE(ajena.errores.find("de la sucursal 1"), std::string::npos) << ajena.errores;
}

// The password off the command line (where every user of the machine sees it): from standard
// input or the environment; --password still works and wins; without any, a clear usage error.
TEST_F(ComandoTest, PasswordFueraDeLaLineaDeOrdenes) {
  TVelmarFixture f;
  ASSERT_TRUE(f.Escribe(Velmar()));
  struct TCaso {
    const char* nombre;
    std::vector<std::string> args;
    std::string entorno, entrada;
    int codigo;
    std::string mensaje;
  };
  const std::string acceso = "La contraseña es incorrecta o, el usuario no  tiene permisos de administrador.";
  const TCaso casos[] = {
      {"por la entrada", {"--password-stdin"}, "", "DEMO\n", 0, ""},
      {"por la entrada, línea de Windows", {"--password-stdin"}, "", "DEMO\r\n", 0, ""},
      {"por la entrada, sin fin de línea", {"--password-stdin"}, "", "DEMO", 0, ""},
      {"por el entorno", {}, "QAVI_PASSWORD=DEMO", "", 0, ""},
      {"en el entorno, incorrecta", {}, "QAVI_PASSWORD=OTRA", "", 1, acceso},
      {"la entrada antes que el entorno", {"--password-stdin"}, "QAVI_PASSWORD=OTRA", "DEMO\n", 0, ""},
      {"--password antes que el entorno", {"--password", "DEMO"}, "QAVI_PASSWORD=OTRA", "", 0, ""},
      {"entrada vacía", {"--password-stdin"}, "", "", 2, "la entrada no trae la contraseña"},
      {"sin contraseña ni terminal", {}, "", "", 2, "Falta la contraseña"},
      {"las dos opciones", {"--password", "DEMO", "--password-stdin"}, "", "DEMO\n", 2, "solo una"},
  };
  for (const auto& c : casos) {
    std::vector<std::string> args = {"--usuario", "ADMIN", "--detectar-peps"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto r = Cli(Velmar(), args, dir.Ruta(), c.entorno, c.entrada);
    EXPECT_EQ(r.codigo, c.codigo) << c.nombre << ": " << r.errores;
    if (!c.mensaje.empty()) {
      EXPECT_NE(r.errores.find(c.mensaje), std::string::npos) << c.nombre << ": " << r.errores;
    }
    if (c.codigo == 0) {
      EXPECT_NE(r.errores.find("La detección de PEPs ha finalizado."), std::string::npos) << c.nombre;
    }
  }
}

}  // namespace
}  // namespace qavi
