#!/usr/bin/env bash
# Installiert alle Pakete, die Tessomir zum Bauen, Testen und Starten braucht.
# Mehrfach aufrufbar; ist schon alles da, endet es sofort.
set -euo pipefail

PAKETE=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libchm-dev fp-utils
  libxlsxwriter-dev libzip-dev libexpat1-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool
  desktop-file-utils appstream libxml2-utils
  poppler-utils
)

fehlend=()
for p in "${PAKETE[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    fehlend+=("$p")
  fi
done

if [ ${#fehlend[@]} -eq 0 ]; then
  exit 0
fi

echo "Installiere: ${fehlend[*]}"
if [ "$(id -u)" -eq 0 ]; then
  ALS_ROOT=()
else
  ALS_ROOT=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${ALS_ROOT[@]}" apt-get update -q
"${ALS_ROOT[@]}" apt-get install -y -q --no-install-recommends "${fehlend[@]}"
