#!/usr/bin/env bash
# The main job on the bundled demo: installs, builds and writes the demo Velmar folder (once).
# With a display it then opens the program there, placed in the Velmar folder as a user places
# it (administrator ADMIN, password DEMO); without one (or with --sin-ventana) it answers the
# questionnaire headless into demo/respuestas.json and demo/CuestionarioQAVI_2016.pdf.
set -euo pipefail
cd "$(dirname "$0")/.."
SIN_VENTANA=""
[ "${1:-}" = "--sin-ventana" ] && SIN_VENTANA=1
bash scripts/install-deps.sh
bash scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
DEMO=${DEMO_DIR:-demo/Velmar}
if [ ! -f "$DEMO/DataBase/Velmar.mdb" ]; then
  "$BUILD_DIR/tools/velmar-demo/velmar-demo" "$DEMO"
fi

PROGRAMA="$BUILD_DIR/src/app/CuestionarioQAVI_2016"
if [ -z "$SIN_VENTANA" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$PROGRAMA" ]; then
  # The program reads the Velmar files beside itself.
  cp "$PROGRAMA" "$DEMO/"
  echo "Abriendo $DEMO/CuestionarioQAVI_2016 (clave ADMIN, contraseña DEMO)"
  exec "$DEMO/CuestionarioQAVI_2016"
fi

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# The password goes through the environment, not the command line that every user can list.
export QAVI_PASSWORD=DEMO
"$BUILD_DIR/src/cli/cuestionario-qavi" --velmar "$DEMO" --usuario ADMIN --detectar-peps
"$BUILD_DIR/src/cli/cuestionario-qavi" --velmar "$DEMO" --usuario ADMIN --tipo-cambio 16 \
  --json demo/respuestas.json --pdf demo/CuestionarioQAVI_2016.pdf
echo "Respuestas: demo/respuestas.json   Reporte: demo/CuestionarioQAVI_2016.pdf"
