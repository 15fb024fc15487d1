#!/usr/bin/env bash
# Screenshots of the main window under a virtual X server (Xvfb), to compare with the design by eye.
#
#   scripts/captura-ventana.sh [-b BUILD] [-v CARPETA_VELMAR] [-u USUARIO -p PASSWORD] [-r] PREFIJO
#
# Writes PREFIJO-inicio.png (the instructions dialog over the fresh window) and PREFIJO-listo.png
# (after answering Yes). With a Velmar folder and an administrator it also types them in, presses
# "Detectar PEPs", ticks the first candidate and writes PREFIJO-deteccion.png; with -r it then
# presses "Generar reporte", answers Yes and writes PREFIJO-reporte.png (the preview).
# The Velmar folder (tools/velmar-demo writes one) is copied, never touched: the program reads its
# files beside its own executable, so the copy gets a copy of the executable too.
# Needs xvfb, x11-apps (xwd), imagemagick and xdotool (scripts/install-deps.sh).
set -euo pipefail

BUILD=""
VELMAR=""
USUARIO=""
PASSWORD=""
REPORTE=""
while getopts "b:v:u:p:r" opt; do
  case $opt in
    b) BUILD=$OPTARG ;;
    v) VELMAR=$OPTARG ;;
    u) USUARIO=$OPTARG ;;
    p) PASSWORD=$OPTARG ;;
    r) REPORTE=1 ;;
    *) echo "Uso: $0 [-b BUILD] [-v CARPETA_VELMAR] [-u USUARIO -p PASSWORD] [-r] PREFIJO" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -eq 1 ] || { echo "Uso: $0 [-b BUILD] [-v CARPETA_VELMAR] [-u USUARIO -p PASSWORD] [-r] PREFIJO" >&2; exit 2; }
PREFIJO=$1

RAIZ=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "$BUILD" ]; then
  BUILD=$(ls -td "$RAIZ"/build*/src/app/CuestionarioQAVI_2016 2>/dev/null | head -1 | xargs -r dirname | xargs -r dirname | xargs -r dirname)
fi
EXE="$BUILD/src/app/CuestionarioQAVI_2016"
[ -x "$EXE" ] || { echo "No se encontró el programa en $EXE; compílelo con -DQAVI_GUI=ON." >&2; exit 1; }
for prog in Xvfb xwd convert xdotool; do
  command -v "$prog" >/dev/null || { echo "Falta $prog (scripts/install-deps.sh)." >&2; exit 1; }
done

TRABAJO=$(mktemp -d)
XVFB_PID=""
APP_PID=""
termina() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$TRABAJO"
}
trap termina EXIT

if [ -n "$VELMAR" ]; then
  mkdir -p "$TRABAJO/Velmar/DataBase"
  cp "$VELMAR/DataBase/Velmar.mdb" "$TRABAJO/Velmar/DataBase/"
  [ -f "$VELMAR/Velmar.INI" ] && cp "$VELMAR/Velmar.INI" "$TRABAJO/Velmar/"
else
  mkdir -p "$TRABAJO/Velmar"
fi
cp "$EXE" "$TRABAJO/Velmar/"

# A free display number, told by the server itself.
exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1024x800x24 -nolisten tcp >"$TRABAJO/xvfb.log" 2>&1 &
XVFB_PID=$!
read -r -t 10 PANTALLA <&3 || { echo "Xvfb no arrancó." >&2; exit 1; }
export DISPLAY=":$PANTALLA"

captura() {
  sleep "${2:-1}"
  xwd -root -silent | convert xwd:- "png:$1"
  echo "Captura: $1"
}

# Started from another folder: the program must still find its files beside the executable.
(cd / && QT_QPA_PLATFORM=xcb "$TRABAJO/Velmar/CuestionarioQAVI_2016" >"$TRABAJO/app.log" 2>&1) &
APP_PID=$!

xdotool search --sync --onlyvisible --name "^Advertencia$" >/dev/null
captura "$PREFIJO-inicio.png"

# Yes is the default button of the instructions dialog.
# Without a window manager the keyboard follows the pointer: keep it over the dialog and the window.
xdotool mousemove 512 400
xdotool key Return
VENTANA=$(xdotool search --sync --onlyvisible --name "^Cuestionario QAVI 2016$" | head -1)
captura "$PREFIJO-listo.png"

if [ -n "$VELMAR" ] && [ -n "$USUARIO" ]; then
  # Focus is in the rate box: Enter goes on to the user box, then to the password and the button.
  xdotool key Return
  xdotool type --delay 30 "$USUARIO"
  xdotool key Return
  xdotool type --delay 30 "$PASSWORD"
  xdotool key Return
  xdotool key space
  # The run shows its texts on the status line; the last one stays 3 seconds.
  sleep 2
  # Tick the first candidate: the mark cell of the grid's first row (grid at 95,491; titles ~17 px).
  eval "$(xdotool getwindowgeometry --shell "$VENTANA")"
  xdotool mousemove $((X + 95 + 42)) $((Y + 491 + 27)) click 1
  captura "$PREFIJO-deteccion.png" 0.5
  if [ -n "$REPORTE" ]; then
    xdotool mousemove $((X + 512 + 52)) $((Y + 678 + 12)) click 1
    xdotool search --sync --onlyvisible --name "^Advertencia$" >/dev/null
    xdotool mousemove 512 400
    xdotool key Return
    # 191 answers, then the preview of 21 pages.
    sleep 15
    captura "$PREFIJO-reporte.png" 0
  fi
fi
