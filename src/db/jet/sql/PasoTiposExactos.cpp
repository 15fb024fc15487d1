#include "db/jet/sql/PasoTiposExactos.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "db/jet/funciones/AritmeticaExacta.h"
#include "db/jet/sql/RecorridoArbol.h"
#include "db/jet/texto/TextoJet.h"

namespace qavi::jet {
namespace {

using namespace arbol;
using C = TClaseValor;

constexpr TTipoValor kDesconocido{};
constexpr TTipoValor kEntero{C::Entero};
constexpr TTipoValor kDoble{C::Doble};
constexpr TTipoValor kMoneda{C::Moneda, 4};

bool EsExacto(const TTipoValor& t) { return t.clase == C::Moneda || t.clase == C::Decimal; }
bool EsReal(const TTipoValor& t) { return t.clase == C::Simple || t.clase == C::Doble; }
bool EsNumero(const TTipoValor& t) { return t.clase == C::Entero || EsReal(t) || EsExacto(t); }

// Decimals at which an operand is read as units: a whole number has none, a real beside Currency
// is turned into Currency.
int EscalaOperando(const TTipoValor& t) {
  switch (t.clase) {
    case C::Moneda:
    case C::Simple:
    case C::Doble: return 4;
    case C::Decimal: return t.escala;
    default: return 0;
  }
}

// Jet's type of a number written in the statement: whole numbers are Long, with a point Decimal.
TTipoValor TipoLiteral(const std::string& texto) {
  if (texto.find_first_of("eE") != std::string::npos) return kDesconocido;
  const auto punto = texto.find('.');
  if (punto == std::string::npos)
    return texto.size() <= 10 && std::strtoll(texto.c_str(), nullptr, 10) <= 2147483647 ? kEntero : kDesconocido;
  const int escala = static_cast<int>(texto.size() - punto - 1);
  return escala <= kEscalaMaxima ? TTipoValor{C::Decimal, escala} : kDesconocido;
}

// The type two values share where either may be given (IIF, the branches of a UNION): a null
// takes the other's, a whole number fits Currency and Decimal exactly.
TTipoValor Une(const TTipoValor& a, const TTipoValor& b) {
  if (a.clase == C::Nulo) return b;
  if (b.clase == C::Nulo) return a;
  if (a.clase == b.clase) return {a.clase, std::max(a.escala, b.escala)};
  if (a.clase == C::Entero && EsExacto(b)) return b;
  if (b.clase == C::Entero && EsExacto(a)) return a;
  if (EsExacto(a) && EsExacto(b)) return {C::Decimal, std::max(a.escala, b.escala)};
  if (EsNumero(a) && EsNumero(b) && !EsExacto(a) && !EsExacto(b)) return kDoble;
  return kDesconocido;
}

// What an arithmetic operator gives, and the exact function that computes it (none: as written).
struct TOperacion {
  TTipoValor tipo;
  const char* funcion = nullptr;
};

TOperacion Combina(const std::string& op, const TTipoValor& a, const TTipoValor& b) {
  if (a.clase == C::Nulo || b.clase == C::Nulo) return {{C::Nulo}};
  if (!EsNumero(a) || !EsNumero(b)) return {kDesconocido};
  const bool decimal = a.clase == C::Decimal || b.clase == C::Decimal;
  const bool moneda = a.clase == C::Moneda || b.clase == C::Moneda;
  const bool real = EsReal(a) || EsReal(b);
  const TTipoValor comun = real ? kDoble : kEntero;
  if (op == "+" || op == "-") {
    const char* f = op == "+" ? "jet_mas_exacto" : "jet_menos_exacto";
    if (decimal && real) return {kDesconocido};
    if (decimal) return {{C::Decimal, std::max(EscalaOperando(a), EscalaOperando(b))}, f};
    if (moneda) return {kMoneda, f};
    return {comun};
  }
  if (op == "*") {
    if (decimal) {
      const int escala = EscalaOperando(a) + EscalaOperando(b);
      if (real || escala > kEscalaMaxima) return {kDesconocido};
      return {{C::Decimal, escala}, "jet_por_exacto"};
    }
    if (moneda && (a.clase == C::Doble || b.clase == C::Doble)) return {kDoble};
    if (moneda) return {kMoneda, "jet_por_exacto"};
    return {comun};
  }
  return {decimal ? kDesconocido : kDoble};  // '/'
}

PNodo Numero(int valor, std::size_t posicion) {
  auto n = std::make_unique<TNodo>();
  n->clase = TClaseNodo::Numero;
  n->texto = std::to_string(valor);
  n->posicion = posicion;
  return n;
}

// `n` becomes a call of `funcion` with its operands, then the numbers given.
void Llama(PNodo& n, const char* funcion, std::vector<PNodo> operandos, std::initializer_list<int> numeros) {
  auto f = std::make_unique<TNodo>();
  f->clase = TClaseNodo::Funcion;
  f->texto = funcion;
  f->posicion = n->posicion;
  for (auto& o : operandos) f->hijos.push_back(std::move(o));
  for (const int v : numeros) f->hijos.push_back(Numero(v, n->posicion));
  for (const auto& h : f->hijos) f->altura = std::max(f->altura, h->altura + 1);
  n = std::move(f);
}

struct TColumna {
  std::string clave;  // Jet name key
  TTipoValor tipo;
};

// The columns a query gives; unknown when a * of it reads a table or query whose columns are not
// known (their places would be).
struct TSalida {
  bool conocida = true;
  std::vector<TColumna> columnas;
};

struct TFuente {
  std::string clave;  // the name the statement calls it by
  const TSalida* salida = nullptr;
};
using TAmbito = std::vector<TFuente>;

class TTipos : public TVisitanteArbol {
 public:
  explicit TTipos(const ICatalogoTipos& catalogo) : catalogo_(catalogo) {}

  void Seleccion(TSeleccion& s) override {
    TAmbito ambito;
    for (auto& o : s.origenes) Fuentes(*o, ambito);
    std::vector<TTipoValor> tipos;
    for (auto& e : s.lista) tipos.push_back(e.expresion ? Tipo(e.expresion, ambito) : kDesconocido);
    for (auto& o : s.origenes) Condiciones(*o, ambito);
    for (PNodo* n : {&s.donde, &s.teniendo})
      if (*n) Tipo(*n, ambito);
    for (auto& g : s.agrupa) Tipo(g, ambito);
    for (auto& o : s.orden) Tipo(o.expresion, ambito);
    salidas_[&s] = Salida(s, tipos, ambito);
  }

  void Derivada(TOrigen& o) override {
    TSalida r;
    for (std::size_t i = 0; i < o.consulta->ramas.size(); ++i) {
      const TSalida& rama = salidas_[&o.consulta->ramas[i]];
      if (i == 0) {
        r = rama;
      } else if (!rama.conocida || rama.columnas.size() != r.columnas.size()) {
        r.conocida = false;
      } else {
        for (std::size_t k = 0; k < r.columnas.size(); ++k)
          r.columnas[k].tipo = Une(r.columnas[k].tipo, rama.columnas[k].tipo);
      }
    }
    if (!r.conocida) r.columnas.clear();
    derivadas_[&o] = std::move(r);
  }

 private:
  void Fuentes(const TOrigen& o, TAmbito& ambito) {
    switch (o.clase) {
      case TOrigen::Clase::Tabla:
        ambito.push_back({ClaveNombreJet(o.alias.empty() ? o.tabla : o.alias), &Base(o.tabla)});
        return;
      case TOrigen::Clase::Derivada: ambito.push_back({ClaveNombreJet(o.alias), &derivadas_[&o]}); return;
      case TOrigen::Clase::Union:
        Fuentes(*o.izquierda, ambito);
        Fuentes(*o.derecha, ambito);
        return;
    }
  }

  void Condiciones(TOrigen& o, const TAmbito& ambito) {
    if (o.clase != TOrigen::Clase::Union) return;
    Condiciones(*o.izquierda, ambito);
    Condiciones(*o.derecha, ambito);
    if (o.condicion) Tipo(o.condicion, ambito);
  }

  const TSalida& Base(const std::string& tabla) {
    const std::string clave = ClaveNombreJet(tabla);
    auto it = bases_.find(clave);
    if (it != bases_.end()) return it->second;
    TSalida s;
    if (const auto* columnas = catalogo_.Columnas(tabla))
      for (const auto& c : *columnas) s.columnas.push_back({ClaveNombreJet(c.nombre), c.tipo});
    else
      s.conocida = false;
    return bases_.emplace(clave, std::move(s)).first->second;
  }

  static TTipoValor Busca(const TNodo& n, const TAmbito& ambito) {
    const std::string nombre = ClaveNombreJet(n.texto);
    const std::string calificador = n.calificador.empty() ? std::string() : ClaveNombreJet(n.calificador);
    for (const auto& f : ambito) {
      if (!calificador.empty() && f.clave != calificador) continue;
      for (const auto& c : f.salida->columnas)
        if (c.clave == nombre) return c.tipo;
    }
    return kDesconocido;
  }

  TSalida Salida(const TSeleccion& s, const std::vector<TTipoValor>& tipos, const TAmbito& ambito) {
    TSalida r;
    int sinNombre = 0;
    const auto agrega = [&](const TFuente& f) {
      if (!f.salida->conocida) r.conocida = false;
      r.columnas.insert(r.columnas.end(), f.salida->columnas.begin(), f.salida->columnas.end());
    };
    for (std::size_t i = 0; i < s.lista.size(); ++i) {
      const TElementoSeleccion& e = s.lista[i];
      switch (e.clase) {
        case TElementoSeleccion::Clase::Estrella:
          for (const auto& f : ambito) agrega(f);
          break;
        case TElementoSeleccion::Clase::EstrellaDeTabla: {
          const std::string clave = ClaveNombreJet(e.tabla);
          const auto f = std::find_if(ambito.begin(), ambito.end(), [&](const TFuente& x) { return x.clave == clave; });
          if (f == ambito.end()) r.conocida = false;
          else agrega(*f);
          break;
        }
        case TElementoSeleccion::Clase::Expresion: {
          std::string nombre = e.alias;
          if (nombre.empty())
            nombre = e.expresion->clase == TClaseNodo::Columna ? e.expresion->texto
                                                                : "Expr" + std::to_string(1000 + sinNombre++);
          r.columnas.push_back({ClaveNombreJet(nombre), tipos[i]});
          break;
        }
      }
    }
    if (!r.conocida) r.columnas.clear();
    return r;
  }

  // The type of a value, with what Jet computes exactly inside it rewritten, innermost first.
  TTipoValor Tipo(PNodo& n, const TAmbito& ambito) {
    TNodo& x = *n;
    switch (x.clase) {
      case TClaseNodo::Numero: return TipoLiteral(x.texto);
      case TClaseNodo::Booleano: return kEntero;
      case TClaseNodo::Nulo: return {C::Nulo};
      case TClaseNodo::Columna: return Busca(x, ambito);
      case TClaseNodo::Negativo:
      case TClaseNodo::Positivo: return Tipo(x.hijos[0], ambito);
      case TClaseNodo::Aritmetica: {
        const TTipoValor a = Tipo(x.hijos[0], ambito), b = Tipo(x.hijos[1], ambito);
        const TOperacion op = Combina(x.texto, a, b);
        if (!op.funcion) return op.tipo;
        if (x.texto == "*")
          Llama(n, op.funcion, std::move(x.hijos), {EscalaOperando(a), EscalaOperando(b), op.tipo.escala});
        else
          Llama(n, op.funcion, std::move(x.hijos), {op.tipo.escala});
        return op.tipo;
      }
      case TClaseNodo::Funcion: return Funcion(n, ambito);
      default:
        for (auto& h : x.hijos) Tipo(h, ambito);
        return EsClaseCondicion(x.clase) ? kEntero : kDesconocido;  // Jet's true and false are -1 and 0
    }
  }

  TTipoValor Funcion(PNodo& n, const TAmbito& ambito) {
    TNodo& x = *n;
    std::vector<TTipoValor> tipos;
    for (auto& h : x.hijos) tipos.push_back(Tipo(h, ambito));
    const std::string f = x.texto;  // `x` goes when the call replaces it
    const TTipoValor t = tipos.empty() ? kDesconocido : tipos[0];
    if (f == "COUNT" || f == "LEN" || f == "ISNULL") return kEntero;
    if (f == "MIN" || f == "MAX" || f == "ABS") return t;
    if (f == "IIF") return Une(tipos[1], tipos[2]);
    if (f != "SUM" && f != "AVG" && f != "ROUND") return kDesconocido;
    if (EsExacto(t)) {
      if (f == "ROUND") {
        x.texto = "jet_redondea_exacto";
        x.hijos.insert(x.hijos.begin() + 1, Numero(EscalaOperando(t), x.posicion));
        return t;
      }
      Llama(n, f == "SUM" ? "jet_suma_exacta" : "jet_promedio_exacto", std::move(x.hijos), {EscalaOperando(t)});
      return f == "SUM" ? t : kDoble;  // Jet's mean keeps its fractions, as for whole numbers
    }
    if (t.clase == C::Nulo) return t;
    if (f == "AVG") return EsNumero(t) ? kDoble : kDesconocido;
    if (t.clase == C::Entero) return t;
    return EsReal(t) ? kDoble : kDesconocido;
  }

  const ICatalogoTipos& catalogo_;
  std::map<std::string, TSalida> bases_;
  std::map<const TSeleccion*, TSalida> salidas_;
  std::map<const TOrigen*, TSalida> derivadas_;
};

// Whether any base table the statement reads has a Currency or Decimal column.
class TTablasExactas : public TVisitanteArbol {
 public:
  explicit TTablasExactas(const ICatalogoTipos& catalogo) : catalogo_(catalogo) {}
  void Seleccion(TSeleccion& s) override {
    for (const auto& o : s.origenes) Mira(*o);
  }
  bool hay = false;

 private:
  void Mira(const TOrigen& o) {
    if (o.clase == TOrigen::Clase::Union) {
      Mira(*o.izquierda);
      Mira(*o.derecha);
    } else if (o.clase == TOrigen::Clase::Tabla && !hay) {
      if (const auto* columnas = catalogo_.Columnas(o.tabla))
        for (const auto& c : *columnas) hay = hay || EsExacto(c.tipo);
    }
  }
  const ICatalogoTipos& catalogo_;
};

}  // namespace

void CalculaTiposExactos(TSentencia& sentencia, const ICatalogoTipos& catalogo) {
  if (sentencia.esBorrado) return;
  TTablasExactas tablas(catalogo);
  RecorreArbol(sentencia, tablas);
  if (!tablas.hay) return;
  TTipos tipos(catalogo);
  RecorreArbol(sentencia, tipos);
}

}  // namespace qavi::jet
