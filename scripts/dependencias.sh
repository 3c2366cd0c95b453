#!/usr/bin/env bash
# Installs, through apt-get, the Debian packages the editor needs to build, test and run; only what is
# missing, so a machine that has them all is left alone.
set -euo pipefail

paquetes=(
    cmake ninja-build g++ pkg-config file dpkg-dev
    qt6-base-dev qt6-svg-dev libqt6svg6 qt6-translations-l10n
    libhunspell-dev hunspell-es libuchardet-dev libsqlite3-dev
    fonts-liberation fonts-dejavu-core fonts-noto-cjk
    xdotool
    "$@"
)

faltan=()
for paquete in "${paquetes[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$paquete" 2>/dev/null | grep -q 'install ok installed'; then
        faltan+=("$paquete")
    fi
done

if ((${#faltan[@]})); then
    echo "Instalando: ${faltan[*]}"
    # apt-get needs root: a user who is not gets sudo, when there is one.
    como=()
    if ((EUID != 0)); then
        if ! command -v sudo >/dev/null; then
            echo "Faltan paquetes y no hay sudo: instálelos como root con apt-get install ${faltan[*]}" >&2
            exit 1
        fi
        como=(sudo)
    fi
    "${como[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${como[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi
