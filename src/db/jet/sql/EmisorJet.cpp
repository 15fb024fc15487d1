#include "db/jet/sql/EmisorJet.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Texto.h"
#include "db/jet/JetFunciones.h"

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

std::string Identificador(std::string_view nombre) {
  std::string r = "\"";
  for (char c : nombre) {
    if (c == '"') r += '"';
    r += c;
  }
  return r + "\"";
}

std::string LiteralTexto(std::string_view valor) {
  std::string r = "'";
  for (char c : valor) {
    if (c == '\'') r += '\'';
    r += c;
  }
  return r + "'";
}

const std::string kColacion = std::string(" COLLATE ") + kColacionJet;

bool EsCondicion(const TNodo& n) {
  switch (n.clase) {
    case TClaseNodo::Comparacion:
    case TClaseNodo::Y:
    case TClaseNodo::O:
    case TClaseNodo::No:
    case TClaseNodo::EsNulo:
    case TClaseNodo::Como:
    case TClaseNodo::Entre:
    case TClaseNodo::EnLista:
    case TClaseNodo::EnSubconsulta:
    case TClaseNodo::Existe:
      return true;
    case TClaseNodo::Funcion:
      return n.texto == "ISNULL";
    default:
      return false;
  }
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
      const std::string& f = n.texto;
      if (f == "IIF") {
        const TTipoDato a = Tipo(*n.hijos[1]), b = Tipo(*n.hijos[2]);
        return a == b ? a : TTipoDato::Desconocido;
      }
      if (f == "UCASE" || f == "LCASE" || f == "STR" || f == "TRIM" || f == "LTRIM" || f == "RTRIM")
        return TTipoDato::Texto;
      if (f == "MIN" || f == "MAX") return Tipo(*n.hijos[0]);
      return TTipoDato::Numero;  // ROUND COUNT SUM AVG LEN ABS
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

class TEmisor {
 public:
  explicit TEmisor(IMaterializador* materializador) : materializador_(materializador) {}

  std::string Sentencia(const TSentencia& s) {
    if (s.esBorrado) {
      std::string r = "DELETE FROM " + Identificador(s.borrado.tabla);
      if (s.borrado.donde) r += " WHERE " + Condicion(*s.borrado.donde).texto;
      return r;
    }
    return Consulta(s.consulta);
  }

 private:
  // `derivada`: the query of a derived table, whose grouping keys may be reordered.
  // `extra`: conditions ANDed to the WHERE of a single-branch query (a period pushed into it).
  std::string Consulta(const TConsulta& c, bool derivada = false, const std::string& extra = "") {
    if (c.ramas.size() == 1) return Seleccion(c.ramas[0], derivada, extra);
    std::string r;
    for (std::size_t i = 0; i < c.ramas.size(); ++i) {
      if (i > 0) r += c.todas[i - 1] ? " UNION ALL " : " UNION ";
      const TSeleccion& rama = c.ramas[i];
      // SQLite refuses ORDER BY / LIMIT inside a branch: the branch becomes a derived table.
      if (rama.top || !rama.orden.empty()) r += "SELECT * FROM (" + Seleccion(rama, derivada) + ")";
      else r += Seleccion(rama, derivada);
    }
    if (!c.orden.empty()) r = "SELECT * FROM (" + r + ")" + Orden(c.orden);
    return r;
  }

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

  std::string Seleccion(const TSeleccion& s, bool derivada = false, const std::string& extra = "") {
    std::string r = "SELECT ";
    if (s.distinct) r += "DISTINCT ";
    int sinNombre = 0;
    for (std::size_t i = 0; i < s.lista.size(); ++i) {
      if (i > 0) r += ", ";
      const TElementoSeleccion& e = s.lista[i];
      switch (e.clase) {
        case TElementoSeleccion::Clase::Estrella: r += "*"; break;
        case TElementoSeleccion::Clase::EstrellaDeTabla: r += Identificador(e.tabla) + ".*"; break;
        case TElementoSeleccion::Clase::Expresion: r += ElementoExpresion(e, sinNombre); break;
      }
    }
    std::string origenes;
    for (std::size_t i = 0; i < s.origenes.size(); ++i)
      origenes += (i > 0 ? ", " : "") + Origen(*s.origenes[i], materializador_ ? PeriodoPara(s, *s.origenes[i]) : "");
    if (!origenes.empty()) r += " FROM " + origenes;
    if (s.donde && !extra.empty()) r += " WHERE " + Parentiza(Condicion(*s.donde), kNo) + " AND " + extra;
    else if (s.donde) r += " WHERE " + Condicion(*s.donde).texto;
    else if (!extra.empty()) r += " WHERE " + extra;
    if (!s.agrupa.empty()) {
      std::vector<std::string> claves;
      for (const auto& g : s.agrupa) claves.push_back(TerminoSinCaso(*g));
      if (derivada && materializador_ && claves.size() > 1 && !origenes.empty()) NumerosPrimero(claves, origenes);
      r += " GROUP BY ";
      for (std::size_t i = 0; i < claves.size(); ++i) r += (i > 0 ? ", " : "") + claves[i];
    }
    if (s.teniendo) r += " HAVING " + Condicion(*s.teniendo).texto;
    if (!s.orden.empty()) r += Orden(s.orden);
    if (s.top) r += " LIMIT " + std::to_string(*s.top);
    return r;
  }

  // Number keys first, the rest after, each group in its written order.
  void NumerosPrimero(std::vector<std::string>& claves, const std::string& origenes) {
    std::string sondeo = "SELECT ";
    for (std::size_t i = 0; i < claves.size(); ++i) sondeo += (i > 0 ? ", " : "") + claves[i];
    const auto tipos = materializador_->TiposDeclarados(sondeo + " FROM " + origenes);
    if (!tipos || tipos->size() != claves.size()) return;
    const auto numero = [](const std::string& t) {
      return IgualSinCasoAscii(t, "INTEGER") || IgualSinCasoAscii(t, "REAL");
    };
    std::vector<std::string> numeros, resto;
    for (std::size_t i = 0; i < claves.size(); ++i) (numero((*tipos)[i]) ? numeros : resto).push_back(claves[i]);
    numeros.insert(numeros.end(), resto.begin(), resto.end());
    claves = std::move(numeros);
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
    if (!nombre.empty()) r += " AS " + Identificador(nombre);
    return r;
  }

  std::string Origen(const TOrigen& o, const std::string& extra = "") {
    switch (o.clase) {
      case TOrigen::Clase::Tabla:
        return Identificador(o.tabla) + (o.alias.empty() ? "" : " AS " + Identificador(o.alias));
      case TOrigen::Clase::Derivada: {
        const std::string alias = o.alias.empty() ? "" : " AS " + Identificador(o.alias);
        std::string sql = Consulta(*o.consulta, true, extra);
        if (materializador_)
          if (auto tabla = materializador_->Materializa(sql, EsTrivial(*o.consulta))) return Identificador(*tabla) + alias;
        return "(" + sql + ")" + alias;
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
      case TClaseNodo::Texto: return {LiteralTexto(n.texto), kAtomo};
      case TClaseNodo::Nulo: return {"NULL", kAtomo};
      case TClaseNodo::Booleano: return {n.numero != 0 ? "-1" : "0", n.numero != 0 ? kUnario : kAtomo};
      case TClaseNodo::Fecha: return Fecha(n.numero);
      case TClaseNodo::Columna:
        if (sustituciones_)
          for (const auto& [nombre, interna] : *sustituciones_)
            if (IgualSinCasoAscii(nombre, n.texto)) {
              const auto* activas = std::exchange(sustituciones_, nullptr);  // the inner column is itself
              TSql v = Valor(*interna);
              sustituciones_ = activas;
              return v;
            }
        return {(n.calificador.empty() ? "" : Identificador(n.calificador) + ".") + Identificador(n.texto), kAtomo};
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

  TSql Funcion(const TNodo& n) {
    const std::string& f = n.texto;
    const auto arg = [&](std::size_t i) { return Valor(*n.hijos[i]).texto; };
    if (f == "IIF") {
      return {"CASE WHEN " + Condicion(*n.hijos[0]).texto + " THEN " + arg(1) + " ELSE " + arg(2) + " END", kAtomo};
    }
    if (f == "UCASE") return {"jet_ucase(" + arg(0) + ")", kAtomo};
    if (f == "LCASE") return {"jet_lcase(" + arg(0) + ")", kAtomo};
    if (f == "STR") return {"jet_str(" + arg(0) + ")", kAtomo};
    if (f == "ROUND") return {"jet_round(" + arg(0) + (n.hijos.size() > 1 ? ", " + arg(1) : "") + ")", kAtomo};
    if (f == "COUNT" || f == "SUM" || f == "AVG" || f == "ABS") return {f + "(" + arg(0) + ")", kAtomo};
    if (f == "MIN" || f == "MAX") {
      const TSql v = Valor(*n.hijos[0]);
      const std::string a = PierdeColacion(*n.hijos[0]) ? Parentiza(v, kAtomo) + kColacion : v.texto;
      return {f + "(" + a + ")", kAtomo};
    }
    if (f == "LEN") return {"length(" + arg(0) + ")", kAtomo};
    if (f == "TRIM") return {"trim(" + arg(0) + ", ' ')", kAtomo};
    if (f == "LTRIM") return {"ltrim(" + arg(0) + ", ' ')", kAtomo};
    if (f == "RTRIM") return {"rtrim(" + arg(0) + ", ' ')", kAtomo};
    return {"NULL", kAtomo};  // the parser admits no other name
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
        if (n.texto == "ISNULL") return {Parentiza(Valor(*n.hijos[0]), kIgual + 1) + " IS NULL", kIgual};
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

  // A period (range comparisons of a derived table's column with constants in the WHERE around
  // it) is applied inside the derived table as well, before it is materialized: every statement
  // over the same period then shares rows computed for that period only, instead of for all
  // time. Equalities (a type, a currency) are left outside: they pick segments of those rows.
  // Only a plain column of a single-branch query (and, if it groups, one of its grouping keys),
  // and only a derived table that is not the nullable side of a join (joins are left alone).
  std::string PeriodoPara(const TSeleccion& s, const TOrigen& o) {
    if (!s.donde || o.clase != TOrigen::Clase::Derivada || o.alias.empty()) return "";
    const TConsulta& c = *o.consulta;
    if (c.ramas.size() != 1 || !c.orden.empty() || c.ramas[0].top || !c.ramas[0].orden.empty()) return "";
    const TSeleccion& rama = c.ramas[0];
    std::vector<const TNodo*> conjuncion;
    if (s.donde->clase == TClaseNodo::Y) {
      for (const auto& h : s.donde->hijos) conjuncion.push_back(h.get());
    } else {
      conjuncion.push_back(s.donde.get());
    }
    std::string r;
    for (const TNodo* t : conjuncion) {
      const TNodo* columna = nullptr;
      if (t->clase == TClaseNodo::Comparacion && t->texto != "=" && t->texto != "<>") {
        const bool izq = EsConstante(*t->hijos[1]), der = EsConstante(*t->hijos[0]);
        columna = izq ? t->hijos[0].get() : der ? t->hijos[1].get() : nullptr;
      } else if (t->clase == TClaseNodo::Entre && !t->negado && EsConstante(*t->hijos[1]) &&
                 EsConstante(*t->hijos[2])) {
        columna = t->hijos[0].get();
      }
      if (!columna || columna->clase != TClaseNodo::Columna || !IgualSinCasoAscii(columna->calificador, o.alias)) continue;
      const TNodo* interna = ColumnaInterna(rama, columna->texto);
      if (!interna) continue;
      const std::vector<std::pair<std::string, const TNodo*>> sust = {{columna->texto, interna}};
      sustituciones_ = &sust;
      const std::string cond = Parentiza(Condicion(*t), kNo);
      sustituciones_ = nullptr;
      r += (r.empty() ? "" : " AND ") + cond;
    }
    return r;
  }

  static bool EsConstante(const TNodo& n) {
    switch (n.clase) {
      case TClaseNodo::Numero:
      case TClaseNodo::Texto:
      case TClaseNodo::Fecha:
        return true;
      case TClaseNodo::Negativo:
      case TClaseNodo::Positivo:
        return EsConstante(*n.hijos[0]);
      default:
        return false;
    }
  }

  // The plain column behind output column `nombre` of `rama`; if `rama` groups, only a grouping key.
  static const TNodo* ColumnaInterna(const TSeleccion& rama, const std::string& nombre) {
    const TNodo* hallada = nullptr;
    for (const auto& e : rama.lista) {
      if (e.clase != TElementoSeleccion::Clase::Expresion) return nullptr;  // '*' hides what a name is
      const std::string& salida = e.alias.empty() && e.expresion->clase == TClaseNodo::Columna ? e.expresion->texto : e.alias;
      if (!IgualSinCasoAscii(salida, nombre)) continue;
      if (hallada || e.expresion->clase != TClaseNodo::Columna) return nullptr;
      hallada = e.expresion.get();
    }
    if (!hallada || rama.agrupa.empty()) return hallada;
    for (const auto& g : rama.agrupa)
      if (g->clase == TClaseNodo::Columna && IgualSinCasoAscii(g->texto, hallada->texto) &&
          IgualSinCasoAscii(g->calificador, hallada->calificador))
        return hallada;
    return nullptr;
  }

  static bool EsTrivial(const TConsulta& c) {
    if (!c.orden.empty()) return false;
    for (const auto& rama : c.ramas) {
      if (rama.distinct || rama.top || !rama.agrupa.empty() || rama.teniendo || !rama.orden.empty()) return false;
      if (rama.origenes.size() != 1 || rama.origenes[0]->clase == TOrigen::Clase::Union) return false;
      for (const auto& e : rama.lista)
        if (e.clase == TElementoSeleccion::Clase::Expresion && e.expresion->clase != TClaseNodo::Columna) return false;
    }
    return true;
  }

  IMaterializador* materializador_ = nullptr;
  // While a pushed condition is written: its column stands for the derived table's inner column.
  const std::vector<std::pair<std::string, const TNodo*>>* sustituciones_ = nullptr;
};

}  // namespace

std::string EmiteSentencia(const TSentencia& sentencia, IMaterializador* materializador) {
  return TEmisor(materializador).Sentencia(sentencia);
}

}  // namespace qavi::jet
