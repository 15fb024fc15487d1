#pragma once
// Jet date literals (#12/31/2015#, #12/31/2015 10:30:00#, #2015-12-31#, #10:30 PM#) as
// OLE Automation numbers: days since 1899-12-30, the fraction being the time of day.
#include <string_view>

namespace qavi::jet {

// `texto` is what stands between the two # signs. False if it is not a valid date/time.
bool FechaOle(std::string_view texto, double& valor);

// The OLE number of a calendar date and time (no validation).
double NumeroOle(int anio, int mes, int dia, int hora = 0, int minuto = 0, int segundo = 0);

}  // namespace qavi::jet
