#!/usr/bin/env bash
# Configures and builds (see scripts/comun.sh for the folder): the targets named, or else everything, the
# editor, its tests and its benchmark.
set -euo pipefail
source "$(dirname "$0")/comun.sh"
configurar "$compilacion" -DCMAKE_BUILD_TYPE="${TIPO_COMPILACION:-RelWithDebInfo}"
if (($#)); then
    cmake --build "$compilacion" --target "$@"
else
    cmake --build "$compilacion"
fi
