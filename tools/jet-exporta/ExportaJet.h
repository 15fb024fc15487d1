#pragma once
// JSON Lines of what the project's reader reads from a Jet file: per table a header line
//   {"tabla": "Clientes", "columnas": ["Id", "Nombre", "Alta"]}
// then one array per row in file order, for support staff and for checking the reader against others.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "db/jet/ValorMdb.h"

namespace qavi::tools {

// One value as JSON: null, true/false, integers, Single and Double as their shortest round-trip decimal
// ("NaN", "Infinity", "-Infinity" as strings), Currency and Decimal as exact decimal strings, Date/Time
// as "YYYY-MM-DD HH:MM:SS", texts as strings, Binary and OLE as "0x" and lower-case hex, GUID as
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}". Not for Ilegible values.
std::string ValorJson(const jet::TValorMdb& v);

// A day number as Jet shows it, to the nearest second: whole days (toward zero) from 1899-12-30, the
// fraction's absolute value as the time; a time that rounds to 24:00:00 is the next day's midnight.
// Beyond a billion days, and for NaN and infinities, the number itself.
std::string TextoFecha(double dia);

// Writes the named tables (every user table when `tablas` is empty; names without regard to case)
// to `salida`. A table that cannot be read is left out of `salida` and its reason, in Spanish, goes to
// `errores`. Returns 0 when everything was written, 1 otherwise.
int ExportaJet(const std::filesystem::path& mdb, const std::vector<std::string>& tablas, std::ostream& salida,
               std::ostream& errores);

}  // namespace qavi::tools
