#!/usr/bin/env bash
# Installs what is missing, builds the editor alone and opens it on a working copy of the sample scripts
# (build/muestras), so that the bundled ones stay as they are. Without a display the editor runs in a
# virtual one (Xvfb) until Ctrl+C or SIGTERM; either ends the editor first, as its own signal handling
# does, and only then the virtual display.
set -euo pipefail
source "$(dirname "$0")/comun.sh"
sin_pantalla=false
extra=()
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    sin_pantalla=true
    extra=(xvfb xauth)
fi
"$raiz/scripts/dependencias.sh" "${extra[@]}"
"$raiz/scripts/compilar.sh" velarto

copia="$compilacion/muestras"
if [[ ! -d "$copia" ]]; then
    cp -r "$raiz/muestras" "$copia"
fi
echo "Scripts de muestra en $copia"

# A private folder (mode 0700) for this run: the runtime folder Qt wants when the session has none, and
# the virtual display's authorization. Removed when the script ends, after the display has stopped.
trabajo="$(mktemp -d -t velarto.XXXXXX)"
xvfb=""
terminar() {
    if [[ -n "$xvfb" ]]; then
        kill -TERM "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$trabajo"
}
trap terminar EXIT
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$trabajo}"

# Starts Xvfb on a free display, in a session of its own so that Ctrl+C in this terminal never reaches it,
# and points DISPLAY and XAUTHORITY at it.
iniciar_pantalla_virtual() {
    local galleta numero
    export XAUTHORITY="$trabajo/Xauthority"
    galleta="$(mcookie)"
    touch "$XAUTHORITY"
    # The server accepts every cookie of its file, whatever display the entry names.
    xauth -q -f "$XAUTHORITY" add :0 . "$galleta"
    mkfifo "$trabajo/pantalla"
    setsid Xvfb -displayfd 3 -nolisten tcp -auth "$XAUTHORITY" -screen 0 1280x1024x24 \
        3>"$trabajo/pantalla" </dev/null >"$trabajo/xvfb.log" 2>&1 &
    xvfb=$!
    # Xvfb writes the display's number once it accepts connections, and nothing if it fails.
    if ! read -r numero <"$trabajo/pantalla"; then
        echo "No se pudo iniciar la pantalla virtual (Xvfb):" >&2
        cat "$trabajo/xvfb.log" >&2
        exit 1
    fi
    xauth -q -f "$XAUTHORITY" add ":$numero" . "$galleta"
    export DISPLAY=":$numero"
}

cd "$copia"
if $sin_pantalla; then
    echo "No hay pantalla: el editor se abre en una pantalla virtual (Xvfb). Ctrl+C lo cierra."
    iniciar_pantalla_virtual
fi

# The editor runs in the background so that this script can pass it a SIGTERM of its own; Ctrl+C reaches
# both, and the editor ends on either as on any signal it handles.
"$compilacion/src/main/velarto" &
editor=$!
trap 'kill -TERM "$editor" 2>/dev/null || true' INT TERM HUP
estado=0
while :; do
    wait "$editor" && estado=0 || estado=$?
    kill -0 "$editor" 2>/dev/null || break
done
exit "$estado"
