#!/usr/bin/env bash
# Absturz im echten Fenster: ein Modell öffnen, mit der Tastatur und der Maus
# eine Quelle einfügen, warten, bis die Kopie zur Wiederherstellung steht, das
# Programm mit kill -9 beenden, neu starten und "Ja" wählen. Das
# wiederhergestellte Modell muss Byte für Byte das bearbeitete sein: die
# Kopie, die das neue Fenster davon schreibt, gleicht der vor dem Absturz.
set -euo pipefail
programm=$1
modell=$2

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

arbeit=$(mktemp -d)
chmod 700 "$arbeit"
laufend=()
aufraeumen() {
  for p in "${laufend[@]}"; do { kill -9 "$p" && wait "$p"; } 2>/dev/null || true; done
  rm -rf "$arbeit" 2>/dev/null || true
}
trap aufraeumen EXIT
cp "$modell" "$arbeit/Modell.TSR"
export XDG_CONFIG_HOME="$arbeit" XDG_DATA_HOME="$arbeit" XDG_RUNTIME_DIR="$arbeit" TESSOMIR_WIEDERHERSTELLUNG_MS=300
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
ordner="$arbeit/Belcorra/Tessomir/Wiederherstellung"

# Wartet höchstens zehn Sekunden, bis 'bedingung' gilt.
warten() {
  for _ in $(seq 100); do
    if eval "$1"; then return 0; fi
    sleep 0.1
  done
  echo "Zeitüberschreitung: $1"
  return 1
}

"$programm" "$arbeit/Modell.TSR" 2>"$arbeit/stderr1" &
laufend+=($!)
erster=$!
warten 'fenster=$(xdotool search --name "Tessomir - \[Modell.TSR\]" 2>/dev/null | head -1); [ -n "$fenster" ]'
xdotool windowsize "$fenster" 900 700
sleep 0.5
# Menü Einfügen, zweiter Eintrag "Quelle", dann ein Klick in die Zeichenfläche.
xdotool windowfocus --sync "$fenster" key alt+e
sleep 0.3
xdotool key Down Return
sleep 0.3
xdotool mousemove --window "$fenster" 450 200 click 1
warten '[ -n "$(ls "$ordner"/*.TSR 2>/dev/null)" ]'
sleep 0.5 # ein weiterer Takt: die Kopie ist sicher vollständig
vorher=$(ls "$ordner"/*.TSR)
cp "$vorher" "$arbeit/vorher.TSR"
if cmp -s "$arbeit/vorher.TSR" "$arbeit/Modell.TSR"; then
  echo "Die Kopie gleicht der unbearbeiteten Datei: die Quelle wurde nicht eingefügt."
  exit 1
fi
kill -9 "$erster"
wait "$erster" 2>/dev/null || true

"$programm" 2>"$arbeit/stderr2" &
laufend+=($!)
# Hauptfenster und Frage heissen beide "Tessomir"; die Frage kommt als zweites.
warten '[ "$(xdotool search --onlyvisible --name "^Tessomir$" 2>/dev/null | wc -l)" -ge 2 ]'
frage=$(xdotool search --onlyvisible --name "^Tessomir$" | tail -1)
xdotool windowfocus --sync "$frage" key Return
warten '[ -n "$(xdotool search --name "Tessomir - \[Modell.TSR\]" 2>/dev/null)" ]'
warten '[ ! -e "$vorher" ] && [ -n "$(ls "$ordner"/*.TSR 2>/dev/null)" ]'
nachher=$(ls "$ordner"/*.TSR)
if ! cmp "$arbeit/vorher.TSR" "$nachher"; then
  echo "Das wiederhergestellte Modell ist nicht das bearbeitete."
  exit 1
fi
if [ -s "$arbeit/stderr1" ] || [ -s "$arbeit/stderr2" ]; then
  echo "Ausgaben auf stderr:"
  cat "$arbeit/stderr1" "$arbeit/stderr2"
  exit 1
fi
echo "Wiederherstellung nach kill -9 in Ordnung."
