#!/usr/bin/env bash
# The questionnaire over demo databases of 10k, 100k and 1M operations: the engine as it runs
# (derived tables reused within a snapshot) beside every statement executed as written
# (QAVI_SIN_CACHE=1), with wall time, the time of the 191 answers alone, peak memory, their
# ratio and a check that both paths give the same answers byte for byte.
# Usage: bench/rendimiento.sh [BUILD_DIR] [TAMAÑOS...]   (default sizes: 10000 100000 1000000)
# The as-written path over 1,000,000 operations takes about two minutes; RAPIDO=1 skips it.
set -euo pipefail

. "$(dirname "$0")/comun.sh" "${1:-}"
shift || true
tamanos=("$@")
[ ${#tamanos[@]} -eq 0 ] && tamanos=(10000 100000 1000000)

# Runs the full headless job (open, load, detect PEPs, 191 answers, JSON) and prints
# "seconds kB answers-seconds". The answers alone: the answers phase less the tables it loaded.
mide() {
  local carpeta=$1 json=$2
  shift 2
  env "$@" QAVI_TIEMPOS=1 /usr/bin/time -f "%e %M" -o "$trabajo/t.txt" \
    "$cli" --velmar "$carpeta" --usuario ADMIN --password DEMO --json "$json" 2> "$trabajo/fases.txt" > /dev/null
  local respuestas
  respuestas=$(awk '/\[fase\].*detección de PEPs/ { tras = 1; next }
                    tras && /\[tiempo\].* carga / { carga += $2 }
                    /\[fase\].* respuestas$/ { r = $2 }
                    END { printf "%.2f", (r - carga) / 1000 }' "$trabajo/fases.txt")
  echo "$(cat "$trabajo/t.txt") $respuestas"
}

printf "%-11s %10s %12s %8s %12s %8s %12s\n" operaciones "rápido(s)" "respuestas(s)" MB "escrito(s)" razón "resultados"
for n in "${tamanos[@]}"; do
  carpeta="$trabajo/demo_$n"
  clientes=$(( n / 50 > 500 ? n / 50 : 500 ))
  "$demo" "$carpeta" --operaciones "$n" --clientes "$clientes" > /dev/null
  read -r rapido kb respuestas < <(mide "$carpeta" "$trabajo/rapido_$n.json")
  if [ "$n" -lt 1000000 ] || [ "${RAPIDO:-0}" != 1 ]; then
    read -r escrito _ _ < <(mide "$carpeta" "$trabajo/escrito_$n.json" QAVI_SIN_CACHE=1)
    razon=$(awk -v a="$escrito" -v b="$rapido" 'BEGIN { printf "%.1fx", a / (b > 0 ? b : 0.01) }')
    if cmp -s "$trabajo/rapido_$n.json" "$trabajo/escrito_$n.json"; then iguales="iguales"; else iguales="DIFERENTES"; fi
  else
    escrito="-"; razon="-"; iguales="-"
  fi
  printf "%-11s %10s %12s %8s %12s %8s %12s\n" "$n" "$rapido" "$respuestas" "$((kb / 1024))" "$escrito" "$razon" "$iguales"
  [ "$iguales" = "DIFERENTES" ] && { echo "Las respuestas de ambos caminos difieren con $n operaciones." >&2; exit 1; }
done
echo "Metas (1,000,000): corrida completa < 5 s, respuestas < 2 s, memoria < 1024 MB, >= 30x frente a las sentencias tal como se escriben."
