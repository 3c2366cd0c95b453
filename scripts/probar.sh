#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, headless.
set -euo pipefail
source "$(dirname "$0")/comun.sh"
"$raiz/scripts/dependencias.sh"
"$raiz/scripts/compilar.sh"
cd "$compilacion"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
