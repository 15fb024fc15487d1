#!/usr/bin/env bash
# Renders some pages of the questionnaire PDF to PNG for a look by eye.
#   scripts/ver-paginas.sh [ARCHIVO.pdf] [PÁGINAS...]     (default pages: 1 2 6)
# Without a PDF it builds one with made-up answers (qavi-pdf-muestra, from BUILD_DIR, default build).
# QAVI_LARGAS=1 makes that sample use long answers. The PNGs go to SALIDA (default /tmp/ver-paginas).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
SALIDA=${SALIDA:-/tmp/ver-paginas}
DPI=${DPI:-100}
mkdir -p "$SALIDA"

command -v pdftoppm >/dev/null || { echo "ver-paginas: falta pdftoppm (poppler-utils)" >&2; exit 1; }

if [ $# -gt 0 ] && [[ "$1" == *.pdf ]]; then
  PDF=$1
  shift
else
  PDF="$SALIDA/CuestionarioQAVI_2016.pdf"
  cmake --build "$BUILD_DIR" --target qavi-pdf-muestra -j2 >/dev/null
  EXTRA=()
  [ "${QAVI_LARGAS:-0}" = 1 ] && EXTRA=(--largas)
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$BUILD_DIR/src/report/render/qavi-pdf-muestra" "$PDF" "${EXTRA[@]}" >/dev/null
fi

PAGINAS=("$@")
[ ${#PAGINAS[@]} -eq 0 ] && PAGINAS=(1 2 6)
for p in "${PAGINAS[@]}"; do
  pdftoppm -f "$p" -l "$p" -r "$DPI" -png -singlefile "$PDF" "$SALIDA/pagina-$p"
  echo "$SALIDA/pagina-$p.png"
done
