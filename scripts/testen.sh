#!/usr/bin/env bash
# Installiert, baut und führt alle Tests aus: normaler Build mit allen Tests,
# dazu der Kern unter AddressSanitizer und UndefinedBehaviorSanitizer, die
# Fadenprobe unter ThreadSanitizer und die Fuzz-Ziele.
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

# Kern unter Clangs UndefinedBehaviorSanitizer, der auch Zeigerüberläufe sieht.
cmake -S . -B build-ubsan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DTESSOMIR_UBSAN=ON \
  -DTESSOMIR_QT=OFF -DTESSOMIR_BENCH=OFF
cmake --build build-ubsan -j "$JOBS"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --test-dir build-ubsan --output-on-failure -j "$JOBS" -L kern

# Zwei Modelle in zwei Fäden unter ThreadSanitizer: kein Zustand ausserhalb der Modelle.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSOMIR_TSAN=ON -DTESSOMIR_QT=OFF -DTESSOMIR_BENCH=OFF
cmake --build build-tsan -j "$JOBS" --target test_nebenlaeufig
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/analysis/test_nebenlaeufig

# Beide Fuzz-Ziele ein paar Sekunden auf ihrem Korpus; neue Eingaben gehen in
# einen Wegwerfordner, der Korpus im Repository bleibt, wie er ist.
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTESSOMIR_FUZZ=ON \
  -DTESSOMIR_QT=OFF -DTESSOMIR_TESTS=OFF -DTESSOMIR_BENCH=OFF
cmake --build build-fuzz -j "$JOBS" --target fuzz_modelldatei fuzz_bearbeiten fuzz_tabelle
for ziel in fuzz_modelldatei fuzz_bearbeiten fuzz_tabelle; do
  arbeit=$(mktemp -d)
  mkdir "$arbeit/korpus"
  korpus=fuzz/korpus
  woerter=(-dict=fuzz/tsr.dict)
  if [ "$ziel" = fuzz_tabelle ]; then korpus=fuzz/korpus_tabelle; woerter=(); fi
  if ! build-fuzz/fuzz/$ziel "${woerter[@]}" -max_total_time=5 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$arbeit/" "$arbeit/korpus" "$korpus" > "$arbeit/lauf.txt" 2>&1; then
    cat "$arbeit/lauf.txt"
    echo "$ziel: Fund in $arbeit"
    exit 1
  fi
  echo "$ziel: $(grep -c . "$arbeit/lauf.txt") Zeilen, $(tail -n 1 "$arbeit/lauf.txt")"
  rm -rf "$arbeit"
done

echo "Alle Tests bestanden."
