#!/usr/bin/env bash
# The main job on the bundled demo: installs, builds, writes the demo Velmar folder (once) and
# answers the questionnaire on it with the demo administrator. Results land in demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
DEMO=${DEMO_DIR:-demo/Velmar}
if [ ! -f "$DEMO/DataBase/Velmar.mdb" ]; then
  "$BUILD_DIR/tools/velmar-demo/velmar-demo" "$DEMO"
fi
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$BUILD_DIR/src/cli/cuestionario-qavi" --velmar "$DEMO" --usuario ADMIN --password DEMO --detectar-peps
"$BUILD_DIR/src/cli/cuestionario-qavi" --velmar "$DEMO" --usuario ADMIN --password DEMO --tipo-cambio 16 \
  --json demo/respuestas.json --pdf demo/CuestionarioQAVI_2016.pdf
echo "Respuestas: demo/respuestas.json   Reporte: demo/CuestionarioQAVI_2016.pdf"
