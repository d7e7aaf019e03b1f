#!/usr/bin/env bash
# Installiert, baut und startet Tessomir.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/abhaengigkeiten.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"

if [ -x build/src/app/tessomir ]; then
  exec build/src/app/tessomir "$@"
fi
# Solange es kein Programmfenster gibt, rechnet das Kommandozeilenwerkzeug
# das erste Beispielmodell durch.
exec build/src/cli/tessomir-cli berechnen "${1:-beispiele/Recyclinganlage.TSR}"
