// cuestionario-qavi: the questionnaire run without a window, for automation and branches.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/MensajeroConsola.h"
#include "cli/SalidaPDF.h"
#include "common/Cronometro.h"
#include "common/Json.h"
#include "common/Plataforma.h"
#include "db/ColectorConxs.h"
#include "db/Conexion.h"
#include "engine/Corrida.h"
#include "report/ExpresionReporte.h"
#include "report/ReporteMemoria.h"
#include "report/TablaPEPs.h"

namespace {

using namespace qavi;

// QAVI_TIEMPOS=1: how long each phase of the job took (the benchmark reads it).
class TFase : public TCronometro {
 public:
  explicit TFase(const char* nombre) : TCronometro("fase", nombre) {}
};

constexpr const char* kUso =
    "Uso: cuestionario-qavi [--velmar CARPETA] --usuario CLAVE [--password-stdin | --password PASS]\n"
    "                       [--tipo-cambio 16]\n"
    "                       [--sucursal CARPETA [--usuario-sucursal CLAVE --password-sucursal PASS]]...\n"
    "                       [--detectar-peps] [--pep [N:]CLAVE]... [--json ARCHIVO] [--pdf ARCHIVO]\n"
    "La contraseña se lee de la entrada con --password-stdin, si no de QAVI_PASSWORD, si no se pide\n"
    "sin mostrarla cuando la entrada es una terminal. --password PASS queda a la vista de otros usuarios.\n";

// A ticked candidate: the key of branch `sucursal`.
struct TMarca {
  int sucursal = 1;
  std::string clave;
};

struct TOpciones {
  std::filesystem::path velmar;
  std::vector<TSucursal> otras;  // branches 2, 3, ...
  std::optional<std::string> usuario, password;
  bool passwordEntrada = false;
  std::string tipoCambio = "16";
  bool detectar = false;
  std::vector<TMarca> peps;
  std::string json, pdf;
};

// "N:CLAVE" ticks key CLAVE of branch N; a plain "CLAVE" is branch 1's. Only digits before the
// first ':' make a branch number, so a key that holds a ':' itself can still be given as "1:a:b".
TMarca LeeMarca(const std::string& v) {
  const auto dos = v.find(':');
  if (dos == std::string::npos || dos == 0 || dos > 4 || v.find_first_not_of("0123456789") < dos) return {1, v};
  return {std::stoi(v.substr(0, dos)), v.substr(dos + 1)};
}

bool Analiza(int argc, char** argv, TOpciones& o, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto valor = [&](std::string& destino) {
      if (i + 1 >= argc) {
        error = "Falta el valor de " + a + ".";
        return false;
      }
      destino = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--velmar") {
      if (!valor(v)) return false;
      o.velmar = v;
    } else if (a == "--usuario") {
      if (!valor(v)) return false;
      o.usuario = v;
    } else if (a == "--password") {
      if (!valor(v)) return false;
      o.password = v;
    } else if (a == "--password-stdin") {
      o.passwordEntrada = true;
    } else if (a == "--sucursal") {
      if (!valor(v)) return false;
      o.otras.push_back({v, std::nullopt, std::nullopt});
    } else if (a == "--usuario-sucursal" || a == "--password-sucursal") {
      if (o.otras.empty()) {
        error = a + " va después de la --sucursal a la que se refiere.";
        return false;
      }
      if (!valor(v)) return false;
      (a == "--usuario-sucursal" ? o.otras.back().usuario : o.otras.back().password) = v;
    } else if (a == "--tipo-cambio") {
      if (!valor(o.tipoCambio)) return false;
    } else if (a == "--detectar-peps") {
      o.detectar = true;
    } else if (a == "--pep") {
      if (!valor(v)) return false;
      o.peps.push_back(LeeMarca(v));
    } else if (a == "--json") {
      if (!valor(o.json)) return false;
    } else if (a == "--pdf") {
      if (!valor(o.pdf)) return false;
    } else if (a == "-h" || a == "--help" || a == "--ayuda") {
      error.clear();
      return false;
    } else {
      error = "Opción desconocida: " + a;
      return false;
    }
  }
  if (!o.usuario) {
    error = "Falta --usuario.";
    return false;
  }
  for (const auto& s : o.otras)
    if (s.usuario.has_value() != s.password.has_value()) {
      error = "Cada --usuario-sucursal va con su --password-sucursal.";
      return false;
    }
  for (const auto& m : o.peps)
    if (m.sucursal < 1 || m.sucursal > static_cast<int>(o.otras.size()) + 1) {
      error = "La sucursal " + std::to_string(m.sucursal) + " de --pep no existe.";
      return false;
    }
  if (o.password && o.passwordEntrada) {
    error = "Use solo una de --password y --password-stdin.";
    return false;
  }
  return true;
}

// The password, off the command line where others can read it: standard input when asked to,
// else QAVI_PASSWORD, else asked for without echo on a terminal. False when there is none.
bool ObtienePassword(TOpciones& o, std::string& error) {
  if (o.password) return true;
  std::string p;
  if (o.passwordEntrada) {
    if (!LeeLineaSinEco(p)) {
      error = "--password-stdin: la entrada no trae la contraseña.";
      return false;
    }
  } else if (const char* entorno = std::getenv("QAVI_PASSWORD")) {
    p = entorno;
  } else if (EsTerminal(stdin)) {
    std::cerr << "Contraseña de " << *o.usuario << ": " << std::flush;
    const bool leida = LeeLineaSinEco(p);
    std::cerr << "\n";
    if (!leida) {
      error = "No se escribió la contraseña.";
      return false;
    }
  } else {
    error = "Falta la contraseña: --password-stdin, QAVI_PASSWORD o --password.";
    return false;
  }
  o.password = p;
  return true;
}

// The rate reads a point as the decimal separator whatever the regional settings; 0 when it is not a number.
double LeeTipoCambio(const std::string& s) {
  size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return 0;
  size_t b = s.find_last_not_of(' ') + 1;
  double d = 0;
  auto [p, ec] = std::from_chars(s.data() + a, s.data() + b, d);
  if (ec != std::errc() || p != s.data() + b) return 0;
  return d;
}

bool Escribe(const std::string& ruta, const std::string& texto) {
  std::ofstream f(std::filesystem::path(ruta), std::ios::binary);
  f << texto;
  f.close();
  if (!f) {
    std::cerr << "No se pudo escribir el archivo " << ruta << ".\n";
    return false;
  }
  return true;
}

// With several branches every candidate says its branch.
std::string CandidatosJson(const TTablaPEPs& t, bool conSucursal) {
  std::string s = "[";
  for (size_t i = 0; i < t.Filas().size(); ++i) {
    const auto& f = t.Filas()[i];
    s += std::string(i ? ",\n " : "\n ") + "{" +
         (conSucursal ? "\"Sucursal\": " + std::to_string(f.Sucursal) + ", " : std::string()) +
         "\"ClaveCliente\": " + CadenaJson(f.ClaveCliente) + ", \"Nombre\": " + CadenaJson(f.Nombre) + "}";
  }
  return s + (t.Filas().empty() ? "]\n" : "\n]\n");
}

std::string RespuestasJson(const TVariablesReporte& v, int nPreguntas, const std::vector<TDatosSucursal>& sucursales) {
  std::string s = "{\n \"NombreCC\": " + CadenaJson(EvaluaValor(v.DameValor("NombreCC")));
  for (int n = 1; n <= nPreguntas; ++n) {
    std::string nombre = "preg_" + std::to_string(n);
    s += ",\n " + CadenaJson(nombre) + ": " + CadenaJson(EvaluaValor(v.DameValor(nombre)));
  }
  if (!sucursales.empty()) {
    s += ",\n \"Sucursales\": [";
    for (std::size_t i = 0; i < sucursales.size(); ++i) {
      const auto& d = sucursales[i];
      s += std::string(i ? ",\n  " : "\n  ") + "{\"Sucursal\": " + std::to_string(d.numero) +
           ", \"Carpeta\": " + CadenaJson(d.carpeta.string()) + ", \"EmpresaActiva\": " +
           std::to_string(d.nNumEmp) + ", \"Empresa\": " + CadenaJson(d.empresa) + "}";
    }
    s += "\n ]";
  }
  return s + "\n}\n";
}

int Corre(const TOpciones& o) {
  const auto carpeta = o.velmar.empty() ? CarpetaEjecutable() : o.velmar;
  auto mensajero = std::make_shared<TMensajeroConsola>(EsTerminal(stderr));

  // The window's field checks, in its order.
  if (RecortaBlancos(*o.usuario).empty()) {
    mensajero->MsjTxTemp("Por favor, escriba su usuario (Administrador).");
    return 1;
  }
  if (RecortaBlancos(o.tipoCambio).empty()) {
    mensajero->MsjTxTemp("Por favor, escriba el tipo de cambio.");
    return 1;
  }
  const double dTCambio = LeeTipoCambio(o.tipoCambio);
  if (!(dTCambio > 0)) {
    mensajero->MsjTxTemp("El tipo de cambio debe ser diferente a cero.");
    return 1;
  }

  auto reporte = std::make_shared<TReporteMemoria>();
  TTablaPEPs vtPEPs;
  const bool genera = !o.detectar;
  auto falla = [&] {
    if (genera) mensajero->MsjEnTx("No fue posible generar el reporte. Llame a Soporte Técnico.");
    return 1;
  };

  std::vector<TSucursal> sucursales = {{carpeta, std::nullopt, std::nullopt}};
  sucursales.insert(sucursales.end(), o.otras.begin(), o.otras.end());
  const bool variasSucursales = sucursales.size() > 1;
  std::optional<TFase> fase(std::in_place, "preparación");
  auto pre = PreparaCorrida(sucursales, dTCambio, *o.usuario, *o.password, reporte.get(), mensajero);
  if (!pre.rep) return falla();
  fase.emplace("detección de PEPs");
  if (!pre.rep->DetectaPEPs(vtPEPs)) return falla();
  fase.reset();

  if (o.detectar) {
    if (!o.json.empty()) return Escribe(o.json, CandidatosJson(vtPEPs, variasSucursales)) ? 0 : 1;
    for (const auto& f : vtPEPs.Filas())
      std::cout << (variasSucursales ? std::to_string(f.Sucursal) + "\t" : std::string()) << f.ClaveCliente << '\t'
                << f.Nombre << '\n';
    mensajero->MsjTxTemp("La detección de PEPs ha finalizado.");
    return 0;
  }

  for (const auto& marca : o.peps) {
    bool encontrada = false;
    for (vtPEPs.First(); !vtPEPs.Eof(); vtPEPs.Next())
      if (vtPEPs.Fila().Sucursal == marca.sucursal && vtPEPs.Fila().ClaveCliente == marca.clave) {
        vtPEPs.AsignaEsPEP(true);
        encontrada = true;
      }
    if (!encontrada) {
      std::cerr << "La clave \"" << marca.clave << "\" no está entre los candidatos a PEP detectados"
                << (variasSucursales ? " de la sucursal " + std::to_string(marca.sucursal) : std::string()) << ".\n";
      return falla();
    }
  }

  bool pdfOk = true;
  std::unique_ptr<TEntornoPDF> entornoPDF;
  if (!o.pdf.empty()) {
    entornoPDF = std::make_unique<TEntornoPDF>();
    reporte->alMostrar = [&](TReporteMemoria& r) {
      std::string error;
      pdfOk = GeneraPDFHeadless(r.Variables(), o.pdf, error);
      if (!pdfOk) std::cerr << error << "\n";
    };
  }
  fase.emplace("respuestas");
  if (!pre.rep->GeneraReporte(vtPEPs) || !pdfOk) return falla();
  fase.emplace("JSON");
  if (!o.json.empty() && !Escribe(o.json, RespuestasJson(reporte->Variables(), 191, pre.sucursales))) return falla();
  fase.reset();
  mensajero->MsjEnTx("El reporte se generó correctamente.");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TOpciones o;
  std::string error;
  if (!Analiza(argc, argv, o, error) || !ObtienePassword(o, error)) {
    if (!error.empty()) std::cerr << error << "\n";
    std::cerr << kUso;
    return error.empty() ? 0 : 2;
  }
  gColectorConxs = std::make_shared<TColectorConxs>(jet::OpcionesMotorJetDelEntorno());
  int rc = Corre(o);
  gColectorConxs.reset();
  return rc;
}
