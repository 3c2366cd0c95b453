#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer on) and runs
# each for a bounded time, starting from the seed corpus in fuzz/semillas (which stays as it is).
# Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
source "$(dirname "$0")/comun.sh"
segundos="${1:-60}"
# Debian's default clang and its run-time libraries, whatever version that is.
"$raiz/scripts/dependencias.sh" clang libclang-rt-dev
configurar "$raiz/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DVELARTO_FUZZ=ON -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
objetivos=()
for fuente in "$raiz"/fuzz/fuzz_*.cpp; do
    objetivos+=("$(basename "$fuente" .cpp)")
done
cmake --build "$raiz/build-fuzz" --target "${objetivos[@]}"

export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export QT_QPA_PLATFORM=offscreen
for objetivo in "${objetivos[@]}"; do
    semillas="$raiz/fuzz/semillas/${objetivo#fuzz_}"
    trabajo="$raiz/build-fuzz/corpus/$objetivo"
    mkdir -p "$trabajo"
    echo "== $objetivo: $segundos s"
    registro="$raiz/build-fuzz/$objetivo.log"
    codigo=0
    "$raiz/build-fuzz/fuzz/$objetivo" -max_total_time="$segundos" -timeout=10 -rss_limit_mb=4096 \
        -print_final_stats=1 "$trabajo" "$semillas" >"$registro" 2>&1 || codigo=$?
    grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$registro" || true
    if ((codigo != 0)); then
        tail -n 60 "$registro"
        exit "$codigo"
    fi
done
