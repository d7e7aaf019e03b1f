# Prüft, ob die Installation im Probeordner PROBE alle Dateien an den
# XDG-Orten enthält (Aufruf: cmake -DPROBE=... -DDATEN=share -P PruefeBaum.cmake).
set(erwartet
  ${DATEN}/applications/de.belcorra.tessomir.desktop
  ${DATEN}/metainfo/de.belcorra.tessomir.metainfo.xml
  ${DATEN}/mime/packages/de.belcorra.tessomir.xml
  ${DATEN}/icons/hicolor/scalable/apps/tessomir.svg)
foreach(groesse 16 32 48 128)
  list(APPEND erwartet ${DATEN}/icons/hicolor/${groesse}x${groesse}/apps/tessomir.png)
endforeach()
set(fehlt)
foreach(datei IN LISTS erwartet)
  if(NOT EXISTS ${PROBE}/${datei})
    list(APPEND fehlt ${datei})
  endif()
endforeach()
if(fehlt)
  list(JOIN fehlt "\n  " text)
  message(FATAL_ERROR "Nicht installiert:\n  ${text}")
endif()
