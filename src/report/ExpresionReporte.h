#pragma once
// What a report variable prints. The stored value is either a multi-line text (it holds CR LF),
// printed as it is, or an expression of the report's script language, printed as its result.
// Only the part of the language the values use is understood: text literals between single
// quotes ('' inside stands for one quote), character codes (#13), their juxtaposition and '+'.
#include <optional>
#include <string>

namespace qavi {

// Evaluates an expression; false when it is not a valid text expression (sResultado untouched).
// An empty or blank expression is valid and yields the empty text.
bool EvaluaExpresion(const std::string& sExpresion, std::string& sResultado);

// The text printed for a stored value. A value that cannot be evaluated prints its own text,
// without the enclosing quotes when it has them (a quoted text with a stray quote inside).
std::string EvaluaValor(const std::string& sValorAlmacenado);

// Same for a variable that may have no value: no value prints nothing.
std::string EvaluaValor(const std::optional<std::string>& valor);

}  // namespace qavi
