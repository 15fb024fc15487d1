#pragma once
// The questionnaire template as data: the shared settings file and one text file per page
// (format described at the top of render/plantilla/Reporte.txt), read into plain records. No Qt here.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/VariablesReporte.h"

namespace qavi {

enum class TAlineacion { Izquierda, Centro, Derecha };

struct TTramo {
  std::string sTexto;
  bool bNegrita = false;
  bool bSubrayado = false;
  bool operator==(const TTramo&) const = default;
};

struct TParrafo {
  TAlineacion alineacion = TAlineacion::Izquierda;
  std::vector<TTramo> tramos;
  std::string Texto() const;  // the runs' text joined
};

struct TRectMM {
  double x = 0, y = 0, ancho = 0, alto = 0;
};

struct TColorRGB {
  int r = 0, g = 0, b = 0;
};

struct TEstiloTexto {
  std::string sFamilia = "Times New Roman";
  double dPuntos = 11;
  TColorRGB color;
  double dInterlineado = 1;    // line height as a multiple of the font's
  double dEspacioDespues = 0;  // points after each paragraph
};

struct TPaginaPlantilla {
  std::string sNombre;  // "Pagina_5"
  TRectMM marco;
  TEstiloTexto estilo;
  std::vector<TParrafo> cuerpo;
  TRectMM marcoPie;
  TEstiloTexto estiloPie;
  TParrafo pie;
  // A paragraph in a frame of its own (page 1 names the branches under its notes); prints
  // only when every variable it names holds a value.
  TRectMM marcoNota;
  TEstiloTexto estiloNota;
  TParrafo nota;
};

struct TPlantillaReporte {
  double dAnchoPapel = 215.9;
  double dAltoPapel = 279.4;
  TRectMM margenes;  // x = left, y = top, ancho = right, alto = bottom
  std::vector<TPaginaPlantilla> paginas;  // in print order
};

// Hands out a file of the template by name ("Reporte.txt", "Pagina_0.txt"); empty if missing.
using TLectorPlantilla = std::function<std::optional<std::string>(const std::string& sArchivo)>;

// Reads the settings file and every page it lists. On failure sError says what and where.
bool LeePlantilla(const TLectorPlantilla& lector, TPlantillaReporte& plantilla, std::string& sError);

// One paragraph line of a page body.
TParrafo LeeParrafo(std::string_view linea);

// Longest text a single placeholder prints; longer values are cut and end in "…".
constexpr size_t kMaxCaracteresValor = 2000;

// Replaces [Variable] and [Page#] in the runs. A value is plain data: it keeps the format of its
// placeholder and is never scanned again. Names that are not variables are left as they are.
std::vector<TParrafo> ExpandeParrafos(const std::vector<TParrafo>& parrafos,
                                      const TVariablesReporte& variables, int nPagina);

// True when every variable the paragraph names holds a value: a page's note prints only then.
bool VariablesConValor(const TParrafo& parrafo, const TVariablesReporte& variables);

}  // namespace qavi
