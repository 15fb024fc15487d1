#pragma once
// Syntax tree of the Jet SQL subset: what the parser builds and the emitter writes out.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qavi::jet::arbol {

struct TConsulta;

enum class TClaseNodo {
  Numero,         // texto: the digits as written
  Texto,          // texto: the value
  Fecha,          // numero: the OLE number
  Nulo,
  Booleano,       // TRUE / FALSE; numero: -1 or 0
  Columna,        // calificador (may be empty) and texto (column name)
  TodasColumnas,  // the * inside COUNT(*)
  Funcion,        // texto: name in capitals; hijos: arguments
  Negativo,       // unary minus; hijos[0]
  Positivo,       // unary plus; hijos[0]
  Aritmetica,     // texto: + - * / ; hijos[0], hijos[1]
  Concatena,      // & ; hijos[0], hijos[1]
  Comparacion,    // texto: = <> < <= > >= ; hijos[0], hijos[1]
  Y,              // AND of every hijo
  O,              // OR of every hijo
  No,             // NOT hijos[0]
  EsNulo,         // hijos[0] IS [NOT] NULL
  Como,           // hijos[0] [NOT] LIKE hijos[1]
  Entre,          // hijos[0] [NOT] BETWEEN hijos[1] AND hijos[2]
  EnLista,        // hijos[0] [NOT] IN (hijos[1..])
  EnSubconsulta,  // hijos[0] [NOT] IN (subconsulta)
  Existe,         // EXISTS (subconsulta)
  Subconsulta     // (subconsulta) as a value
};

// The classes that are conditions (true or false) whatever their operands.
inline bool EsClaseCondicion(TClaseNodo c) {
  switch (c) {
    case TClaseNodo::Comparacion:
    case TClaseNodo::Y:
    case TClaseNodo::O:
    case TClaseNodo::No:
    case TClaseNodo::EsNulo:
    case TClaseNodo::Como:
    case TClaseNodo::Entre:
    case TClaseNodo::EnLista:
    case TClaseNodo::EnSubconsulta:
    case TClaseNodo::Existe: return true;
    default: return false;
  }
}

// What the translator knows of a value's type without a schema.
enum class TTipoDato { Desconocido, Numero, Texto };

struct TNodo {
  TClaseNodo clase = TClaseNodo::Nulo;
  std::string texto;
  std::string calificador;
  double numero = 0.0;
  bool negado = false;
  std::vector<std::unique_ptr<TNodo>> hijos;
  std::unique_ptr<TConsulta> subconsulta;
  std::size_t posicion = 0;
  int altura = 1;  // longest path to a leaf, to keep recursion bounded
};
using PNodo = std::unique_ptr<TNodo>;

struct TElementoSeleccion {
  enum class Clase { Estrella, EstrellaDeTabla, Expresion } clase = Clase::Expresion;
  std::string tabla;  // for t.*
  PNodo expresion;
  std::string alias;  // empty = none written
};

struct TOrigen;
using POrigen = std::unique_ptr<TOrigen>;

struct TOrigen {
  enum class Clase { Tabla, Derivada, Union } clase = Clase::Tabla;
  std::string tabla;                    // Tabla
  std::unique_ptr<TConsulta> consulta;  // Derivada
  std::string alias;
  // Union: izquierda JOIN derecha ON condicion
  enum class TipoUnion { Interna, Izquierda, Derecha } tipoUnion = TipoUnion::Interna;
  POrigen izquierda, derecha;
  PNodo condicion;
  bool entreParentesis = false;
};

struct TOrden {
  PNodo expresion;
  bool descendente = false;
};

struct TSeleccion {
  bool distinct = false;
  std::optional<std::int64_t> top;
  std::vector<TElementoSeleccion> lista;
  std::vector<POrigen> origenes;  // comma-separated FROM items
  PNodo donde;
  std::vector<PNodo> agrupa;
  PNodo teniendo;
  std::vector<TOrden> orden;
};

// One SELECT or several joined by UNION [ALL]; `orden` sorts the whole union.
struct TConsulta {
  std::vector<TSeleccion> ramas;
  std::vector<bool> todas;  // todas[i]: UNION ALL between ramas[i] and ramas[i + 1]
  std::vector<TOrden> orden;
  int altura = 1;
};

struct TBorrado {
  std::string tabla;
  PNodo donde;
};

struct TSentencia {
  bool esBorrado = false;
  TConsulta consulta;
  TBorrado borrado;
};

}  // namespace qavi::jet::arbol
