#pragma once
// One Jet statement run on a connection: translated (on the engine's path rewritten, with the
// derived tables the connection keeps), prepared, stepped, its rows handed out.
#include <string>
#include <vector>

#include "db/jet/ValorMdb.h"
#include "db/jet/sql/PasoClavesNumericas.h"
#include "db/jet/sql/TraductorJet.h"

namespace qavi::jet {

class TConexionJet;
class TDerivadasJet;

// The rows of a statement: each cell null, an integer (Entero), a real (Doble) or a text (Texto).
struct TResultadoJet {
  std::vector<std::string> columnas;
  std::vector<std::vector<TValorMdb>> filas;
};

// The rewrites up to the point where derived tables are kept: periods inside, number keys first.
void ReescribeJet(TAnalisisJet& analisis, IOraculoTipos& oraculo);

// `analisis` of a statement whose tables the connection holds. `derivadas` null: as written.
// False and a readable Spanish reason on failure.
bool CorreSentencia(TConexionJet& conexion, TDerivadasJet* derivadas, TAnalisisJet& analisis,
                    TResultadoJet& resultado, std::string& error);

}  // namespace qavi::jet
