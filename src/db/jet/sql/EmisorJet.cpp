#include "db/jet/sql/EmisorJet.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "common/CitaSQL.h"
#include "common/Texto.h"
#include "db/jet/funciones/FuncionesJet.h"

namespace qavi::jet {
namespace {

using namespace arbol;

// SQLite operator precedence, lowest first; an operand is put in parentheses only when
// its own level is below what its place needs. SQLite's parser stack is shallow
// (about 30 nested calls), so needless nesting is avoided.
enum TNivel : int {
  kO = 0,
  kY = 1,
  kNo = 2,
  kIgual = 3,    // = <> IS IN LIKE BETWEEN
  kMenor = 4,    // < <= > >=
  kSuma = 6,     // + -
  kProducto = 7, // *
  kConcat = 8,   // ||
  kUnario = 9,   // unary minus, x COLLATE y
  kAtomo = 10    // literal, name, call, CASE, (...)
};

struct TSql {
  std::string texto;
  int nivel = kAtomo;
};

std::string Parentiza(const TSql& s, int minimo) { return s.nivel >= minimo ? s.texto : "(" + s.texto + ")"; }

const std::string kColacion = std::string(" COLLATE ") + kColacionJet;

bool EsCondicion(const TNodo& n) {
  if (EsClaseCondicion(n.clase)) return true;
  if (n.clase != TClaseNodo::Funcion) return false;
  const TFuncionJet* f = BuscaFuncionJet(n.texto);
  return f && f->condicion;
}

TTipoDato Tipo(const TNodo& n) {
  if (EsCondicion(n)) return TTipoDato::Numero;
  switch (n.clase) {
    case TClaseNodo::Numero:
    case TClaseNodo::Fecha:
    case TClaseNodo::Booleano:
    case TClaseNodo::Negativo:
      return TTipoDato::Numero;
    case TClaseNodo::Texto:
    case TClaseNodo::Concatena:
      return TTipoDato::Texto;
    case TClaseNodo::Positivo:
      return Tipo(*n.hijos[0]);
    case TClaseNodo::Aritmetica: {
      if (n.texto != "+") return TTipoDato::Numero;
      const TTipoDato a = Tipo(*n.hijos[0]), b = Tipo(*n.hijos[1]);
      return a == b ? a : TTipoDato::Desconocido;
    }
    case TClaseNodo::Funcion: {
      const TFuncionJet* f = BuscaFuncionJet(n.texto);
      switch (f ? f->resultado : TResultadoFuncionJet::Numero) {
        case TResultadoFuncionJet::Numero: return TTipoDato::Numero;
        case TResultadoFuncionJet::Texto: return TTipoDato::Texto;
        case TResultadoFuncionJet::ComoPrimero: return Tipo(*n.hijos[0]);
        case TResultadoFuncionJet::ComoRamas: {
          const TTipoDato a = Tipo(*n.hijos[1]), b = Tipo(*n.hijos[2]);
          return a == b ? a : TTipoDato::Desconocido;
        }
      }
      return TTipoDato::Numero;
    }
    default:
      return TTipoDato::Desconocido;
  }
}

// Loaded text columns are declared with the Jet collation and a derived table's column keeps the
// collation of its expression, so a column reference already compares without regard to case.
// Only a computed value that may be text has lost it and needs an explicit COLLATE; numbers never
// get one, which keeps SQLite's fast integer sorting and plain indexes.
bool PierdeColacion(const TNodo& n) { return n.clase != TClaseNodo::Columna && Tipo(n) != TTipoDato::Numero; }
bool PuedeSerTexto(const TNodo& n) { return Tipo(n) != TTipoDato::Numero; }

// Writes text only: the tree it is given is the statement to run, rewritten beforehand if need be.
class TEmisor {
 public:
  std::string Sentencia(const TSentencia& s) {
    if (s.esBorrado) {
      std::string r = "DELETE FROM " + CitaNombreSQL(s.borrado.tabla);
      if (s.borrado.donde) r += " WHERE " + Condicion(*s.borrado.donde).texto;
      return r;
    }
    return Consulta(s.consulta);
  }

  std::string Consulta(const TConsulta& c) {
    if (c.ramas.size() == 1) return Seleccion(c.ramas[0]);
    std::string r;
    for (std::size_t i = 0; i < c.ramas.size(); ++i) {
      if (i > 0) r += c.todas[i - 1] ? " UNION ALL " : " UNION ";
      const TSeleccion& rama = c.ramas[i];
      // SQLite refuses ORDER BY / LIMIT inside a branch: the branch becomes a derived table.
      if (rama.top || !rama.orden.empty()) r += "SELECT * FROM (" + Seleccion(rama) + ")";
      else r += Seleccion(rama);
    }
    if (!c.orden.empty()) r = "SELECT * FROM (" + r + ")" + Orden(c.orden);
    return r;
  }

  // SELECT of the grouping keys of `s` over its sources, as GROUP BY writes them.
  std::string SondeoClaves(const TSeleccion& s) {
    std::string r = "SELECT ";
    for (std::size_t i = 0; i < s.agrupa.size(); ++i) r += (i > 0 ? ", " : "") + TerminoSinCaso(*s.agrupa[i]);
    return r + " FROM " + Origenes(s);
  }

 private:
  std::string Orden(const std::vector<TOrden>& orden) {
    std::string r = " ORDER BY ";
    for (std::size_t i = 0; i < orden.size(); ++i) {
      if (i > 0) r += ", ";
      r += TerminoSinCaso(*orden[i].expresion);
      if (orden[i].descendente) r += " DESC";
    }
    return r;
  }

  // GROUP BY / ORDER BY term: text groups and sorts without regard to case.
  std::string TerminoSinCaso(const TNodo& n) {
    const TSql v = Valor(n);
    return PierdeColacion(n) ? Parentiza(v, kAtomo) + kColacion : v.texto;
  }

  std::string Origenes(const TSeleccion& s) {
    std::string r;
    for (std::size_t i = 0; i < s.origenes.size(); ++i) r += (i > 0 ? ", " : "") + Origen(*s.origenes[i]);
    return r;
  }

  std::string Seleccion(const TSeleccion& s) {
    std::string r = "SELECT ";
    if (s.distinct) r += "DISTINCT ";
    int sinNombre = 0;
    for (std::size_t i = 0; i < s.lista.size(); ++i) {
      if (i > 0) r += ", ";
      const TElementoSeleccion& e = s.lista[i];
      switch (e.clase) {
        case TElementoSeleccion::Clase::Estrella: r += "*"; break;
        case TElementoSeleccion::Clase::EstrellaDeTabla: r += CitaNombreSQL(e.tabla) + ".*"; break;
        case TElementoSeleccion::Clase::Expresion: r += ElementoExpresion(e, sinNombre); break;
      }
    }
    if (!s.origenes.empty()) r += " FROM " + Origenes(s);
    if (s.donde) r += " WHERE " + Condicion(*s.donde).texto;
    if (!s.agrupa.empty()) {
      r += " GROUP BY ";
      for (std::size_t i = 0; i < s.agrupa.size(); ++i) r += (i > 0 ? ", " : "") + TerminoSinCaso(*s.agrupa[i]);
    }
    if (s.teniendo) r += " HAVING " + Condicion(*s.teniendo).texto;
    if (!s.orden.empty()) r += Orden(s.orden);
    if (s.top) r += " LIMIT " + std::to_string(*s.top);
    return r;
  }

  // A computed value that may be text carries the collation, so that a derived table's
  // column compares, groups and sorts without regard to case wherever it is used later.
  // (DISTINCT then also ignores case.)
  std::string ElementoExpresion(const TElementoSeleccion& e, int& sinNombre) {
    const TNodo& n = *e.expresion;
    const TSql v = Valor(n);
    std::string r = PierdeColacion(n) ? Parentiza(v, kAtomo) + kColacion : v.texto;
    std::string nombre = e.alias;
    if (nombre.empty() && n.clase != TClaseNodo::Columna) nombre = "Expr" + std::to_string(1000 + sinNombre++);  // Jet's own naming
    if (!nombre.empty()) r += " AS " + CitaNombreSQL(nombre);
    return r;
  }

  std::string Origen(const TOrigen& o) {
    switch (o.clase) {
      case TOrigen::Clase::Tabla:
        return CitaNombreSQL(o.tabla) + (o.alias.empty() ? "" : " AS " + CitaNombreSQL(o.alias));
      case TOrigen::Clase::Derivada: {
        return "(" + Consulta(*o.consulta) + ")" + (o.alias.empty() ? "" : " AS " + CitaNombreSQL(o.alias));
      }
      case TOrigen::Clase::Union: {
        const char* union_ = o.tipoUnion == TOrigen::TipoUnion::Interna     ? " INNER JOIN "
                             : o.tipoUnion == TOrigen::TipoUnion::Izquierda ? " LEFT JOIN "
                                                                            : " RIGHT JOIN ";
        std::string r = Origen(*o.izquierda) + union_ + Origen(*o.derecha) + " ON " + Condicion(*o.condicion).texto;
        return o.entreParentesis ? "(" + r + ")" : r;
      }
    }
    return {};
  }

  // ---- values ----
  TSql Valor(const TNodo& n) {
    if (EsCondicion(n)) {
      // Jet's true is -1: a condition used as a value becomes -1 / 0 (or null).
      return {"-" + Parentiza(Condicion(n), kAtomo), kUnario};
    }
    switch (n.clase) {
      case TClaseNodo::Numero: return {n.texto, kAtomo};
      case TClaseNodo::Texto: return {CitaTextoSQL(n.texto), kAtomo};
      case TClaseNodo::Nulo: return {"NULL", kAtomo};
      case TClaseNodo::Booleano: return {n.numero != 0 ? "-1" : "0", n.numero != 0 ? kUnario : kAtomo};
      case TClaseNodo::Fecha: return Fecha(n.numero);
      case TClaseNodo::Columna:
        return {(n.calificador.empty() ? "" : CitaNombreSQL(n.calificador) + ".") + CitaNombreSQL(n.texto), kAtomo};
      case TClaseNodo::TodasColumnas: return {"*", kAtomo};
      case TClaseNodo::Negativo: {
        const std::string h = Parentiza(Valor(*n.hijos[0]), kUnario);
        return {"-" + std::string(h[0] == '-' ? " " : "") + h, kUnario};  // never "--", a comment
      }
      case TClaseNodo::Positivo: return Valor(*n.hijos[0]);
      case TClaseNodo::Aritmetica: return Aritmetica(n);
      case TClaseNodo::Concatena: {
        std::vector<const TNodo*> ops;
        EspinaIzquierda(n, TClaseNodo::Concatena, "&", ops);
        return {Llamada("jet_concat", ops), kAtomo};
      }
      case TClaseNodo::Funcion: return Funcion(n);
      case TClaseNodo::Subconsulta: return {"(" + Consulta(*n.subconsulta) + ")", kAtomo};
      default: return {"NULL", kAtomo};  // conditions are handled above
    }
  }

  // A real literal with a point whatever the regional settings (the window's toolkit sets them).
  static TSql Fecha(double v) {
    char buf[40];
    auto [fin, ec] = v == std::floor(v) ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1)
                                        : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
    return {std::string(buf, ec == std::errc() ? fin : buf), v < 0 ? kUnario : kAtomo};
  }

  // a + b + c is read left to right; its operands come out in that order.
  static void EspinaIzquierda(const TNodo& n, TClaseNodo clase, std::string_view op, std::vector<const TNodo*>& ops) {
    const TNodo* actual = &n;
    std::vector<const TNodo*> derechos;
    while (actual->clase == clase && actual->texto == op) {
      derechos.push_back(actual->hijos[1].get());
      actual = actual->hijos[0].get();
    }
    ops.push_back(actual);
    for (auto it = derechos.rbegin(); it != derechos.rend(); ++it) ops.push_back(*it);
  }

  std::string Llamada(std::string_view funcion, const std::vector<const TNodo*>& args) {
    std::string r(funcion);
    r += "(";
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (i > 0) r += ", ";
      r += Valor(*args[i]).texto;
    }
    return r + ")";
  }

  TSql Aritmetica(const TNodo& n) {
    if (n.texto == "+") {
      // Jet's +: two texts join, numbers add, a numeric text adds, a null gives null.
      std::vector<const TNodo*> ops;
      EspinaIzquierda(n, TClaseNodo::Aritmetica, "+", ops);
      bool numeros = true, textos = true;
      for (const TNodo* o : ops) {
        const TTipoDato t = Tipo(*o);
        numeros = numeros && t == TTipoDato::Numero;
        textos = textos && t == TTipoDato::Texto;
      }
      if (!numeros && !textos) return {Llamada("jet_suma", ops), kAtomo};
      const int nivel = numeros ? kSuma : kConcat;
      std::string r;
      for (std::size_t i = 0; i < ops.size(); ++i) {
        if (i > 0) r += numeros ? " + " : " || ";
        r += Parentiza(Valor(*ops[i]), i == 0 ? nivel : nivel + 1);
      }
      return {r, nivel};
    }
    if (n.texto == "/") {  // always real division; division by zero is an error as in Jet
      return {"jet_div(" + Valor(*n.hijos[0]).texto + ", " + Valor(*n.hijos[1]).texto + ")", kAtomo};
    }
    const int nivel = n.texto == "*" ? kProducto : kSuma;
    return {Parentiza(Valor(*n.hijos[0]), nivel) + " " + n.texto + " " + Parentiza(Valor(*n.hijos[1]), nivel + 1),
            nivel};
  }

  // A function as its row writes it (see FuncionesJet.h for the $ pieces).
  TSql Funcion(const TNodo& n) {
    const TFuncionJet* f = BuscaFuncionJet(n.texto);
    if (!f) return {"NULL", kAtomo};  // the parser admits no other name
    const std::string_view p = f->sqlite;
    std::string r;
    for (std::size_t i = 0; i < p.size(); ++i) {
      if (p[i] != '$' || i + 1 >= p.size()) {
        r += p[i];
        continue;
      }
      const char clase = p[++i];
      if (clase == '*') {
        for (std::size_t k = 0; k < n.hijos.size(); ++k) r += (k > 0 ? ", " : "") + Valor(*n.hijos[k]).texto;
        continue;
      }
      const bool conClase = clase == 'C' || clase == '?' || clase == 'I';
      if (conClase) ++i;
      const TNodo& a = *n.hijos[static_cast<std::size_t>(p[i] - '0')];
      switch (clase) {
        case 'C': {
          const TSql v = Valor(a);
          r += PierdeColacion(a) ? Parentiza(v, kAtomo) + kColacion : v.texto;
          break;
        }
        case '?': r += Condicion(a).texto; break;
        case 'I': r += Parentiza(Valor(a), kIgual + 1); break;
        default: r += Valor(a).texto;
      }
    }
    return {r, f->condicion ? kIgual : kAtomo};
  }

  // ---- conditions (SQLite truth values) ----
  TSql Condicion(const TNodo& n) {
    switch (n.clase) {
      case TClaseNodo::Comparacion: {
        const int nivel = (n.texto == "=" || n.texto == "<>") ? kIgual : kMenor;
        const TNodo& a = *n.hijos[0];
        const TNodo& b = *n.hijos[1];
        std::string der = Parentiza(Valor(b), nivel + 1);
        if (PuedeSerTexto(a) && PuedeSerTexto(b) && PierdeColacion(a) && PierdeColacion(b))
          der = Parentiza(Valor(b), kAtomo) + kColacion;
        return {Parentiza(Valor(a), nivel) + " " + n.texto + " " + der, nivel};
      }
      case TClaseNodo::Y:
      case TClaseNodo::O: {
        std::vector<std::string> partes;
        const int nivel = n.clase == TClaseNodo::Y ? kY : kO;
        for (const auto& h : n.hijos) partes.push_back(Parentiza(Condicion(*h), nivel + 1));
        return {Equilibra(partes, 0, partes.size(), n.clase == TClaseNodo::Y ? " AND " : " OR "), nivel};
      }
      case TClaseNodo::No:
        return {"NOT " + Parentiza(Condicion(*n.hijos[0]), kNo), kNo};
      case TClaseNodo::EsNulo:
        return {Parentiza(Valor(*n.hijos[0]), kIgual + 1) + (n.negado ? " IS NOT NULL" : " IS NULL"), kIgual};
      case TClaseNodo::Como:
        return {Parentiza(Valor(*n.hijos[0]), kIgual + 1) + (n.negado ? " NOT LIKE " : " LIKE ") +
                    Parentiza(Valor(*n.hijos[1]), kIgual + 1),
                kIgual};
      case TClaseNodo::Entre: {
        const bool texto = PierdeColacion(*n.hijos[0]) && (PuedeSerTexto(*n.hijos[1]) || PuedeSerTexto(*n.hijos[2]));
        return {Izquierdo(*n.hijos[0], texto) + (n.negado ? " NOT BETWEEN " : " BETWEEN ") +
                    Parentiza(Valor(*n.hijos[1]), kMenor) + " AND " + Parentiza(Valor(*n.hijos[2]), kMenor),
                kIgual};
      }
      case TClaseNodo::EnLista: {
        bool texto = false;
        for (std::size_t i = 1; i < n.hijos.size(); ++i) texto = texto || PuedeSerTexto(*n.hijos[i]);
        texto = texto && PierdeColacion(*n.hijos[0]);
        std::string r = Izquierdo(*n.hijos[0], texto) + (n.negado ? " NOT IN (" : " IN (");
        for (std::size_t i = 1; i < n.hijos.size(); ++i) r += (i > 1 ? ", " : "") + Valor(*n.hijos[i]).texto;
        return {r + ")", kIgual};
      }
      case TClaseNodo::EnSubconsulta:
        return {Izquierdo(*n.hijos[0], PierdeColacion(*n.hijos[0])) + (n.negado ? " NOT IN (" : " IN (") +
                    Consulta(*n.subconsulta) + ")",
                kIgual};
      case TClaseNodo::Existe:
        return {"EXISTS (" + Consulta(*n.subconsulta) + ")", kAtomo};
      case TClaseNodo::Funcion:
        if (EsCondicion(n)) return Funcion(n);
        return Valor(n);
      default:
        return Valor(n);
    }
  }

  // Left operand of IN / BETWEEN, which decides their collation.
  std::string Izquierdo(const TNodo& n, bool conColacion) {
    const TSql v = Valor(n);
    return conColacion ? Parentiza(v, kAtomo) + kColacion : Parentiza(v, kMenor);
  }

  // Long AND / OR chains (one term per ticked client, say) are split in halves so that
  // SQLite's expression tree stays shallow.
  static std::string Equilibra(const std::vector<std::string>& p, std::size_t desde, std::size_t hasta,
                               const char* op) {
    if (hasta - desde <= 8) {
      std::string r;
      for (std::size_t i = desde; i < hasta; ++i) r += (i > desde ? op : "") + p[i];
      return r;
    }
    const std::size_t medio = desde + (hasta - desde) / 2;
    return "(" + Equilibra(p, desde, medio, op) + ")" + op + "(" + Equilibra(p, medio, hasta, op) + ")";
  }
};

}  // namespace

std::string EmiteSentencia(const TSentencia& sentencia) { return TEmisor().Sentencia(sentencia); }
std::string EmiteConsulta(const TConsulta& consulta) { return TEmisor().Consulta(consulta); }
std::string EmiteSondeoClaves(const TSeleccion& seleccion) { return TEmisor().SondeoClaves(seleccion); }

}  // namespace qavi::jet
