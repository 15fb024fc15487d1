#pragma once
// One Jet statement run on a connection: translated (on the engine's path rewritten, with the
// derived tables the connection keeps), prepared, stepped, its rows handed out.
#include <string>
#include <vector>

#include "db/jet/ValorMdb.h"
#include "db/jet/sql/PasoClavesNumericas.h"
#include "db/jet/sql/PasoTiposExactos.h"
#include "db/jet/sql/TraductorJet.h"

namespace qavi::jet {

class TConexionJet;
class TDerivadasJet;

// The rows of a statement: each cell null, an integer (Entero), a real (Doble) or a text (Texto).
struct TResultadoJet {
  std::vector<std::string> columnas;
  std::vector<std::vector<TValorMdb>> filas;
};

// The rewrites up to the point where derived tables are kept: Currency and Decimal as Jet
// computes them (the types of the loaded tables from `catalogo`), periods inside, number keys first.
void ReescribeJet(TAnalisisJet& analisis, IOraculoTipos& oraculo, const ICatalogoTipos& catalogo);

// `analisis` of a statement whose tables the connection holds and `catalogo` types. `derivadas`
// null: as written (Currency and Decimal still computed as Jet does). False and a readable
// Spanish reason on failure.
bool CorreSentencia(TConexionJet& conexion, TDerivadasJet* derivadas, const ICatalogoTipos& catalogo,
                    TAnalisisJet& analisis, TResultadoJet& resultado, std::string& error);

}  // namespace qavi::jet
