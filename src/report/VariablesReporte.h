#pragma once
// The report's variable list: category entries (" " + category) followed by the variables that
// belong to them, in order. Values are stored as the renderer will evaluate them (see
// ExpresionReporte.h); a variable without value prints nothing.
#include <optional>
#include <string>
#include <vector>

namespace qavi {

struct TEntradaVariable {
  std::string sNombre;                // " Cuestionario" for a category, "preg_1" for a variable
  bool bCategoria = false;
  std::optional<std::string> valor;   // always empty for a category
};

class TVariablesReporte {
 public:
  // The questionnaire's declared list: " Cuestionario", preg_1..preg_50, NombreCC,
  // preg_51..preg_326, all without value.
  TVariablesReporte();
  // A list with no entries at all.
  static TVariablesReporte Vacia();

  // Adds a category entry at the end (name given without the leading blank); no-op if present.
  void AgregaCategoria(const std::string& sCategoria);

  // The category is the entry " " + sCategoria, case ignored; an existing variable (case ignored,
  // anywhere in the list) gets the new value, a new one goes to the end of that category.
  // Returns false, storing nothing, when the category does not exist.
  bool AsignaVariable(const std::string& sCategoria, const std::string& sVariable,
                      const std::string& sValor);

  // Value of a variable (case ignored); empty when it has none or does not exist.
  std::optional<std::string> DameValor(const std::string& sVariable) const;
  bool Existe(const std::string& sVariable) const;

  const std::vector<TEntradaVariable>& Entradas() const { return entradas_; }

 private:
  struct Vacio {};
  explicit TVariablesReporte(Vacio) {}
  std::vector<TEntradaVariable>::const_iterator BuscaVariable(const std::string& sVariable) const;

  std::vector<TEntradaVariable> entradas_;
};

}  // namespace qavi
