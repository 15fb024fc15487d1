# Sourced by the benchmarks of the headless command: `. bench/comun.sh BUILD_DIR` finds the
# build's demo generator and headless command (stopping when either is missing) and makes a
# work folder that goes when the benchmark ends.
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$raiz/build}"
demo="$build/tools/velmar-demo/velmar-demo"
cli="$build/src/cli/cuestionario-qavi"
for p in "$demo" "$cli"; do
  [ -x "$p" ] || { echo "No se encontró $p; compile antes el proyecto." >&2; exit 1; }
done
trabajo="$(mktemp -d)"
trap 'rm -rf "$trabajo"' EXIT
