#include "db/jet/funciones/FuncionesJet.h"

#include <sqlite3.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/FormatoNumero.h"
#include "db/jet/funciones/AritmeticaExacta.h"
#include "db/jet/texto/TextoJet.h"

namespace qavi::jet {
namespace {

constexpr const char* kTiposNoCoinciden = "Los tipos de datos no coinciden en la expresión";

std::string_view Bytes(sqlite3_value* v) {
  const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
  const int n = sqlite3_value_bytes(v);
  return p ? std::string_view(p, static_cast<std::size_t>(n)) : std::string_view();
}

// A value's text the way Jet converts it (numbers in their plain form, 2.0 as "2").
std::string TextoDe(sqlite3_value* v) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return FormatoNumero(static_cast<std::int64_t>(sqlite3_value_int64(v)));
    case SQLITE_FLOAT: return FormatoNumero(sqlite3_value_double(v));
    case SQLITE_NULL: return {};
    default: return std::string(Bytes(v));
  }
}

struct TNumero {
  bool entero = true;
  std::int64_t i = 0;
  double d = 0.0;
  double Real() const { return entero ? static_cast<double>(i) : d; }
};

// Numeric text ("  12", "-3.5", "1e3"); anything else is not a number for Jet's arithmetic.
bool NumeroDeTexto(std::string_view s, TNumero& n) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty() || s.size() > 64) return false;
  std::size_t k = 0;
  if (s[k] == '+' || s[k] == '-') ++k;
  bool digitos = false, entero = true;
  while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) { ++k; digitos = true; }
  if (k < s.size() && s[k] == '.') {
    entero = false;
    ++k;
    while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) { ++k; digitos = true; }
  }
  if (!digitos) return false;
  if (k < s.size() && (s[k] == 'e' || s[k] == 'E')) {
    entero = false;
    ++k;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
    if (k >= s.size() || !std::isdigit(static_cast<unsigned char>(s[k]))) return false;
    while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) ++k;
  }
  if (k != s.size()) return false;
  const std::string copia(s);
  if (entero) {
    errno = 0;
    const long long v = std::strtoll(copia.c_str(), nullptr, 10);
    if (errno != ERANGE) {
      n.entero = true;
      n.i = v;
      return true;
    }
  }
  n.entero = false;
  n.d = std::strtod(copia.c_str(), nullptr);
  return std::isfinite(n.d);
}

// False for null; `error` tells a text that is not a number.
bool NumeroDe(sqlite3_value* v, TNumero& n, bool& error) {
  error = false;
  switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return false;
    case SQLITE_INTEGER: n.entero = true; n.i = sqlite3_value_int64(v); return true;
    case SQLITE_FLOAT: n.entero = false; n.d = sqlite3_value_double(v); return true;
    default:
      if (NumeroDeTexto(Bytes(v), n)) return true;
      error = true;
      return false;
  }
}

void DevuelveNumero(sqlite3_context* ctx, const TNumero& n) {
  if (n.entero) sqlite3_result_int64(ctx, n.i);
  else sqlite3_result_double(ctx, n.d);
}

TNumero Suma(const TNumero& a, const TNumero& b) {
  TNumero r;
  if (a.entero && b.entero && !__builtin_add_overflow(a.i, b.i, &r.i)) return r;
  r.entero = false;
  r.d = a.Real() + b.Real();
  return r;
}

// Jet's +, folded left to right over every argument: text + text joins, numbers add,
// a numeric text beside a number adds, a null gives null.
void JetSuma(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  bool esTexto = false;
  std::string texto;
  TNumero numero;
  for (int k = 0; k < argc; ++k) {
    sqlite3_value* v = argv[k];
    const int tipo = sqlite3_value_type(v);
    if (tipo == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
    const bool vTexto = tipo == SQLITE_TEXT || tipo == SQLITE_BLOB;
    if (k == 0) {
      esTexto = vTexto;
      if (esTexto) texto = std::string(Bytes(v));
      else { bool e; NumeroDe(v, numero, e); }
      continue;
    }
    if (esTexto && vTexto) { texto += Bytes(v); continue; }
    TNumero otro;
    bool error = false;
    if (esTexto) {
      if (!NumeroDeTexto(texto, numero)) { sqlite3_result_error(ctx, kTiposNoCoinciden, -1); return; }
      esTexto = false;
    }
    if (!NumeroDe(v, otro, error)) { sqlite3_result_error(ctx, kTiposNoCoinciden, -1); return; }
    numero = Suma(numero, otro);
  }
  if (esTexto) sqlite3_result_text(ctx, texto.data(), static_cast<int>(texto.size()), SQLITE_TRANSIENT);
  else DevuelveNumero(ctx, numero);
}

// Jet's &: null counts as empty text, unless every operand is null.
void JetConcat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  std::string r;
  bool todoNulo = true;
  for (int k = 0; k < argc; ++k) {
    if (sqlite3_value_type(argv[k]) == SQLITE_NULL) continue;
    todoNulo = false;
    r += TextoDe(argv[k]);
  }
  if (todoNulo) sqlite3_result_null(ctx);
  else sqlite3_result_text(ctx, r.data(), static_cast<int>(r.size()), SQLITE_TRANSIENT);
}

// Jet's / is real division even between integers; dividing by zero is an error.
void JetDiv(sqlite3_context* ctx, int, sqlite3_value** argv) {
  TNumero a, b;
  bool ea = false, eb = false;
  const bool ha = NumeroDe(argv[0], a, ea);
  const bool hb = NumeroDe(argv[1], b, eb);
  if (ea || eb) { sqlite3_result_error(ctx, kTiposNoCoinciden, -1); return; }
  if (!ha || !hb) { sqlite3_result_null(ctx); return; }
  if (b.Real() == 0.0) { sqlite3_result_error(ctx, "División entre cero", -1); return; }
  sqlite3_result_double(ctx, a.Real() / b.Real());
}

// A numeric argument; otherwise the result is set (null for a null, an error for a text) and false.
bool ArgumentoNumerico(sqlite3_context* ctx, sqlite3_value* v, TNumero& n) {
  bool error = false;
  if (NumeroDe(v, n, error)) return true;
  if (error)
    sqlite3_result_error(ctx, kTiposNoCoinciden, -1);
  else
    sqlite3_result_null(ctx);
  return false;
}

// ROUND's number of decimals; false with the result set when it is null, text or out of range.
bool DecimalesDeRound(sqlite3_context* ctx, sqlite3_value* v, int& decimales) {
  TNumero d;
  if (!ArgumentoNumerico(ctx, v, d)) return false;
  const double dd = d.Real();
  if (dd < 0 || dd > 1000) {
    sqlite3_result_error(ctx, "Argumento no válido en ROUND", -1);
    return false;
  }
  decimales = static_cast<int>(RedondeaJet(dd));
  return true;
}

void JetRound(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  TNumero x;
  if (!ArgumentoNumerico(ctx, argv[0], x)) return;
  int decimales = 0;
  if (argc > 1 && !DecimalesDeRound(ctx, argv[1], decimales)) return;
  if (x.entero) { sqlite3_result_int64(ctx, x.i); return; }
  sqlite3_result_double(ctx, RedondeaJet(x.d, decimales));
}

void JetStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
  TNumero x;
  if (!ArgumentoNumerico(ctx, argv[0], x)) return;
  const std::string r = x.entero ? StrJet(x.i) : StrJet(x.d);
  sqlite3_result_text(ctx, r.data(), static_cast<int>(r.size()), SQLITE_TRANSIENT);
}

// ---- Currency and Decimal, exact (AritmeticaExacta.h) ----
// The engine writes these where Jet's result is Currency or Decimal; the scale arguments are the
// decimals of each operand and of the result, as the rewrite pass knows them. A value the units
// cannot hold exactly is computed in reals, as without them.

// An operand as units of `escala` decimals. False for a text that is no number (the error set);
// a null leaves `nulo`.
struct TOperandoExacto {
  bool nulo = false, exacto = false;
  std::int64_t unidades = 0;
  double real = 0.0;
};
bool LeeExacto(sqlite3_context* ctx, sqlite3_value* v, int escala, TOperandoExacto& o) {
  TNumero n;
  bool error = false;
  if (!NumeroDe(v, n, error)) {
    if (error) sqlite3_result_error(ctx, kTiposNoCoinciden, -1);
    o.nulo = true;
    return !error;
  }
  o.real = n.Real();
  if (n.entero) {
    o.unidades = n.i;
    o.exacto = CambiaEscala(o.unidades, 0, escala);
  } else if (const auto u = Unidades(n.d, escala)) {
    o.unidades = *u;
    o.exacto = true;
  }
  return true;
}

int Escala(sqlite3_value* v) { return sqlite3_value_int(v); }

// jet_mas_exacto(a, b, escala) and jet_menos_exacto: both read at the result's decimals (a real
// beside Currency is first turned into Currency, as Jet does).
template <int kSigno>
void JetMasExacto(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const int e = Escala(argv[2]);
  TOperandoExacto a, b;
  if (!LeeExacto(ctx, argv[0], e, a) || !LeeExacto(ctx, argv[1], e, b)) return;
  if (a.nulo || b.nulo) return sqlite3_result_null(ctx);
  std::int64_t r;
  if (a.exacto && b.exacto && !__builtin_mul_overflow(b.unidades, std::int64_t{kSigno}, &r) &&
      !__builtin_add_overflow(a.unidades, r, &r))
    return sqlite3_result_double(ctx, RealDeUnidades(r, e));
  sqlite3_result_double(ctx, a.real + kSigno * b.real);
}

// jet_por_exacto(a, b, escalaA, escalaB, escala): the exact product, brought to the result's
// decimals with halves to even (Currency × Currency keeps four).
void JetPorExacto(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const int ea = Escala(argv[2]), eb = Escala(argv[3]), e = Escala(argv[4]);
  TOperandoExacto a, b;
  if (!LeeExacto(ctx, argv[0], ea, a) || !LeeExacto(ctx, argv[1], eb, b)) return;
  if (a.nulo || b.nulo) return sqlite3_result_null(ctx);
  std::int64_t r;
  if (a.exacto && b.exacto && !__builtin_mul_overflow(a.unidades, b.unidades, &r) && CambiaEscala(r, ea + eb, e))
    return sqlite3_result_double(ctx, RealDeUnidades(r, e));
  sqlite3_result_double(ctx, a.real * b.real);
}

// jet_redondea_exacto(x, escala[, decimales]): Jet's Round on the exact value, halves to even.
void JetRedondeaExacto(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  const int e = Escala(argv[1]);
  TOperandoExacto x;
  if (!LeeExacto(ctx, argv[0], e, x)) return;
  if (x.nulo) return sqlite3_result_null(ctx);
  int decimales = 0;
  if (argc > 2 && !DecimalesDeRound(ctx, argv[2], decimales)) return;
  if (!x.exacto) return sqlite3_result_double(ctx, RedondeaJet(x.real, decimales));
  if (decimales >= e) return sqlite3_result_double(ctx, RealDeUnidades(x.unidades, e));
  CambiaEscala(x.unidades, e, decimales);
  sqlite3_result_double(ctx, RealDeUnidades(x.unidades, decimales));
}

// jet_suma_exacta(x, escala) and jet_promedio_exacto(x, escala): the units added in whole
// numbers; the reals beside them serve if one value cannot be held exactly.
struct TSumaExacta {  // SQLite hands it out zeroed
  std::int64_t unidades;
  double real;
  std::int64_t cuenta;
  int escala;
  bool inexacta;
};

void PasoSumaExacta(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const int e = Escala(argv[1]);
  TOperandoExacto x;
  if (!LeeExacto(ctx, argv[0], e, x) || x.nulo) return;
  auto* s = static_cast<TSumaExacta*>(sqlite3_aggregate_context(ctx, sizeof(TSumaExacta)));
  if (!s) return sqlite3_result_error_nomem(ctx);
  s->escala = e;
  s->real += x.real;
  ++s->cuenta;
  if (!s->inexacta) s->inexacta = !x.exacto || __builtin_add_overflow(s->unidades, x.unidades, &s->unidades);
}

// Null when no value was added, as SUM and AVG.
template <bool kPromedio>
void FinSumaExacta(sqlite3_context* ctx) {
  const auto* s = static_cast<TSumaExacta*>(sqlite3_aggregate_context(ctx, 0));
  if (!s || s->cuenta == 0) return sqlite3_result_null(ctx);
  if (s->inexacta) return sqlite3_result_double(ctx, kPromedio ? s->real / static_cast<double>(s->cuenta) : s->real);
  sqlite3_result_double(ctx, kPromedio ? CocienteDeUnidades(s->unidades, s->escala, s->cuenta)
                                       : RealDeUnidades(s->unidades, s->escala));
}

template <std::string (*Conversion)(std::string_view)>
void JetCaso(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
  const std::string r = Conversion(TextoDe(argv[0]));
  sqlite3_result_text(ctx, r.data(), static_cast<int>(r.size()), SQLITE_TRANSIENT);
}

// SQLite calls like(pattern, text) for "text LIKE pattern".
void JetLike(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  sqlite3_result_int(ctx, CoincideLikeJet(TextoDe(argv[1]), TextoDe(argv[0])) ? 1 : 0);
}

int ColacionJet(void*, int n1, const void* a, int n2, const void* b) {
  return ComparaTextoJet(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(n1)),
                         std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(n2)));
}

// Jet's functions. Their arity and types are here once, for the parser, the translator and SQLite.
constexpr TFuncionJet kFunciones[] = {
    {"IIF", 3, 3, TResultadoFuncionJet::ComoRamas, false, "CASE WHEN $?0 THEN $1 ELSE $2 END"},
    {"ISNULL", 1, 1, TResultadoFuncionJet::Numero, true, "$I0 IS NULL"},
    {"UCASE", 1, 1, TResultadoFuncionJet::Texto, false, "jet_ucase($0)", "jet_ucase", JetCaso<MayusculasJet>},
    {"LCASE", 1, 1, TResultadoFuncionJet::Texto, false, "jet_lcase($0)", "jet_lcase", JetCaso<MinusculasJet>},
    {"STR", 1, 1, TResultadoFuncionJet::Texto, false, "jet_str($0)", "jet_str", JetStr},
    {"ROUND", 1, 2, TResultadoFuncionJet::Numero, false, "jet_round($*)", "jet_round", JetRound},
    {"COUNT", 1, 1, TResultadoFuncionJet::Numero, false, "COUNT($0)"},
    {"SUM", 1, 1, TResultadoFuncionJet::Numero, false, "SUM($0)"},
    {"AVG", 1, 1, TResultadoFuncionJet::Numero, false, "AVG($0)"},
    {"MIN", 1, 1, TResultadoFuncionJet::ComoPrimero, false, "MIN($C0)"},
    {"MAX", 1, 1, TResultadoFuncionJet::ComoPrimero, false, "MAX($C0)"},
    {"LEN", 1, 1, TResultadoFuncionJet::Numero, false, "length($0)"},
    {"TRIM", 1, 1, TResultadoFuncionJet::Texto, false, "trim($0, ' ')"},
    {"LTRIM", 1, 1, TResultadoFuncionJet::Texto, false, "ltrim($0, ' ')"},
    {"RTRIM", 1, 1, TResultadoFuncionJet::Texto, false, "rtrim($0, ' ')"},
    {"ABS", 1, 1, TResultadoFuncionJet::Numero, false, "ABS($0)"},
    // The engine's own (PasoTiposExactos.h): Currency and Decimal as Jet computes them.
    {"jet_suma_exacta", 2, 2, TResultadoFuncionJet::Numero, false, "jet_suma_exacta($*)", "jet_suma_exacta", nullptr,
     PasoSumaExacta, FinSumaExacta<false>},
    {"jet_promedio_exacto", 2, 2, TResultadoFuncionJet::Numero, false, "jet_promedio_exacto($*)",
     "jet_promedio_exacto", nullptr, PasoSumaExacta, FinSumaExacta<true>},
    {"jet_redondea_exacto", 2, 3, TResultadoFuncionJet::Numero, false, "jet_redondea_exacto($*)",
     "jet_redondea_exacto", JetRedondeaExacto},
    {"jet_mas_exacto", 3, 3, TResultadoFuncionJet::Numero, false, "jet_mas_exacto($*)", "jet_mas_exacto",
     JetMasExacto<1>},
    {"jet_menos_exacto", 3, 3, TResultadoFuncionJet::Numero, false, "jet_menos_exacto($*)", "jet_menos_exacto",
     JetMasExacto<-1>},
    {"jet_por_exacto", 5, 5, TResultadoFuncionJet::Numero, false, "jet_por_exacto($*)", "jet_por_exacto",
     JetPorExacto},
};

// Operators the translator writes as calls, and LIKE (SQLite calls like(pattern, text)).
struct TOperador {
  const char* nombre;
  int argumentos;
  TImplementacionSqlite implementacion;
};
constexpr TOperador kOperadores[] = {
    {"jet_suma", -1, JetSuma},
    {"jet_concat", -1, JetConcat},
    {"jet_div", 2, JetDiv},
    {"like", 2, JetLike},
};

}  // namespace

std::span<const TFuncionJet> FuncionesJet() { return kFunciones; }

const TFuncionJet* BuscaFuncionJet(std::string_view nombre) {
  for (const auto& f : kFunciones)
    if (f.nombre == nombre) return &f;
  return nullptr;
}

bool RegistraFunciones(sqlite3* db) {
  if (!db) return false;
  // A misspelt name in double quotes must be an error, not a text.
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);

  constexpr int kBanderas = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
  const auto registra = [&](const char* nombre, int argumentos, TImplementacionSqlite f,
                            TImplementacionSqlite paso = nullptr, TFinAgregadoSqlite fin = nullptr) {
    return sqlite3_create_function_v2(db, nombre, argumentos, kBanderas, nullptr, f, paso, fin, nullptr) == SQLITE_OK;
  };
  bool ok = sqlite3_create_collation_v2(db, kColacionJet, SQLITE_UTF8, nullptr, ColacionJet, nullptr) == SQLITE_OK;
  for (const auto& f : kFunciones) {
    if (!f.implementacion && !f.paso) continue;
    const std::string nombre(f.registro);
    for (int n = f.minimo; n <= f.maximo; ++n) ok = ok && registra(nombre.c_str(), n, f.implementacion, f.paso, f.fin);
  }
  for (const auto& o : kOperadores) ok = ok && registra(o.nombre, o.argumentos, o.implementacion);
  return ok;
}

}  // namespace qavi::jet
