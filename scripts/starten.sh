#!/usr/bin/env bash
# Installiert, baut und startet Tessomir; ohne Argument mit einem Beispielmodell.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/abhaengigkeiten.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"

if [ $# -eq 0 ]; then
  set -- beispiele/Recyclinganlage.TSR
fi
exec build/src/app/tessomir "$@"
