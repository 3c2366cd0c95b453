#!/usr/bin/env bash
# Installs what is missing, builds the editor and opens it on a working copy of the sample scripts
# (build/muestras), so that the bundled ones stay as they are.
set -euo pipefail
source "$(dirname "$0")/comun.sh"
extra=()
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    extra=(xvfb xauth)
fi
"$raiz/scripts/dependencias.sh" "${extra[@]}"
"$raiz/scripts/compilar.sh"

copia="$compilacion/muestras"
if [[ ! -d "$copia" ]]; then
    cp -r "$raiz/muestras" "$copia"
fi
echo "Scripts de muestra en $copia"
cd "$copia"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No hay pantalla: el editor se abre en una pantalla virtual (Xvfb)."
    exec xvfb-run -a "$compilacion/src/main/velarto"
fi
exec "$compilacion/src/main/velarto"
