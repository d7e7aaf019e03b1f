#pragma once
// Die Zeichenfläche PBHaupt des Hauptfensters. Sie zeichnet das aktuelle
// Modell über die Ansicht in ein Bild, das den sichtbaren Ausschnitt deckt;
// ein Malereignis kopiert nur den ungültigen Bereich aus diesem Bild. Auf das
// Bild können Gummifiguren in Nicht-Xor gezeichnet werden, zweimal gezeichnet
// löschen sie sich wieder.
#include <QImage>
#include <QTimer>
#include <QPainter>
#include <QWidget>
#include <functional>

#include "qt/UQtZeichenflaeche.h"

namespace tessomir {

class TAnsicht;
class TModell;

class TZeichenfeld final : public QWidget {
    Q_OBJECT
public:
    static constexpr int MindestBreite = 2000;
    static constexpr int MindestHoehe = 4000;

    // Die Ansicht muss das Zeichenfeld überleben; außerhalb des Malens misst
    // sie auf einer eigenen Fläche des Zeichenfelds.
    TZeichenfeld(TAnsicht& ansicht, QWidget* eltern);
    ~TZeichenfeld() override;

    // Das gezeigte Modell (nullptr: keins); danach Neuzeichnen.
    void ModellSetzen(const TModell* modell) { Modell = modell; }
    // Nach jeder Änderung an Modell oder Massstab: Größe anpassen, Bild verwerfen.
    void Neuzeichnen();
    // Malt auf das Bild und zeigt den Bereich 'geaendert' (Widget-Koordinaten).
    void AufBildZeichnen(const std::function<void(IZeichenflaeche&)>& zeichnen, const QRect& geaendert);

    // Zeichnet das Modell ohne Löschen über das Bild und zeigt den sichtbaren Teil.
    void ModellUeberzeichnen();
    // Eine Gummifigur auf das Bild; gezeigt wird nur, was 'zeichnen' berührt.
    // Ohne gültiges Bild läuft 'zeichnen' auf der Messfläche: der Zustand, den
    // es ändert, soll sich auch dann ändern.
    void GummiZeichnen(const std::function<void()>& zeichnen);
    // Zeichnet die gerade stehende Gummifigur; läuft nach jedem Erneuern des
    // Bildes, damit das nächste Löschen in Nicht-Xor sie wirklich trifft.
    void GummifigurSetzen(std::function<void()> figur) { Gummifigur = std::move(figur); }

    // Ein Rahmen um 'bereich' (eigene Koordinaten) für 'dauerMs', über dem
    // Bild: er gehört nicht zum Diagramm und verschwindet von selbst.
    void Hervorheben(const QRect& bereich, int dauerMs = 1500);
    QRect Hervorhebung() const { return Markierung; }

    const QImage& Bild() const { return Bildpuffer; }
    // Sichtbarer Ausschnitt in eigenen Koordinaten.
    QRect Sichtbar() const;

signals:
    // Am Ende jedes Malens.
    void Gemalt();
    // Das Diagramm ließ sich nicht ganz zeichnen; einmal je Fehlerfolge.
    void NichtDarstellbar(const QString& grund);
    void MausGedrueckt(QMouseEvent* ereignis);
    void MausBewegt(QMouseEvent* ereignis);
    void MausLosgelassen(QMouseEvent* ereignis);
    void Doppelklick(QMouseEvent* ereignis);

protected:
    void paintEvent(QPaintEvent* ereignis) override;
    void mousePressEvent(QMouseEvent* ereignis) override { emit MausGedrueckt(ereignis); }
    void mouseMoveEvent(QMouseEvent* ereignis) override { emit MausBewegt(ereignis); }
    void mouseReleaseEvent(QMouseEvent* ereignis) override { emit MausLosgelassen(ereignis); }
    void mouseDoubleClickEvent(QMouseEvent* ereignis) override { emit Doppelklick(ereignis); }

private:
    void GroesseAnpassen();
    void BildErneuern(const QRect& bereich);
    void ModellAufBild(QPainter& maler);

    TAnsicht& Ansicht;
    const TModell* Modell = nullptr;
    // Messfläche für Zeichnungsgröße und Treffer außerhalb des Malens.
    QImage Messbild{1, 1, QImage::Format_RGB32};
    QPainter Messmaler{&Messbild};
    TQtZeichenflaeche Messflaeche{Messmaler};
    // Fertig gesetzte Texte über alle Neuzeichnungen.
    TQtTextSpeicher Texte;

    // Bereich des Bildes in eigenen Koordinaten; das Bild selbst hat so viele
    // Pixel mehr, wie das Pixelverhältnis des Geräts verlangt.
    QRect Bildbereich() const { return QRect(BildUrsprung, BildGroesse); }
    QImage Bildpuffer;
    QPoint BildUrsprung;
    QSize BildGroesse;
    std::function<void()> Gummifigur;
    bool BildGueltig = false;
    bool FehlerGemeldet = false;
    QRect Markierung;
    QTimer* MarkierungsTakt = nullptr;
};

} // namespace tessomir
