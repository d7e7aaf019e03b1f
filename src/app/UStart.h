#pragma once
// Was das Programm beim Start einrichtet, bevor das Hauptfenster entsteht.
class QCoreApplication;

namespace tessomir {

// Lädt die deutschen Texte von Qt (Knöpfe "Ja", "Nein", "Abbrechen", Dateidialoge)
// unabhängig von der Sprache des Benutzers. Falsch, wenn sie fehlen.
bool DeutscheQtTexteLaden(QCoreApplication& anwendung);

} // namespace tessomir
