#!/usr/bin/env bash
# Screenshots of the program as a user meets it, under a virtual X server (Xvfb) with a window
# manager (openbox), to look at by eye.
#
#   scripts/captura-ventana.sh [-b BUILD] [-v CARPETA_VELMAR] [-u USUARIO -p PASSWORD] [-r]
#                              [-S CARPETA_SUCURSAL[:CLAVE:PASSWORD]]...
#                              [-s ESCALA] [-g ANCHOxALTO] [-x PROGRAMA] [-n] PREFIJO
#
# Writes PREFIJO-inicio.png (the instructions dialog over the fresh window) and PREFIJO-listo.png
# (after answering Yes). With a Velmar folder and an administrator it types them in, presses
# "Detectar PEPs" with Enter, ticks the first candidate and writes PREFIJO-deteccion.png; with -r
# it then presses "Generar reporte", answers Yes and writes PREFIJO-reporte.png (the preview),
# PREFIJO-miniaturas.png (its page thumbnails open) and PREFIJO-exportar.png (the PDF export dialog).
# Each -S names another branch (in order: 2, 3, ...): before detecting, "Sucursales…" is pressed and
# each folder added through the folder chooser (PREFIJO-elige.png, the first one), with its own key
# when given (its password is then typed at the prompt the run asks, PREFIJO-password.png); the
# list is PREFIJO-sucursales.png, and PREFIJO-deteccion.png shows the grid with the branch column.
# -s 1.5 draws everything at 150 % (QT_SCALE_FACTOR), -g sets the screen (default 1280x1024),
# -x takes another program (an unpacked package's, for instance) instead of the build's; -n runs
# without a window manager (under openbox on Xvfb the export dialog may stay unpainted).
# The Velmar folders (tools/velmar-demo writes them) are copied, never touched: the program reads its
# files beside its own executable, so the copy gets a copy of the executable too. The program's
# settings (the list of branches) go to the work folder, not to the user's.
# Needs xvfb, openbox, x11-apps (xwd), x11-utils (xwininfo), imagemagick and xdotool
# (scripts/install-deps.sh).
set -euo pipefail

BUILD=""
VELMAR=""
USUARIO=""
PASSWORD=""
REPORTE=""
ESCALA=1
PANTALLA_TAM=1280x1024
EXE=""
SIN_WM=""
SUCURSALES=()
USO="Uso: $0 [-b BUILD] [-v CARPETA_VELMAR] [-u USUARIO -p PASSWORD] [-r] [-S CARPETA[:CLAVE:PASSWORD]]... [-s ESCALA] [-g ANCHOxALTO] [-x PROGRAMA] [-n] PREFIJO"
while getopts "b:v:u:p:rS:s:g:x:n" opt; do
  case $opt in
    b) BUILD=$OPTARG ;;
    v) VELMAR=$OPTARG ;;
    u) USUARIO=$OPTARG ;;
    p) PASSWORD=$OPTARG ;;
    r) REPORTE=1 ;;
    S) SUCURSALES+=("$OPTARG") ;;
    s) ESCALA=$OPTARG ;;
    g) PANTALLA_TAM=$OPTARG ;;
    x) EXE=$OPTARG ;;
    n) SIN_WM=1 ;;
    *) echo "$USO" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -eq 1 ] || { echo "$USO" >&2; exit 2; }
PREFIJO=$(realpath -m "$1")
mkdir -p "$(dirname "$PREFIJO")"

RAIZ=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "$EXE" ]; then
  if [ -z "$BUILD" ]; then
    BUILD=$(ls -td "$RAIZ"/build*/src/app/CuestionarioQAVI_2016 2>/dev/null | head -1 | xargs -r dirname | xargs -r dirname | xargs -r dirname)
  fi
  EXE="$BUILD/src/app/CuestionarioQAVI_2016"
fi
[ -x "$EXE" ] || { echo "No se encontró el programa en $EXE; compílelo con -DQAVI_GUI=ON." >&2; exit 1; }
for prog in Xvfb openbox xwd xwininfo convert xdotool; do
  command -v "$prog" >/dev/null || { echo "Falta $prog (scripts/install-deps.sh)." >&2; exit 1; }
done

TRABAJO=$(mktemp -d)
XVFB_PID=""
WM_PID=""
APP_PID=""
termina() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
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
# Each branch: its copy, and its key and password if it has its own.
COPIAS=()
CLAVES=()
PASSWORDS=()
for i in "${!SUCURSALES[@]}"; do
  IFS=: read -r origen clave password <<<"${SUCURSALES[$i]}"
  copia="$TRABAJO/Sucursal $((i + 2))"
  mkdir -p "$copia/DataBase"
  cp "$origen/DataBase/Velmar.mdb" "$copia/DataBase/"
  [ -f "$origen/Velmar.INI" ] && cp "$origen/Velmar.INI" "$copia/"
  COPIAS+=("$copia")
  CLAVES+=("$clave")
  PASSWORDS+=("$password")
done

# A free display number, told by the server itself.
exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 "${PANTALLA_TAM}x24" -nolisten tcp >"$TRABAJO/xvfb.log" 2>&1 &
XVFB_PID=$!
read -r -t 10 PANTALLA <&3 || { echo "Xvfb no arrancó." >&2; exit 1; }
export DISPLAY=":$PANTALLA"
if [ -z "$SIN_WM" ]; then
  openbox --sm-disable >"$TRABAJO/openbox.log" 2>&1 &
  WM_PID=$!
  sleep 1
fi

captura() {
  sleep "${2:-1}"
  xwd -root -silent | convert xwd:- "png:$1"
  echo "Captura: $1"
}
# As captura, with one window taken from itself and laid over the screen: a dialog that has a
# parent comes out black in a capture of the whole screen under Xvfb, though it is drawn.
captura_encima() {
  sleep "${3:-1}"
  local x y
  x=$(xwininfo -id "$2" | awk '/Absolute upper-left X:/ {print $4}')
  y=$(xwininfo -id "$2" | awk '/Absolute upper-left Y:/ {print $4}')
  xwd -root -silent | convert xwd:- "png:$TRABAJO/pantalla.png"
  xwd -id "$2" -silent | convert xwd:- "png:$TRABAJO/ventana.png"
  convert "$TRABAJO/pantalla.png" "$TRABAJO/ventana.png" -geometry "+$x+$y" -composite "png:$1"
  echo "Captura: $1"
}
# Brings a window to the front and gives it the keyboard (without a window manager the keyboard
# follows the pointer: it is put over the window).
activa() {
  if [ -n "$SIN_WM" ]; then
    xdotool mousemove --window "$1" 40 40
  else
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true
  fi
}
# Clicks at a point given in the window's design pixels (690 x 730), whatever its scale.
clic_en() {
  local ancho alto
  ancho=$(xwininfo -id "$VENTANA" | awk '/Width:/ {print $2}')
  alto=$(xwininfo -id "$VENTANA" | awk '/Height:/ {print $2}')
  xdotool mousemove --window "$VENTANA" "$(awk -v w="$ancho" -v d="$1" 'BEGIN{printf "%d", d * w / 690}')" \
    "$(awk -v h="$alto" -v d="$2" 'BEGIN{printf "%d", d * h / 730}')" click 1
}

# Started from another folder: the program must still find its files beside the executable.
(cd / && XDG_CONFIG_HOME="$TRABAJO/config" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$ESCALA" \
  "$TRABAJO/Velmar/CuestionarioQAVI_2016" >"$TRABAJO/app.log" 2>&1) &
APP_PID=$!

DIALOGO=$(xdotool search --sync --onlyvisible --name "^Advertencia$" | head -1)
captura_encima "$PREFIJO-inicio.png" "$DIALOGO" 2

# Yes is the default button of the instructions dialog (looked for again: fitting it to the
# screen may have given it a new window).
DIALOGO=$(xdotool search --sync --onlyvisible --name "^Advertencia$" | tail -1)
activa "$DIALOGO"
xdotool key Return
VENTANA=$(xdotool search --sync --onlyvisible --name "^Cuestionario QAVI 2016$" | head -1)
activa "$VENTANA"
captura "$PREFIJO-listo.png"

if [ -n "$VELMAR" ] && [ -n "$USUARIO" ]; then
  # Focus is in the rate box: Enter goes on to the user box, then to the password and the button,
  # and Enter on the button presses it.
  xdotool key Return
  xdotool type --delay 30 "$USUARIO"
  xdotool key Return
  xdotool type --delay 30 "$PASSWORD"
  xdotool key Return
  if [ ${#COPIAS[@]} -eq 0 ]; then
    xdotool key Return
  else
    clic_en $((479 + 52)) $((237 + 12))
    LISTA=$(xdotool search --sync --onlyvisible --name "^Sucursales$" | head -1)
    activa "$LISTA"
    for i in "${!COPIAS[@]}"; do
      # Alt+A: "Agregar…"; the folder is typed into the chooser's name box.
      xdotool key alt+a
      ELIGE=$(xdotool search --sync --onlyvisible --name "^Carpeta del Velmar de la sucursal$" | head -1)
      activa "$ELIGE"
      sleep 0.5
      xdotool type --delay 20 "${COPIAS[$i]}"
      [ "$i" -eq 0 ] && captura_encima "$PREFIJO-elige.png" "$ELIGE" 1
      xdotool key Return
      sleep 1
      activa "$LISTA"
      # Alt+C: the key of the branch just added (selected).
      xdotool key alt+c
      [ -n "${CLAVES[$i]}" ] && xdotool type --delay 30 "${CLAVES[$i]}"
    done
    captura_encima "$PREFIJO-sucursales.png" "$LISTA" 1
    # Enter in the key box: "Aceptar".
    xdotool key Return
    sleep 0.5
    activa "$VENTANA"
    clic_en $((479 + 52)) $((335 + 12))
    for i in "${!COPIAS[@]}"; do
      [ -n "${CLAVES[$i]}" ] || continue
      PIDE=$(xdotool search --sync --onlyvisible --name "^Contraseña de la sucursal$" | head -1)
      activa "$PIDE"
      xdotool type --delay 30 "${PASSWORDS[$i]}"
      captura_encima "$PREFIJO-password.png" "$PIDE" 1
      xdotool key Return
    done
  fi
  # The run shows its texts on the status line; the last one stays 3 seconds.
  sleep 2
  # Tick the first candidate: the mark cell of the grid's first row (grid at 95,491; titles ~17 px).
  clic_en $((95 + 42)) $((491 + 28))
  captura "$PREFIJO-deteccion.png" 0.5
  if [ -n "$REPORTE" ]; then
    clic_en $((512 + 52)) $((678 + 12))
    activa "$(xdotool search --sync --onlyvisible --name "^Advertencia$" | head -1)"
    xdotool key Return
    # 191 answers, then the preview of 21 pages.
    VISTA=$(xdotool search --sync --onlyvisible --name "^Encuesta KORU 2016$" | head -1)
    activa "$VISTA"
    captura "$PREFIJO-reporte.png" 2
    # The toolbar, in order: print, export, page setup | fit width, whole page, zoom, out, in | thumbnails.
    boton() { xdotool mousemove --window "$VISTA" "$(awk -v s="$ESCALA" -v d="$1" 'BEGIN{printf "%d", d * s}')" \
                "$(awk -v s="$ESCALA" 'BEGIN{printf "%d", 19 * s}')" click 1; }
    boton 329
    captura "$PREFIJO-miniaturas.png" 2
    boton 53
    EXPORTA=$(xdotool search --sync --onlyvisible --name "^Exportar a PDF$" | head -1)
    captura_encima "$PREFIJO-exportar.png" "$EXPORTA" 3
    xdotool key Escape
  fi
fi
