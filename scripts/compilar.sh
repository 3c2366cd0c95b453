#!/usr/bin/env bash
# Configures and builds the editor, its tests and its benchmark (see scripts/comun.sh for the folder).
set -euo pipefail
source "$(dirname "$0")/comun.sh"
configurar "$compilacion" -DCMAKE_BUILD_TYPE="${TIPO_COMPILACION:-RelWithDebInfo}"
cmake --build "$compilacion"
