#!/usr/bin/env bash
# Builds the Debian package (CPack) into dist/ and checks it as an installer would: its
# dependencies with dpkg -I, then unpacked into a fresh folder (dpkg -x), both programs started
# from there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
rm -f dist/cuestionario-qavi-2016_*.deb
(cd "$BUILD_DIR" && cpack -G DEB)
DEB=$(ls dist/cuestionario-qavi-2016_*.deb)
echo "Paquete: $DEB"
dpkg-deb -I "$DEB"
dpkg-deb -c "$DEB"

ARBOL=$(mktemp -d)
trap 'rm -rf "$ARBOL"' EXIT
dpkg -x "$DEB" "$ARBOL"
# The headless command answers from the unpacked tree, on a small demo installation.
"$BUILD_DIR/tools/velmar-demo/velmar-demo" "$ARBOL/Velmar" --operaciones 300 >/dev/null
QAVI_PASSWORD=DEMO QT_QPA_PLATFORM=offscreen "$ARBOL/usr/bin/cuestionario-qavi" --velmar "$ARBOL/Velmar" \
  --usuario ADMIN --detectar-peps
# The window starts from there too (as the menu entry starts it) and shows its instructions.
if command -v Xvfb >/dev/null && [ -x "$ARBOL/usr/bin/CuestionarioQAVI_2016" ]; then
  bash scripts/captura-ventana.sh -x "$ARBOL/usr/bin/CuestionarioQAVI_2016" "${SALIDA:-/tmp/paquete}/paquete"
fi
echo "paquete: listo, $DEB"
