#!/usr/bin/env bash
# One consolidated questionnaire over several branches: 10 demo databases (velmar-demo with seeds
# 1..10) of 100,000 and of 1,000,000 operations each, the full headless run with wall time, CPU
# time and peak memory; at 100,000 also every statement as written (QAVI_SIN_CACHE=1), whose
# answers must be byte for byte the same.
# Usage: bench/sucursales.sh [BUILD_DIR] [OPERACIONES_POR_SUCURSAL...]   (default: 100000 1000000)
# SUCURSALES=N changes the number of branches (default 10). Needs about 70 MB of disk per million.
set -euo pipefail

. "$(dirname "$0")/comun.sh" "${1:-}"
shift || true
tamanos=("$@")
[ ${#tamanos[@]} -eq 0 ] && tamanos=(100000 1000000)
sucursales=${SUCURSALES:-10}

# Runs the consolidated job and prints "seconds cpu-seconds kB".
mide() {
  local json=$1
  shift
  env "$@" /usr/bin/time -f "%e %U %S %M" -o "$trabajo/t.txt" \
    "$cli" "${args[@]}" --usuario ADMIN --password DEMO --json "$json" > /dev/null 2> "$trabajo/errores.txt" ||
    { cat "$trabajo/errores.txt" >&2; exit 1; }
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$trabajo/t.txt"
}

printf "%-12s %-12s %10s %8s %8s %12s %12s\n" sucursales "operaciones" "total(s)" "CPU(s)" MB "escrito(s)" "resultados"
for n in "${tamanos[@]}"; do
  clientes=$(( n / 50 > 500 ? n / 50 : 500 ))
  args=()
  for i in $(seq 1 "$sucursales"); do
    carpeta="$trabajo/n${n}_s$i"
    "$demo" "$carpeta" --operaciones "$n" --clientes "$clientes" --semilla "$i" > /dev/null
    if [ "$i" = 1 ]; then args+=(--velmar "$carpeta"); else args+=(--sucursal "$carpeta"); fi
  done
  read -r total cpu kb < <(mide "$trabajo/rapido_$n.json")
  escrito="-"; iguales="-"
  if [ "$n" -le 100000 ]; then
    read -r escrito _ _ < <(mide "$trabajo/escrito_$n.json" QAVI_SIN_CACHE=1)
    if cmp -s "$trabajo/rapido_$n.json" "$trabajo/escrito_$n.json"; then iguales="iguales"; else iguales="DIFERENTES"; fi
  fi
  printf "%-12s %-12s %10s %8s %8s %12s %12s\n" "$sucursales" "$n" "$total" "$cpu" "$((kb / 1024))" "$escrito" "$iguales"
  [ "$iguales" = "DIFERENTES" ] && { echo "Las respuestas de ambos caminos difieren con $n operaciones." >&2; exit 1; }
  rm -rf "$trabajo"/n"${n}"_s*
done
echo "Metas: 10 sucursales de 1,000,000 en menos de 20 s y de 1536 MB; una sucursal de 1,000,000 como en bench/rendimiento.sh."
