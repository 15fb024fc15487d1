#pragma once
// Rewrite pass: Currency and Decimal computed as Jet computes them.
//
// The loaded tables hold a Currency or Decimal value as the real nearest to it. Jet compares such
// values, and does the arithmetic whose result is a Double, on that same real: that stays as
// written. What Jet computes exactly becomes a call to the engine's exact functions
// (AritmeticaExacta.h): SUM and ROUND of a Currency or Decimal value, AVG of one (the exact sum
// over the count, a Double), and + - * whose result Jet types Currency or Decimal. Jet leaves
// arithmetic to VBA, whose rules are: for + and -, Currency ranks above Single and Double; for *,
// Double ranks above Currency; / gives a Double unless a Decimal takes part; a Decimal beside any
// other number gives a Decimal; a number written with a point is a Decimal. Each value's type
// comes from the base tables' columns (the catalogue), through derived tables, UNION branches and
// IIF. A Decimal beside a real, or divided, has no fixed number of decimals: it is computed in
// reals as before. A statement whose tables have no Currency or Decimal column is left as it is.
#include <string>
#include <vector>

#include "db/jet/sql/ArbolJet.h"

namespace qavi::jet {

enum class TClaseValor { Desconocido, Nulo, Entero, Simple, Doble, Moneda, Decimal };

struct TTipoValor {
  TClaseValor clase = TClaseValor::Desconocido;
  int escala = 0;  // decimals of a Decimal; Currency has 4
  bool operator==(const TTipoValor&) const = default;
};

struct TColumnaTipada {
  std::string nombre;
  TTipoValor tipo;
};

class ICatalogoTipos {
 public:
  virtual ~ICatalogoTipos() = default;
  // A base table's columns in the order SELECT * gives them, with their types; null if unknown.
  virtual const std::vector<TColumnaTipada>* Columnas(const std::string& tabla) const = 0;
};

void CalculaTiposExactos(arbol::TSentencia& sentencia, const ICatalogoTipos& catalogo);

}  // namespace qavi::jet
