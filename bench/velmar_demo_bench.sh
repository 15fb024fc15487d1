#!/usr/bin/env bash
# Writes a demonstration Velmar folder with 1,000,000 operations and reports wall time and peak memory.
# Goals: under 30 s and under 200 MB on a 2-core machine.
# Usage: bench/velmar_demo_bench.sh [BUILD_DIR] [OPERACIONES]
set -euo pipefail

raiz="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$raiz/build}"
operaciones="${2:-1000000}"
programa="$build/tools/velmar-demo/velmar-demo"

if [[ ! -x "$programa" ]]; then
  echo "No se encontró $programa; compile antes el objetivo velmar-demo." >&2
  exit 1
fi

destino="$(mktemp -d)"
trap 'rm -rf "$destino"' EXIT
medicion="$destino/time.txt"

/usr/bin/time -v -o "$medicion" "$programa" "$destino/demo" --operaciones "$operaciones" > "$destino/salida.txt"

pared=$(sed -n 's/^[[:space:]]*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$medicion")
rss_kb=$(sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$medicion")
tamano=$(stat -c %s "$destino/demo/DataBase/Velmar.mdb")

segundos=$(awk -v t="$pared" 'BEGIN { n = split(t, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }')
echo "operaciones:        $operaciones"
echo "tiempo (pared):     $pared ($segundos s; meta 30 s, razón $(awk -v s="$segundos" 'BEGIN { printf "%.3f", s / 30 }'))"
echo "memoria máxima:     $((rss_kb / 1024)) MB ($rss_kb kB; meta 200 MB, razón $(awk -v k="$rss_kb" 'BEGIN { printf "%.3f", k / 1024 / 200 }'))"
echo "tamaño del archivo: $((tamano / 1024 / 1024)) MB"
