#pragma once
// The Velmar tables of several branches as one company's tables: each branch gives the rows of
// its own active company of the operations, clients and reports, and its whole currency and
// sector catalogues; its client, currency and sector keys (and its folios) stay its own.
#include "db/jet/ConsolidacionJet.h"

namespace qavi {

const jet::TPlanConsolidacion& PlanSucursalesVelmar();

}  // namespace qavi
