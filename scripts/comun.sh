# Sourced by the other scripts: where the build goes and how it is configured.
#   VELARTO_COMPILACION  build folder (default: build/ in the repository)
#   VELARTO_GENERADOR    CMake generator (default: Ninja)
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
compilacion="${VELARTO_COMPILACION:-$raiz/build}"
generador="${VELARTO_GENERADOR:-Ninja}"

# Configures a build folder quietly; a failing configure shows what it said.
configurar() {
    local carpeta="$1"
    shift
    local registro
    registro="$(mktemp)"
    if ! cmake -S "$raiz" -B "$carpeta" -G "$generador" "$@" >"$registro" 2>&1; then
        cat "$registro" >&2
        rm -f "$registro"
        return 1
    fi
    rm -f "$registro"
}
