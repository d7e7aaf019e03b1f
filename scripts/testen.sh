#!/usr/bin/env bash
# Installiert, baut und führt alle Tests aus: normaler Build mit allen Tests,
# dazu der Kern unter AddressSanitizer und UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/abhaengigkeiten.sh
JOBS=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$JOBS"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$JOBS"

# Kern mit Sanitizern; jeder Bericht bricht den Test ab.
cmake -S . -B build-san -DCMAKE_BUILD_TYPE=Debug -DTESSOMIR_SANITIZE=ON -DTESSOMIR_QT=OFF -DTESSOMIR_BENCH=OFF
cmake --build build-san -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-san --output-on-failure -j "$JOBS" -L kern

echo "Alle Tests bestanden."
