#!/usr/bin/env bash
# Startet das Programm unter Xvfb mit einer Modelldatei und lässt es nach dem
# ersten Malen schliessen. Fehlschlag bei Rückgabewert ungleich 0 oder bei
# irgendeiner Ausgabe auf stderr.
set -euo pipefail
programm=$1
modell=$2

arbeit=$(mktemp -d)
trap 'rm -rf "$arbeit" 2>/dev/null || true' EXIT
chmod 700 "$arbeit"

rc=0
env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY \
  QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$arbeit" XDG_DATA_HOME="$arbeit" XDG_RUNTIME_DIR="$arbeit" TESSOMIR_PROBELAUF=1 \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$programm" "$modell" 2>"$arbeit/stderr" || rc=$?

if [ -s "$arbeit/stderr" ]; then
  echo "Ausgaben auf stderr:"
  cat "$arbeit/stderr"
  exit 1
fi
if [ "$rc" -ne 0 ]; then
  echo "Rückgabewert $rc"
  exit 1
fi
if [ ! -s "$arbeit/Belcorra/TessomirV20.conf" ]; then
  echo "Die Fensterlage wurde nicht geschrieben."
  exit 1
fi
echo "Probelauf in Ordnung."
