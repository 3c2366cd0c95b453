#!/usr/bin/env bash
# Configures and builds the editor, its tests and its benchmark in build/.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$raiz" -B "$raiz/build" -G Ninja -DCMAKE_BUILD_TYPE="${TIPO_COMPILACION:-RelWithDebInfo}" >/dev/null
cmake --build "$raiz/build"
