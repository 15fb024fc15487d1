#!/usr/bin/env bash
# Checks that every #include "..." of src/ and tools/ goes down the layers, never up:
#   common < db/jet/texto < db/jet/funciones < db/jet/sql < db/jet < db < pos < report < engine
#   < report/render < app < cli, tools
# A folder may include itself and anything below. Prints each include that climbs; exits 1 if any.
set -euo pipefail
cd "$(dirname "$0")/.."

capas=(common db/jet/texto db/jet/funciones db/jet/sql db/jet db pos report engine report/render app cli tools)

# Layer number of a path under src/ (or tools/), by its longest listed folder.
capa() {
  local ruta=$1 mejor=-1 largo=0 i
  for i in "${!capas[@]}"; do
    local c=${capas[$i]}
    if [[ $ruta == "$c"/* && ${#c} -gt $largo ]]; then mejor=$i; largo=${#c}; fi
  done
  echo "$mejor"
}

fallas=0
while IFS= read -r archivo; do
  if [[ $archivo == tools/* ]]; then desde=$(capa "tools/x"); else desde=$(capa "${archivo#src/}"); fi
  [[ $desde -ge 0 ]] || { echo "capas: $archivo no está en ninguna capa"; fallas=1; continue; }
  while IFS= read -r linea; do
    incluido=${linea#*\"}; incluido=${incluido%\"*}
    # Only the project's own headers: paths with a folder of src/ or tools/.
    [[ -f src/$incluido || -f tools/$incluido ]] || continue
    if [[ -f src/$incluido ]]; then hacia=$(capa "$incluido"); else hacia=$(capa "tools/x"); fi
    if [[ $hacia -gt $desde ]]; then
      echo "capas: $archivo incluye $incluido (${capas[$hacia]} está por encima de ${capas[$desde]})"
      fallas=1
    fi
  done < <(grep -h '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$archivo" || true)
done < <(find src tools -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

[[ $fallas == 0 ]] && echo "capas: ninguna inclusión sube de capa"
exit $fallas
