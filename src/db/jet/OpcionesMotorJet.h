#pragma once
// How the Jet engine runs, given when it opens. The programs' main reads them from the
// environment; nothing deeper does.
#include <cstddef>

namespace qavi::jet {

struct TOpcionesMotorJet {
  // Within one snapshot of the file, a derived table whose text repeats is computed once and
  // periods are applied inside it; false runs every statement exactly as written.
  bool reutilizaDerivadas = true;
  // Tables of this many rows or more are served from memory columns instead of SQLite tables:
  // loading them is several times cheaper. Only the operations reach it in practice; smaller
  // tables keep SQLite's automatic indexes for joins. 0 takes every table that way.
  std::size_t filasParaMemoria = 50000;
  // An announced batch (TMotorJet::Anticipa) is also answered from its end on a second
  // connection and thread, over the same loaded tables.
  bool adelantaLote = true;
};

// QAVI_SIN_CACHE=1 (every statement as written), QAVI_FILAS_MEMORIA=N and QAVI_UN_HILO=1 (no
// part of a batch run ahead), for the programs' main.
TOpcionesMotorJet OpcionesMotorJetDelEntorno();

}  // namespace qavi::jet
