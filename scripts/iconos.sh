#!/usr/bin/env bash
# Draws the program's icon at every size it is shown from its one drawing, src/app/icono/*.svg.
# Needs rsvg-convert (librsvg2-bin, scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/../src/app/icono"
for n in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$n" -h "$n" cuestionario-qavi.svg -o "cuestionario-qavi-$n.png"
done
ls cuestionario-qavi-*.png
