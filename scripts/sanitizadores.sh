#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-san/ and runs every
# test there. Leak reports from system libraries are suppressed by tests/lsan.supp, which says why.
set -euo pipefail
source "$(dirname "$0")/comun.sh"
"$raiz/scripts/dependencias.sh"
configurar "$raiz/build-san" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build "$raiz/build-san"
cd "$raiz/build-san"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$raiz/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
