#pragma once
// One Jet statement run on a connection: translated (on the engine's path rewritten, with the
// derived tables the connection keeps), prepared, stepped, its rows handed out.
#include <string>

#include "db/jet/IIMotorBD.h"
#include "db/jet/sql/PasoClavesNumericas.h"
#include "db/jet/sql/TraductorJet.h"

namespace qavi::jet {

class TConexionJet;
class TDerivadasJet;

// The rewrites up to the point where derived tables are kept: periods inside, number keys first.
void ReescribeJet(TAnalisisJet& analisis, IOraculoTipos& oraculo);

// `analisis` of a statement whose tables the connection holds. `derivadas` null: as written.
// False and a readable Spanish reason on failure.
bool CorreSentencia(TConexionJet& conexion, TDerivadasJet* derivadas, TAnalisisJet& analisis,
                    TResultadoConsulta& resultado, std::string& error);

}  // namespace qavi::jet
