#!/usr/bin/env bash
# Kein Include läuft aufwärts: jeder Ordner unter src/ darf nur sich selbst
# und die Schichten darunter einbinden.
set -euo pipefail
src="${1:?Ordner src fehlt}"
kern="base model persistence analysis view editing"
declare -A erlaubt=(
  [base]="base"
  [model]="base model"
  [persistence]="base model persistence"
  [analysis]="base model persistence analysis"
  [view]="base model persistence analysis view"
  [editing]="$kern"
  [qt]="$kern qt"
  [help]="$kern qt help"
  [dialogs]="$kern qt help dialogs"
  [app]="$kern qt help dialogs app"
  [cli]="$kern qt cli"
)
fehler=0
for ordner in "$src"/*/; do
  schicht=$(basename "$ordner")
  if [[ -z "${erlaubt[$schicht]+x}" ]]; then
    echo "unbekannte Schicht: $schicht"
    fehler=1
    continue
  fi
  while IFS= read -r zeile; do
    ziel=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<< "${zeile#*:}")
    if [[ " ${erlaubt[$schicht]} " != *" $ziel "* ]]; then
      echo "aufwärts: $zeile"
      fehler=1
    fi
  done < <(grep -rnE '^#include "[a-z]+/' "$ordner" || true)
done
exit $fehler
