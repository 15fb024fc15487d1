#include "velmar-demo/GeneradorDemo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <system_error>
#include <vector>

#include "jetwriter/EscritorMdb.h"
#include "jetwriter/VelmarFixture.h"

namespace qavi::tools {
namespace {

// splitmix64: the same sequence on every platform and standard library, so a seed always gives the
// same file.
class TAzar {
 public:
  explicit TAzar(std::uint64_t semilla) : estado_(semilla) {}
  std::uint64_t Siguiente() {
    std::uint64_t z = (estado_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Real() { return static_cast<double>(Siguiente() >> 11) * 0x1.0p-53; }  // [0, 1)
  std::int64_t Entre(std::int64_t a, std::int64_t b) {                          // [a, b]
    return a + static_cast<std::int64_t>(Siguiente() % static_cast<std::uint64_t>(b - a + 1));
  }
  bool Prob(double p) { return Real() < p; }
  template <class T, std::size_t N>
  const T& Elige(const T (&v)[N]) {
    return v[Siguiente() % N];
  }

 private:
  std::uint64_t estado_;
};

const char* const kNombres[] = {
    "JUAN",    "JOSE LUIS", "MARIA GUADALUPE", "JOSÉ",   "MARÍA",   "FRANCISCO", "ALEJANDRO", "ANA",
    "PATRICIA", "MIGUEL ANGEL", "ROSA MARIA", "JORGE", "VERÓNICA", "CARLOS",  "LAURA",     "FERNANDO",
    "GABRIELA", "RICARDO", "ADRIANA",      "EDUARDO", "SOFÍA",   "ROBERTO",   "LETICIA",   "ARTURO",
    "ELENA",   "RAÚL",      "MONICA",       "SERGIO",  "CLAUDIA", "HÉCTOR",    "SILVIA",    "MARTÍN",
    "NORMA",   "IGNACIO",   "BEATRIZ",      "ÁNGEL",   "ESTHER",  "GUILLERMO", "TERESA",    "ANDRÉS"};
const char* const kApellidos[] = {
    "HERNANDEZ", "GARCIA",  "MARTINEZ", "LOPEZ",  "GONZALEZ",  "PEREZ",    "RODRIGUEZ", "SANCHEZ", "RAMIREZ",
    "CRUZ",      "FLORES",  "GOMEZ",    "MORALES", "VAZQUEZ",  "REYES",    "JIMENEZ",   "TORRES",  "DIAZ",
    "GUTIERREZ", "RUIZ",    "MENDOZA",  "AGUILAR", "ORTIZ",    "MORENO",   "CASTILLO",  "ROMERO",  "ÁLVAREZ",
    "MENDEZ",    "CHAVEZ",  "RIVERA",   "JUAREZ",  "RAMOS",    "DOMINGUEZ", "HERRERA",  "MEDINA",  "CASTRO",
    "VARGAS",    "GUZMAN",  "VELAZQUEZ", "MUÑOZ",  "NUÑEZ",    "IBAÑEZ",   "PEÑA",      "ZUÑIGA",  "SALDAÑA",
    "ORDÓÑEZ",   "ACUÑA",   "BRISEÑO"};
const char* const kNombresExtranjeros[] = {"JOHN",  "MICHAEL", "DAVID",    "JAMES",  "ROBERT", "MARY",
                                           "JENNIFER", "LINDA", "PIERRE", "HANS",   "YUKI",   "WEI",
                                           "GIOVANNI", "OLIVIA", "EMMA",  "THOMAS", "LUCAS",  "KENJI"};
const char* const kApellidosExtranjeros[] = {"SMITH",  "JOHNSON", "WILLIAMS", "BROWN",   "JONES",    "MILLER",
                                             "DAVIS",  "WILSON",  "DUBOIS",   "MÜLLER",  "TANAKA",   "CHEN",
                                             "ROSSI",  "SCHMIDT", "MARTIN",   "TAYLOR",  "ANDERSON", "SATO"};
const char* const kGiros[] = {"ABARROTES",  "COMERCIALIZADORA", "DISTRIBUIDORA", "SERVICIOS", "GRUPO",
                              "INMOBILIARIA", "TRANSPORTES",    "IMPORTADORA",   "EXPORTADORA", "CONSTRUCTORA",
                              "AGENCIA DE VIAJES", "HOTEL",     "RESTAURANTE",   "FARMACIA",    "JOYERIA"};
const char* const kRazones[] = {"LA ESPERANZA", "EL PROGRESO", "DEL PACIFICO", "DEL NORTE",  "SAN JOSÉ",
                                "LAS AMÉRICAS", "GUADALUPE",   "DEL BAJÍO",    "LA MONTAÑA", "SOL Y MAR",
                                "LA PEÑA",      "INTEGRAL",    "GLOBAL",       "MAYA",       "AZTECA",
                                "DEL GOLFO",    "PENINSULAR",  "TRES RÍOS",    "EL CAÑÓN",   "FRONTERA"};
const char* const kSociedades[] = {", S.A. DE C.V.", ", S. DE R.L. DE C.V.", ", S.C.", ", S.A.P.I. DE C.V."};

struct TSectorDemo {
  int clave;
  const char* sector;
  const char* actividad;
};
// Activity codes the questionnaire classifies (exchange centres, financial entities, exchange houses,
// banks) next to ordinary ones.
const TSectorDemo kSectores[] = {
    {1, "NO APLICA", "9999999"},
    {10, "COMERCIO AL POR MENOR", "4611001"},
    {11, "COMERCIO AL POR MAYOR", "4311009"},
    {12, "AGRICULTURA", "0111019"},
    {13, "HOTELES Y MOTELES", "7211011"},
    {14, "RESTAURANTES", "7221019"},
    {15, "AUTOTRANSPORTE DE CARGA", "4841011"},
    {16, "CONSTRUCCION DE VIVIENDA", "2361015"},
    {17, "SERVICIOS PROFESIONALES", "8121017"},
    {18, "EMPLEADO DEL SECTOR PRIVADO", "9300990"},
    {19, "ESTUDIANTE", "9500997"},
    {20, "LABORES DEL HOGAR", "9400998"},
    {21, "AGENCIA DE VIAJES", "7231012"},
    {30, "CENTRO CAMBIARIO", "9503005"},
    {31, "CENTRO CAMBIARIO", "6999992"},
    {40, "SOCIEDAD FINANCIERA DE OBJETO MULTIPLE", "8123094"},
    {41, "ENTIDAD FINANCIERA", "9911018"},
    {50, "CASA DE CAMBIO", "8219025"},
    {60, "BANCA MULTIPLE", "8100000"},
};
const int kSectoresPersonas[] = {1, 10, 12, 13, 14, 17, 18, 18, 18, 19, 20, 20};
const int kSectoresEmpresas[] = {10, 11, 12, 13, 14, 15, 16, 17, 21};

struct TDivisaDemo {
  int numero;
  const char* simbolo;
  const char* divisa;
  bool pagare;
  double factor;   // value in US dollars of one unit
  double peso;     // share of the operations
  double escala;   // usual size of an amount compared with dollars
  int decimales;   // of the quote
};
const TDivisaDemo kDivisas[] = {
    {1, "USD", "DOLAR AMERICANO", false, 1.0, 0.70, 1.0, 2},
    {2, "EUR", "EURO", false, 1.11, 0.10, 1.0, 2},
    {3, "CAD", "DOLAR CANADIENSE", false, 0.79, 0.04, 1.0, 2},
    {4, "GBP", "LIBRA ESTERLINA", false, 1.53, 0.02, 1.0, 2},
    {5, "JPY", "YEN JAPONES", false, 0.0083, 0.015, 100.0, 4},
    {6, "CHF", "FRANCO SUIZO", false, 1.04, 0.01, 1.0, 2},
    {7, "M.N.", "MONEDA NACIONAL", false, 0.0, 0.005, 16.0, 0},
    {8, "USD", "CHEQUE DE VIAJERO DOLARES", true, 0.99, 0.05, 1.0, 2},
    {9, "EUR", "CHEQUE DE VIAJERO EUROS", true, 1.10, 0.02, 1.0, 2},
    {10, "USD", "CHEQUE DE CAJA DOLARES", true, 0.99, 0.03, 1.0, 2},
    {11, "CAD", "CHEQUE DE VIAJERO DOLARES CANADIENSES", true, 0.78, 0.01, 1.0, 2},
};

const char* const kObservaciones[] = {
    "OPERACION INUSUAL: EL CLIENTE FRACCIONA SUS COMPRAS EN EFECTIVO",
    "MONTO SUPERIOR AL PERFIL TRANSACCIONAL DECLARADO POR EL CLIENTE",
    "OPERACION RELEVANTE EN EFECTIVO",
    "NO PRESENTA DOCUMENTACION COMPLETA PARA SU EXPEDIENTE",
    "Operación pagada con cheque de viajero; se solicitó identificación oficial.",
    "CAMBIO FRECUENTE DE DIVISAS SIN JUSTIFICACION APARENTE",
    "EL CLIENTE SE NEGO A PROPORCIONAR EL ORIGEN DE LOS RECURSOS",
};
const char* const kObservacionesPep[] = {
    "CLIENTE IDENTIFICADO COMO PEP (FUNCIONARIO MUNICIPAL)",
    "Cliente señalado como PEP por coincidencia en listas oficiales",
    "FAMILIAR DE UNA PERSONA POLITICAMENTE EXPUESTA (PEP)",
    "posible pep: diputado local con licencia",
};

constexpr int kDias = 1096;  // 2014-01-01 .. 2016-12-31

// Dollar in pesos around the historical trend of 2014-2016.
double DolarBase(int dia) {
  struct TPunto {
    int dia;
    double valor;
  };
  static const TPunto kTrazo[] = {{0, 13.05}, {364, 14.75}, {365, 14.90}, {729, 17.30}, {730, 17.35}, {1095, 20.60}};
  for (std::size_t i = 1; i < std::size(kTrazo); ++i) {
    if (dia <= kTrazo[i].dia) {
      const double t = static_cast<double>(dia - kTrazo[i - 1].dia) / (kTrazo[i].dia - kTrazo[i - 1].dia);
      return kTrazo[i - 1].valor + t * (kTrazo[i].valor - kTrazo[i - 1].valor);
    }
  }
  return kTrazo[std::size(kTrazo) - 1].valor;
}

double Redondea(double v, int decimales) {
  const double f = std::pow(10.0, decimales);
  return std::round(v * f) / f;
}

std::string Clave(const char* prefijo, std::int64_t n, int digitos) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s%0*lld", prefijo, digitos, static_cast<long long>(n));
  return buf;
}

struct TEscritura {
  TEscritorMdb& w;
  std::map<std::string, int> ids;
  std::string& error;
  bool Fila(const char* tabla, std::initializer_list<TValorJet> v) { return w.Fila(ids.at(tabla), v, error); }
};

bool Catalogos(TEscritura& e, const TOpcionesDemo& o) {
  const int otra = o.empresa + 1;
  return e.Fila("tEmpresa", {o.empresa, "CASA DE CAMBIO VELMAR DEMO, S.A. DE C.V.", "CVD150101AB1", "CNBV-CC-000123"}) &&
         e.Fila("tEmpresa", {otra, "CENTRO CAMBIARIO DEMO NORTE, S.A. DE C.V.", "CDN140615QX7", "CNBV-CC-000456"}) &&
         e.Fila("tEmps", {"ADMIN", "DEMO", 0, "ADMINISTRADOR DEL SISTEMA"}) &&
         e.Fila("tEmps", {"CAJERO1", "caja2016", 3, "CAJERO TURNO MATUTINO"}) &&
         e.Fila("tEmps", {"SUPERV", "Señal15", 2, "SUPERVISOR DE SUCURSAL"}) && [&] {
           for (const TDivisaDemo& d : kDivisas) {
             if (!e.Fila("tDivisas", {d.numero, d.simbolo, d.divisa, d.pagare})) return false;
           }
           for (const TSectorDemo& s : kSectores) {
             if (!e.Fila("tSector", {s.clave, s.sector, s.actividad})) return false;
           }
           return true;
         }();
}

// Clients: general public first, then natural persons, legal persons and foreigners.
bool Clientes(TEscritura& e, const TOpcionesDemo& o, TAzar& azar, std::vector<std::string>& claves) {
  const int publicos = std::min(o.clientes, 2);
  for (int i = 0; i < publicos; ++i) {
    claves.push_back(Clave("PG", i + 1, 3));
    if (!e.Fila("tCliente", {claves.back(), "PUBLICO EN GENERAL", Nulo, Nulo, false, false, 1, o.empresa})) {
      return false;
    }
  }
  for (int i = publicos; i < o.clientes; ++i) {
    claves.push_back(Clave("CTE", i + 1, 5));
    const int numEmp = azar.Prob(0.04) ? o.empresa + 1 : o.empresa;
    const double r = azar.Real();
    bool ok = true;
    if (r < 0.08) {  // foreign natural person
      ok = e.Fila("tCliente", {claves.back(), azar.Elige(kNombresExtranjeros), azar.Elige(kApellidosExtranjeros), Nulo,
                               false, true, azar.Elige(kSectoresPersonas), numEmp});
    } else if (r < 0.26) {  // legal person; some of them in the classified activities
      const double s = azar.Real();
      std::string nombre;
      int sector = azar.Elige(kSectoresEmpresas);
      bool extranjero = false;
      const std::string razon = azar.Elige(kRazones);
      if (s < 0.08) {
        sector = azar.Prob(0.5) ? 30 : 31;
        nombre = "CENTRO CAMBIARIO " + razon + ", S.A. DE C.V.";
      } else if (s < 0.14) {
        sector = azar.Prob(0.6) ? 40 : 41;
        nombre = "FINANCIERA " + razon + ", S.A. DE C.V., SOFOM, E.N.R.";
      } else if (s < 0.19) {
        sector = 50;
        nombre = "CASA DE CAMBIO " + razon + ", S.A. DE C.V.";
      } else if (s < 0.23) {
        sector = 60;
        nombre = "BANCO " + razon + ", S.A., INSTITUCION DE BANCA MULTIPLE";
      } else if (s < 0.31) {
        extranjero = true;
        nombre = razon + (azar.Prob(0.5) ? " TRADING INC." : " IMPORTS LLC");
      } else {
        const std::string giro = azar.Elige(kGiros);
        nombre = giro + " " + razon + azar.Elige(kSociedades);
      }
      ok = e.Fila("tCliente", {claves.back(), nombre, Nulo, Nulo, true, extranjero, sector, numEmp});
    } else {  // Mexican natural person
      const TValorJet materno = azar.Prob(0.08) ? Nulo : TValorJet(azar.Elige(kApellidos));
      ok = e.Fila("tCliente", {claves.back(), azar.Elige(kNombres), azar.Elige(kApellidos), materno, false, false,
                               azar.Elige(kSectoresPersonas), numEmp});
    }
    if (!ok) return false;
  }
  return true;
}

const TDivisaDemo& EligeDivisa(TAzar& azar) {
  double r = azar.Real();
  for (const TDivisaDemo& d : kDivisas) {
    if (r < d.peso) return d;
    r -= d.peso;
  }
  return kDivisas[0];
}

double Cantidad(TAzar& azar, const TDivisaDemo& d) {
  const double r = azar.Real();
  double usd;
  if (r < 0.60) {
    usd = static_cast<double>(azar.Entre(10, 100) * 10);
  } else if (r < 0.85) {
    usd = static_cast<double>(azar.Entre(20, 60) * 50);
  } else if (r < 0.95) {
    usd = static_cast<double>(azar.Entre(30, 100) * 100);
  } else if (r < 0.99) {
    usd = static_cast<double>(azar.Entre(100, 500) * 100);
  } else {
    usd = static_cast<double>(azar.Entre(50, 150) * 1000);
  }
  return usd * d.escala;
}

// Operations day by day, in time order, with consecutive folios. Older ones are mostly already
// processed (tProces), recent ones mostly still in tMovtos.
bool Operaciones(TEscritura& e, const TOpcionesDemo& o, TAzar& azar, const std::vector<std::string>& claves,
                 TResumenDemo& resumen) {
  const std::int64_t n = o.operaciones;
  const int publicos = std::min(o.clientes, 2);
  const int identificados = o.clientes - publicos;
  std::int64_t folio = 1000;
  std::vector<int> segundos;
  for (int dia = 0; dia < kDias; ++dia) {
    const std::int64_t hoy = (dia + 1) * n / kDias - dia * n / kDias;
    segundos.clear();
    for (std::int64_t k = 0; k < hoy; ++k) segundos.push_back(static_cast<int>(azar.Entre(9 * 3600, 19 * 3600 - 1)));
    std::sort(segundos.begin(), segundos.end());
    const double base = DolarBase(dia);
    for (int s : segundos) {
      const double fecha = FechaOle(2014, 1, 1) + dia + s / 86400.0;
      const double t = azar.Real();
      const char* tipo = t < 0.56 ? "C" : t < 0.995 ? "V" : (azar.Prob(0.5) ? "T" : "D");
      const TDivisaDemo& d = EligeDivisa(azar);
      double cotizacion = 1.0;
      if (d.factor > 0) {
        const double diferencial = (tipo[0] == 'V' ? 0.25 : -0.25) * d.factor;
        cotizacion = Redondea(base * d.factor + diferencial + (azar.Real() - 0.5) * 0.3 * d.factor, d.decimales);
      }
      const double cantidad = Cantidad(azar, d);
      std::size_t c;
      if (identificados == 0 || azar.Prob(0.22)) {
        c = static_cast<std::size_t>(azar.Entre(0, publicos - 1));
      } else {
        // Frequent clients come up more often.
        const double u = azar.Real();
        const double v = azar.Real();
        c = static_cast<std::size_t>(publicos + static_cast<int>(identificados * u * v));
      }
      const std::string& cliente = claves[c];
      const int numEmp = azar.Prob(0.03) ? o.empresa + 1 : o.empresa;
      const bool cancelado = azar.Prob(0.015);
      const bool procesada = dia < 546 ? azar.Prob(0.9) : azar.Prob(0.1);  // 546: 2015-07-01
      const char* tabla = procesada ? "tProces" : "tMovtos";
      std::int64_t& filas = procesada ? resumen.filasProces : resumen.filasMovtos;
      // Now and then one operation is captured as two rows that only differ in the amount.
      const bool partida = cantidad >= 20 && azar.Prob(0.01);
      const double primera = partida ? std::floor(cantidad * 0.4) : cantidad;
      if (!e.Fila(tabla, {tipo, folio, fecha, d.numero, cotizacion, primera, cliente, numEmp, cancelado})) return false;
      ++filas;
      if (partida) {
        if (!e.Fila(tabla, {tipo, folio, fecha, d.numero, cotizacion, cantidad - primera, cliente, numEmp, cancelado})) {
          return false;
        }
        ++filas;
      }
      ++folio;
    }
  }
  return true;
}

bool Relevantes(TEscritura& e, const TOpcionesDemo& o, TAzar& azar, const std::vector<std::string>& claves,
                TResumenDemo& resumen) {
  const int publicos = std::min(o.clientes, 2);
  const std::int64_t total = std::max<std::int64_t>(15, o.operaciones / 400);
  const std::string anexo =
      "Se anexa el expediente completo del cliente, con domicilio, referencias y comprobantes de ingresos. ";
  struct TReporte {
    double fecha;
    std::string tipo, obs, cliente;
    int numEmp;
  };
  std::vector<TReporte> reportes;
  for (std::int64_t i = 0; i < total; ++i) {
    const double a = azar.Real();
    const int dia = a < 0.75 ? static_cast<int>(azar.Entre(365, 729))
                    : a < 0.875 ? static_cast<int>(azar.Entre(0, 364))
                                : static_cast<int>(azar.Entre(730, kDias - 1));
    const double fecha = FechaOle(2014, 1, 1) + dia + static_cast<double>(azar.Entre(9 * 3600, 19 * 3600)) / 86400.0;
    const double t = azar.Real();
    std::string tipo = t < 0.6 ? "I" : t < 0.9 ? "R" : "P";
    // One report in five is about a politically exposed person.
    std::string obs = i % 5 == 2 ? azar.Elige(kObservacionesPep) : azar.Elige(kObservaciones);
    // A few long reports, kept out of the row as long values.
    if (i % 40 == 7) {
      for (int k = 0; k < (i == 7 ? 80 : 20); ++k) obs += " " + anexo;
    }
    const std::size_t c = claves.size() > static_cast<std::size_t>(publicos)
                              ? static_cast<std::size_t>(azar.Entre(publicos, static_cast<std::int64_t>(claves.size()) - 1))
                              : 0;
    const std::string cliente = claves.empty() ? std::string() : claves[c];
    reportes.push_back({fecha, tipo, obs, cliente, azar.Prob(0.03) ? o.empresa + 1 : o.empresa});
  }
  std::stable_sort(reportes.begin(), reportes.end(), [](const TReporte& x, const TReporte& y) { return x.fecha < y.fecha; });
  for (const TReporte& r : reportes) {
    const TValorJet cliente = r.cliente.empty() ? Nulo : TValorJet(r.cliente);
    if (!e.Fila("tRelevan", {r.tipo, r.fecha, r.obs, r.numEmp, cliente})) return false;
    ++resumen.filasRelevan;
  }
  return true;
}

}  // namespace

bool GeneraDemo(const std::filesystem::path& dir, const TOpcionesDemo& o, TResumenDemo& resumen, std::string& error) {
  if (o.operaciones < 0 || o.clientes < 1 || o.empresa < 1) {
    error = "Las operaciones no pueden ser negativas; los clientes y la empresa deben ser mayores que cero.";
    return false;
  }
  std::error_code ec;
  std::filesystem::create_directories(dir / "DataBase", ec);
  if (ec) {
    error = "No se pudo crear la carpeta " + (dir / "DataBase").string() + ".";
    return false;
  }
  TOpcionesMdb opciones;
  opciones.password = "quibon";
  const std::filesystem::path ruta = dir / "DataBase" / "Velmar.mdb";
  auto w = TEscritorMdb::Crea(ruta, opciones, error);
  if (!w) return false;
  resumen = {};
  TEscritura e{*w, {}, error};
  for (const TTablaJet& t : EsquemaVelmar()) {
    const int id = w->Tabla(t.nombre, t.columnas, error);
    if (id < 0) return false;
    e.ids[t.nombre] = id;
  }
  TAzar azar(o.semilla);
  std::vector<std::string> claves;
  if (!Catalogos(e, o) || !Clientes(e, o, azar, claves) || !Operaciones(e, o, azar, claves, resumen) ||
      !Relevantes(e, o, azar, claves, resumen) || !w->Cierra(error)) {
    w.reset();
    std::filesystem::remove(ruta, ec);  // no half-written database is left behind
    return false;
  }
  resumen.clientes = o.clientes;
  resumen.administrador = "ADMIN";
  resumen.password = "DEMO";

  std::ofstream ini(dir / "Velmar.INI", std::ios::binary | std::ios::trunc);
  ini << "[General]\r\nSucursal=1\r\n\r\n[Control]\r\nEmpresaActiva=" << o.empresa << "\r\n";
  ini.close();
  if (!ini) {
    error = "No se pudo escribir " + (dir / "Velmar.INI").string() + ".";
    return false;
  }
  return true;
}

}  // namespace qavi::tools
