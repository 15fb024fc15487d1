#include "db/jet/sql/AnalizadorJet.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <string_view>

#include "common/Texto.h"
#include "db/jet/funciones/FuncionesJet.h"
#include "db/jet/texto/TextoJet.h"

namespace qavi::jet {
namespace {

using namespace arbol;

struct TErrorAnalisis {
  TErrorAnalisis(const std::string& texto, std::size_t posicion) : mensaje(ConPosicion(texto, posicion)) {}
  explicit TErrorAnalisis(std::string texto) : mensaje(std::move(texto)) {}
  std::string mensaje;
};

// Words that cannot stand as a bare name (a bracketed name may be anything).
bool EsReservada(std::string_view palabra) {
  static constexpr std::array<std::string_view, 43> kReservadas = {
      "ALL", "AND", "AS", "ASC", "BETWEEN", "BY", "DELETE", "DESC", "DISTINCT", "DISTINCTROW", "EXISTS",
      "FALSE", "FROM", "FULL", "GROUP", "HAVING", "IN", "INNER", "INSERT", "INTO", "IS", "JOIN", "LEFT",
      "LIKE", "MOD", "NOT", "NULL", "ON", "OR", "ORDER", "OUTER", "PERCENT", "RIGHT", "SELECT", "SET",
      "TOP", "TRUE", "UNION", "UPDATE", "VALUES", "WHERE", "XOR", "TRANSFORM"};
  const std::string m = MayusculasAscii(std::string(palabra));
  return std::find(kReservadas.begin(), kReservadas.end(), m) != kReservadas.end();
}

class TAnalizador {
 public:
  explicit TAnalizador(const std::vector<TToken>& tokens) : t_(tokens) {}

  TResultadoAnalisis Ejecuta() {
    TResultadoAnalisis r;
    try {
      if (Actual().tipo == TTipoToken::Fin) throw TErrorAnalisis{"La sentencia está vacía"};
      if (EsPalabra("SELECT")) {
        r.sentencia.consulta = Consulta();
      } else if (EsPalabra("DELETE")) {
        r.sentencia.esBorrado = true;
        r.sentencia.borrado = Borrado();
      } else {
        throw TErrorAnalisis("Solo se admiten sentencias SELECT y DELETE; se encontró '" + Actual().texto + "'",
                             Actual().posicion);
      }
      if (EsSimbolo(";")) Avanza();
      if (Actual().tipo != TTipoToken::Fin) ErrorCerca();
      r.tablas = std::move(tablas_);
      r.ok = true;
    } catch (const TErrorAnalisis& e) {
      r.error = e.mensaje;
      r.sentencia = {};
    }
    return r;
  }

 private:
  // ---- tokens ----
  const TToken& Actual() const { return t_[i_]; }
  const TToken& Siguiente(std::size_t n = 1) const { return t_[std::min(i_ + n, t_.size() - 1)]; }
  void Avanza() {
    if (i_ + 1 < t_.size()) ++i_;
  }
  static bool EsPalabraEn(const TToken& t, std::string_view p) {
    return t.tipo == TTipoToken::Nombre && IgualSinCasoAscii(t.texto, p);
  }
  bool EsPalabra(std::string_view p) const { return EsPalabraEn(Actual(), p); }
  bool EsSimbolo(std::string_view s) const { return Actual().tipo == TTipoToken::Simbolo && Actual().texto == s; }
  bool TomaPalabra(std::string_view p) {
    if (!EsPalabra(p)) return false;
    Avanza();
    return true;
  }
  bool TomaSimbolo(std::string_view s) {
    if (!EsSimbolo(s)) return false;
    Avanza();
    return true;
  }
  void ExigePalabra(std::string_view p) {
    if (!TomaPalabra(p)) ErrorCerca();
  }
  void ExigeSimbolo(std::string_view s) {
    if (!TomaSimbolo(s)) ErrorCerca();
  }

  [[noreturn]] void ErrorCerca() const {
    const TToken& t = Actual();
    if (t.tipo == TTipoToken::Fin)
      throw TErrorAnalisis("Error de sintaxis: la sentencia termina antes de tiempo", t.posicion);
    std::string visto;
    switch (t.tipo) {
      case TTipoToken::Texto: visto = "'" + t.texto + "'"; break;
      case TTipoToken::Corchetes: visto = "[" + t.texto + "]"; break;
      default: visto = t.texto;
    }
    if (visto.size() > 40) visto = visto.substr(0, 40) + "...";
    throw TErrorAnalisis("Error de sintaxis cerca de '" + visto + "'", t.posicion);
  }

  // Every recursive rule holds one of these; too deep a statement is refused.
  struct TNivel {
    explicit TNivel(TAnalizador& a) : a_(a) {
      if (++a_.profundidad_ > kMaxAnidamiento) a_.ErrorAnidamiento();
    }
    ~TNivel() { --a_.profundidad_; }
    TAnalizador& a_;
  };
  [[noreturn]] void ErrorAnidamiento() const {
    throw TErrorAnalisis("La sentencia tiene demasiados niveles de anidamiento", Actual().posicion);
  }

  PNodo Nodo(TClaseNodo clase, std::size_t posicion) {
    auto n = std::make_unique<TNodo>();
    n->clase = clase;
    n->posicion = posicion;
    return n;
  }
  // Fixes the height once the children are in place.
  PNodo Cierra(PNodo n) {
    int h = 0;
    for (const auto& hijo : n->hijos) h = std::max(h, hijo->altura);
    if (n->subconsulta) h = std::max(h, n->subconsulta->altura);
    n->altura = h + 1;
    if (n->altura > kMaxAnidamiento) ErrorAnidamiento();
    return n;
  }
  PNodo Binario(TClaseNodo clase, std::string op, PNodo a, PNodo b, std::size_t pos) {
    auto n = Nodo(clase, pos);
    n->texto = std::move(op);
    n->hijos.push_back(std::move(a));
    n->hijos.push_back(std::move(b));
    return Cierra(std::move(n));
  }

  // A name: a bare identifier that is not a keyword, or a bracketed one.
  bool EsNombre(const TToken& t) const {
    return t.tipo == TTipoToken::Corchetes || (t.tipo == TTipoToken::Nombre && !EsReservada(t.texto));
  }
  std::string Nombre() {
    if (!EsNombre(Actual())) ErrorCerca();
    std::string n = Actual().texto;
    Avanza();
    return n;
  }

  // ---- statements ----
  TBorrado Borrado() {
    TBorrado b;
    ExigePalabra("DELETE");
    if (TomaSimbolo("*")) {
    } else if (EsNombre(Actual()) && Siguiente().tipo == TTipoToken::Simbolo && Siguiente().texto == "." &&
               Siguiente(2).tipo == TTipoToken::Simbolo && Siguiente(2).texto == "*") {
      Avanza();
      Avanza();
      Avanza();
    }
    ExigePalabra("FROM");
    b.tabla = Nombre();
    NombraTabla(b.tabla);
    if (TomaPalabra("WHERE")) b.donde = Expresion();
    return b;
  }

  TConsulta Consulta() {
    TNivel nivel(*this);
    TConsulta c;
    c.ramas.push_back(Seleccion());
    while (TomaPalabra("UNION")) {
      c.todas.push_back(TomaPalabra("ALL"));
      if (!c.todas.back() && EsPalabra("DISTINCT")) Avanza();
      c.ramas.push_back(Seleccion());
    }
    // An ORDER BY after the last branch sorts the whole union, unless that branch needs it for its TOP.
    if (c.ramas.size() > 1 && !c.ramas.back().top) c.orden = std::move(c.ramas.back().orden);
    int h = 0;
    for (const auto& r : c.ramas) h = std::max(h, AlturaSeleccion(r));
    for (const auto& o : c.orden) h = std::max(h, o.expresion->altura);
    c.altura = h + 1;
    if (c.altura > kMaxAnidamiento) ErrorAnidamiento();
    return c;
  }

  static int AlturaOrigen(const TOrigen& o) {
    switch (o.clase) {
      case TOrigen::Clase::Tabla: return 1;
      case TOrigen::Clase::Derivada: return o.consulta->altura + 1;
      case TOrigen::Clase::Union:
        return 1 + std::max({AlturaOrigen(*o.izquierda), AlturaOrigen(*o.derecha), o.condicion->altura});
    }
    return 1;
  }
  static int AlturaSeleccion(const TSeleccion& s) {
    int h = 0;
    for (const auto& e : s.lista)
      if (e.expresion) h = std::max(h, e.expresion->altura);
    for (const auto& o : s.origenes) h = std::max(h, AlturaOrigen(*o));
    if (s.donde) h = std::max(h, s.donde->altura);
    for (const auto& g : s.agrupa) h = std::max(h, g->altura);
    if (s.teniendo) h = std::max(h, s.teniendo->altura);
    for (const auto& o : s.orden) h = std::max(h, o.expresion->altura);
    return h + 1;
  }

  TSeleccion Seleccion() {
    TSeleccion s;
    ExigePalabra("SELECT");
    if (EsPalabra("DISTINCTROW"))
      throw TErrorAnalisis("DISTINCTROW no está admitido", Actual().posicion);
    if (TomaPalabra("DISTINCT")) s.distinct = true;
    else TomaPalabra("ALL");
    if (EsPalabra("TOP")) {
      Avanza();
      const TToken& n = Actual();
      if (n.tipo != TTipoToken::Numero || n.texto.find_first_not_of("0123456789") != std::string::npos ||
          n.texto.size() > 18)
        throw TErrorAnalisis("TOP requiere un número entero", n.posicion);
      s.top = std::strtoll(n.texto.c_str(), nullptr, 10);
      Avanza();
      if (EsPalabra("PERCENT"))
        throw TErrorAnalisis("TOP ... PERCENT no está admitido", Actual().posicion);
    }
    do {
      s.lista.push_back(ElementoSeleccion());
    } while (TomaSimbolo(","));
    if (TomaPalabra("FROM")) {
      do {
        s.origenes.push_back(OrigenConUniones());
      } while (TomaSimbolo(","));
    }
    if (TomaPalabra("WHERE")) s.donde = Expresion();
    if (EsPalabra("GROUP")) {
      Avanza();
      ExigePalabra("BY");
      do {
        s.agrupa.push_back(Expresion());
      } while (TomaSimbolo(","));
    }
    if (TomaPalabra("HAVING")) s.teniendo = Expresion();
    if (EsPalabra("ORDER")) {
      Avanza();
      ExigePalabra("BY");
      do {
        TOrden o;
        o.expresion = Expresion();
        if (TomaPalabra("DESC")) o.descendente = true;
        else TomaPalabra("ASC");
        s.orden.push_back(std::move(o));
      } while (TomaSimbolo(","));
    }
    return s;
  }

  TElementoSeleccion ElementoSeleccion() {
    TElementoSeleccion e;
    if (TomaSimbolo("*")) {
      e.clase = TElementoSeleccion::Clase::Estrella;
      return e;
    }
    if (EsNombre(Actual()) && Siguiente().tipo == TTipoToken::Simbolo && Siguiente().texto == "." &&
        Siguiente(2).tipo == TTipoToken::Simbolo && Siguiente(2).texto == "*") {
      e.clase = TElementoSeleccion::Clase::EstrellaDeTabla;
      e.tabla = Actual().texto;
      Avanza();
      Avanza();
      Avanza();
      return e;
    }
    e.expresion = Expresion();
    if (TomaPalabra("AS")) e.alias = Nombre();
    return e;
  }

  // item [INNER|LEFT|RIGHT JOIN item ON condition]...
  POrigen OrigenConUniones() {
    TNivel nivel(*this);
    POrigen izq = OrigenSimple();
    while (true) {
      TOrigen::TipoUnion tipo;
      if (EsPalabra("INNER")) tipo = TOrigen::TipoUnion::Interna;
      else if (EsPalabra("LEFT")) tipo = TOrigen::TipoUnion::Izquierda;
      else if (EsPalabra("RIGHT")) tipo = TOrigen::TipoUnion::Derecha;
      else break;
      Avanza();
      if (tipo != TOrigen::TipoUnion::Interna) TomaPalabra("OUTER");
      ExigePalabra("JOIN");
      auto u = std::make_unique<TOrigen>();
      u->clase = TOrigen::Clase::Union;
      u->tipoUnion = tipo;
      u->izquierda = std::move(izq);
      u->derecha = OrigenSimple();
      ExigePalabra("ON");
      u->condicion = Expresion();
      if (AlturaOrigen(*u) > kMaxAnidamiento) ErrorAnidamiento();
      izq = std::move(u);
    }
    return izq;
  }

  POrigen OrigenSimple() {
    TNivel nivel(*this);
    auto o = std::make_unique<TOrigen>();
    if (TomaSimbolo("(")) {
      if (EsPalabra("SELECT")) {
        o->clase = TOrigen::Clase::Derivada;
        o->consulta = std::make_unique<TConsulta>(Consulta());
        ExigeSimbolo(")");
        Alias(*o);
        return o;
      }
      POrigen dentro = OrigenConUniones();
      ExigeSimbolo(")");
      if (dentro->clase != TOrigen::Clase::Union) ErrorCerca();  // "(t)" alone is not Jet
      dentro->entreParentesis = true;
      return dentro;
    }
    o->clase = TOrigen::Clase::Tabla;
    o->tabla = Nombre();
    NombraTabla(o->tabla);
    Alias(*o);
    return o;
  }

  void Alias(TOrigen& o) {
    if (TomaPalabra("AS")) o.alias = Nombre();
    else if (EsNombre(Actual())) o.alias = Nombre();
  }

  // ---- expressions, lowest precedence first ----
  PNodo Expresion() {
    TNivel nivel(*this);
    return O();
  }

  PNodo O() {
    const std::size_t pos = Actual().posicion;
    PNodo primero = Y();
    if (!EsPalabra("OR")) return primero;
    auto n = Nodo(TClaseNodo::O, pos);
    n->hijos.push_back(std::move(primero));
    while (TomaPalabra("OR")) n->hijos.push_back(Y());
    return Cierra(std::move(n));
  }

  PNodo Y() {
    const std::size_t pos = Actual().posicion;
    PNodo primero = No();
    if (!EsPalabra("AND")) return primero;
    auto n = Nodo(TClaseNodo::Y, pos);
    n->hijos.push_back(std::move(primero));
    while (TomaPalabra("AND")) n->hijos.push_back(No());
    return Cierra(std::move(n));
  }

  PNodo No() {
    TNivel nivel(*this);
    if (EsPalabra("NOT")) {
      auto n = Nodo(TClaseNodo::No, Actual().posicion);
      Avanza();
      n->hijos.push_back(No());
      return Cierra(std::move(n));
    }
    return Comparacion();
  }

  PNodo Comparacion() {
    PNodo izq = Concatenacion();
    while (true) {
      const TToken& t = Actual();
      const std::size_t pos = t.posicion;
      if (t.tipo == TTipoToken::Simbolo &&
          (t.texto == "=" || t.texto == "<>" || t.texto == "<" || t.texto == "<=" || t.texto == ">" || t.texto == ">=")) {
        std::string op = t.texto;
        Avanza();
        izq = Binario(TClaseNodo::Comparacion, op, std::move(izq), Concatenacion(), pos);
        continue;
      }
      if (EsPalabra("IS")) {
        Avanza();
        auto n = Nodo(TClaseNodo::EsNulo, pos);
        n->negado = TomaPalabra("NOT");
        ExigePalabra("NULL");
        n->hijos.push_back(std::move(izq));
        izq = Cierra(std::move(n));
        continue;
      }
      bool negado = false;
      if (EsPalabra("NOT") && (EsPalabraEn(Siguiente(), "LIKE") || EsPalabraEn(Siguiente(), "BETWEEN") ||
                               EsPalabraEn(Siguiente(), "IN"))) {
        negado = true;
        Avanza();
      }
      if (TomaPalabra("LIKE")) {
        izq = Binario(TClaseNodo::Como, "LIKE", std::move(izq), Concatenacion(), pos);
        izq->negado = negado;
        continue;
      }
      if (TomaPalabra("BETWEEN")) {
        auto n = Nodo(TClaseNodo::Entre, pos);
        n->negado = negado;
        n->hijos.push_back(std::move(izq));
        n->hijos.push_back(Concatenacion());
        ExigePalabra("AND");
        n->hijos.push_back(Concatenacion());
        izq = Cierra(std::move(n));
        continue;
      }
      if (TomaPalabra("IN")) {
        ExigeSimbolo("(");
        PNodo n;
        if (EsPalabra("SELECT")) {
          n = Nodo(TClaseNodo::EnSubconsulta, pos);
          n->hijos.push_back(std::move(izq));
          n->subconsulta = std::make_unique<TConsulta>(Consulta());
        } else {
          n = Nodo(TClaseNodo::EnLista, pos);
          n->hijos.push_back(std::move(izq));
          do {
            n->hijos.push_back(Expresion());
          } while (TomaSimbolo(","));
        }
        ExigeSimbolo(")");
        n->negado = negado;
        izq = Cierra(std::move(n));
        continue;
      }
      return izq;
    }
  }

  PNodo Concatenacion() {
    PNodo izq = Aditiva();
    while (EsSimbolo("&")) {
      const std::size_t pos = Actual().posicion;
      Avanza();
      izq = Binario(TClaseNodo::Concatena, "&", std::move(izq), Aditiva(), pos);
    }
    return izq;
  }

  PNodo Aditiva() {
    PNodo izq = Multiplicativa();
    while (EsSimbolo("+") || EsSimbolo("-")) {
      const std::string op = Actual().texto;
      const std::size_t pos = Actual().posicion;
      Avanza();
      izq = Binario(TClaseNodo::Aritmetica, op, std::move(izq), Multiplicativa(), pos);
    }
    return izq;
  }

  PNodo Multiplicativa() {
    PNodo izq = Unaria();
    while (EsSimbolo("*") || EsSimbolo("/")) {
      const std::string op = Actual().texto;
      const std::size_t pos = Actual().posicion;
      Avanza();
      izq = Binario(TClaseNodo::Aritmetica, op, std::move(izq), Unaria(), pos);
    }
    return izq;
  }

  PNodo Unaria() {
    TNivel nivel(*this);
    if (EsSimbolo("-") || EsSimbolo("+")) {
      auto n = Nodo(EsSimbolo("-") ? TClaseNodo::Negativo : TClaseNodo::Positivo, Actual().posicion);
      Avanza();
      n->hijos.push_back(Unaria());
      return Cierra(std::move(n));
    }
    return Primaria();
  }

  PNodo Primaria() {
    const TToken& t = Actual();
    const std::size_t pos = t.posicion;
    switch (t.tipo) {
      case TTipoToken::Numero: {
        auto n = Nodo(TClaseNodo::Numero, pos);
        n->texto = t.texto;
        Avanza();
        return n;
      }
      case TTipoToken::Texto: {
        auto n = Nodo(TClaseNodo::Texto, pos);
        n->texto = t.texto;
        Avanza();
        return n;
      }
      case TTipoToken::Fecha: {
        auto n = Nodo(TClaseNodo::Fecha, pos);
        n->numero = t.fecha;
        n->texto = t.texto;
        Avanza();
        return n;
      }
      case TTipoToken::Simbolo:
        if (t.texto == "(") {
          Avanza();
          if (EsPalabra("SELECT")) {
            auto n = Nodo(TClaseNodo::Subconsulta, pos);
            n->subconsulta = std::make_unique<TConsulta>(Consulta());
            ExigeSimbolo(")");
            return Cierra(std::move(n));
          }
          PNodo dentro = Expresion();
          ExigeSimbolo(")");
          return dentro;
        }
        ErrorCerca();
      case TTipoToken::Corchetes:
        return Columna();
      case TTipoToken::Nombre:
        break;
      case TTipoToken::Fin:
        ErrorCerca();
    }
    if (EsPalabra("NULL")) {
      Avanza();
      return Nodo(TClaseNodo::Nulo, pos);
    }
    if (EsPalabra("TRUE") || EsPalabra("FALSE")) {
      auto n = Nodo(TClaseNodo::Booleano, pos);
      n->numero = EsPalabra("TRUE") ? -1 : 0;
      n->texto = EsPalabra("TRUE") ? "-1" : "0";
      Avanza();
      return n;
    }
    if (EsPalabra("EXISTS")) {
      Avanza();
      ExigeSimbolo("(");
      if (!EsPalabra("SELECT")) ErrorCerca();
      auto n = Nodo(TClaseNodo::Existe, pos);
      n->subconsulta = std::make_unique<TConsulta>(Consulta());
      ExigeSimbolo(")");
      return Cierra(std::move(n));
    }
    if (Siguiente().tipo == TTipoToken::Simbolo && Siguiente().texto == "(" && !EsReservada(t.texto))
      return Funcion();
    return Columna();
  }

  PNodo Columna() {
    auto n = Nodo(TClaseNodo::Columna, Actual().posicion);
    std::string primero = Nombre();
    if (TomaSimbolo(".")) {
      n->calificador = std::move(primero);
      n->texto = Nombre();
    } else {
      n->texto = std::move(primero);
    }
    return n;
  }

  PNodo Funcion() {
    const TToken& t = Actual();
    const std::string nombre = MayusculasAscii(t.texto);
    const TFuncionJet* f = BuscaFuncionJet(nombre);
    if (!f)
      throw TErrorAnalisis("Función desconocida '" + t.texto + "'", t.posicion);
    auto n = Nodo(TClaseNodo::Funcion, t.posicion);
    n->texto = nombre;
    Avanza();
    ExigeSimbolo("(");
    if (nombre == "COUNT" && EsSimbolo("*")) {
      n->hijos.push_back(Nodo(TClaseNodo::TodasColumnas, Actual().posicion));
      Avanza();
    } else if (!EsSimbolo(")")) {
      if (EsPalabra("DISTINCT"))
        throw TErrorAnalisis("DISTINCT dentro de " + t.texto + "(...) no está admitido", Actual().posicion);
      do {
        n->hijos.push_back(Expresion());
      } while (TomaSimbolo(","));
    }
    ExigeSimbolo(")");
    const int num = static_cast<int>(n->hijos.size());
    if (num < f->minimo || num > f->maximo) {
      const std::string esperado = f->minimo == f->maximo
                                       ? std::to_string(f->minimo)
                                       : std::to_string(f->minimo) + " o " + std::to_string(f->maximo);
      throw TErrorAnalisis("La función " + nombre + " espera " + esperado + " argumento" +
                               (f->maximo == 1 ? "" : "s") + " y recibió " + std::to_string(num),
                           n->posicion);
    }
    return Cierra(std::move(n));
  }

  // Each table once, as first written: Jet takes tMovtos and TMOVTOS for one table.
  void NombraTabla(const std::string& tabla) {
    if (clavesTablas_.insert(ClaveNombreJet(tabla)).second) tablas_.insert(tabla);
  }

  const std::vector<TToken>& t_;
  std::size_t i_ = 0;
  int profundidad_ = 0;
  std::set<std::string> tablas_;
  std::set<std::string> clavesTablas_;
};

}  // namespace

TResultadoAnalisis AnalizaSentencia(const std::vector<TToken>& tokens) {
  if (tokens.empty()) {
    TResultadoAnalisis r;
    r.error = "La sentencia está vacía";
    return r;
  }
  return TAnalizador(tokens).Ejecuta();
}

}  // namespace qavi::jet
