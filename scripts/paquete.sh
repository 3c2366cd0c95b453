#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine and starts the installed editor headless: it must
# stay up for a few seconds and end cleanly when told to (SIGTERM).
set -euo pipefail
source "$(dirname "$0")/comun.sh"
"$raiz/scripts/dependencias.sh" dpkg-dev appstream desktop-file-utils
"$raiz/scripts/compilar.sh"
cd "$compilacion"
rm -f velarto_*.deb
cpack -G DEB >/dev/null
paquete="$(ls "$compilacion"/velarto_*.deb)"
dpkg-deb -f "$paquete" Depends
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$paquete" >/dev/null
appstreamcli validate --no-net /usr/share/metainfo/org.velarto.Velarto.metainfo.xml
desktop-file-validate /usr/share/applications/org.velarto.Velarto.desktop
test -f /usr/share/icons/hicolor/48x48/apps/org.velarto.Velarto.png

trabajo="$(mktemp -d)"
trap 'rm -rf "$trabajo"' EXIT
cp -r "$raiz/muestras/." "$trabajo"
cd "$trabajo"
QT_QPA_PLATFORM=offscreen /usr/bin/velarto &
editor=$!
sleep 4
if ! kill -0 "$editor" 2>/dev/null; then
    echo "El editor instalado terminó antes de tiempo" >&2
    exit 1
fi
kill -TERM "$editor"
codigo=0
wait "$editor" || codigo=$?
if ((codigo != 0)); then
    echo "El editor instalado terminó con el código $codigo" >&2
    exit 1
fi
echo "Paquete instalado y probado: $(basename "$paquete")"
