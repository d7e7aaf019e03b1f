#include "qt/UUebersichtModell.h"

#include <QTimer>
#include <unordered_map>

#include "analysis/UBilanz.h"
#include "qt/UQtText.h"

namespace tessomir {

TUebersichtModell::TUebersichtModell(QObject* eltern) : QAbstractTableModel(eltern) {}

void TUebersichtModell::ModellSetzen(const TModell* modell, bool berechnet) {
    beginResetModel();
    Modell = modell;
    Berechnet = berechnet;
    Aufbauen();
    endResetModel();
}

TUebersichtSicht TUebersichtModell::Sicht() const {
    if (Modell == nullptr) return {};
    return TUebersichtSicht{AnzeigeArtikel(*Modell), Berechnet};
}

bool TUebersichtModell::Gueltig() const { return Modell == nullptr || Modell->FOListe.Stand() == Stand; }

void TUebersichtModell::Aufbauen() {
    ZeilenListe.clear();
    VeraltetGemeldet = false;
    if (Modell == nullptr) return;
    Stand = Modell->FOListe.Stand();
    ZeilenListe = UebersichtFiltern(*Modell, Filter);
    Sortieren(ZeilenListe);
}

void TUebersichtModell::Sortieren(std::vector<TFO*>& zeilen) const {
    if (Modell == nullptr || Sortierspalte < 0) return;
    UebersichtSortieren(zeilen, static_cast<TSpalte>(Sortierspalte), Folge == Qt::DescendingOrder, Sicht());
}

void TUebersichtModell::Aktualisieren(bool berechnet) {
    if (!Gueltig() || Modell == nullptr) {
        beginResetModel();
        Berechnet = berechnet;
        Aufbauen();
        endResetModel();
        return;
    }
    Berechnet = berechnet;
    // Namen ändern sich auch ohne neue Objekte: der Filter gilt neu, und die
    // Reihenfolge kann sich mit den Werten ändern. Ausgewählte Zeilen wandern mit.
    std::vector<TFO*> neu = UebersichtFiltern(*Modell, Filter);
    Sortieren(neu);
    if (neu.size() != ZeilenListe.size()) {
        beginResetModel();
        ZeilenListe = std::move(neu);
        endResetModel();
        return;
    }
    if (neu != ZeilenListe) ZeilenErsetzen(std::move(neu));
    if (!ZeilenListe.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, SpaltenAnzahl - 1));
}

void TUebersichtModell::FilterSetzen(const QString& text) {
    beginResetModel();
    Filter = TSuche(AnsiAusQt(text));
    Aufbauen();
    endResetModel();
}

TFO* TUebersichtModell::Objekt(int zeile) const {
    if (!Gueltig() || zeile < 0 || static_cast<size_t>(zeile) >= ZeilenListe.size()) return nullptr;
    return ZeilenListe[static_cast<size_t>(zeile)];
}

int TUebersichtModell::Zeile(const TFO* objekt) const {
    if (!Gueltig() || objekt == nullptr) return -1;
    for (size_t i = 0; i < ZeilenListe.size(); ++i)
        if (ZeilenListe[i] == objekt) return static_cast<int>(i);
    return -1;
}

int TUebersichtModell::rowCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : static_cast<int>(ZeilenListe.size());
}

int TUebersichtModell::columnCount(const QModelIndex& eltern) const { return eltern.isValid() ? 0 : SpaltenAnzahl; }

QVariant TUebersichtModell::data(const QModelIndex& index, int rolle) const {
    const auto spalte = static_cast<TSpalte>(index.column());
    if (rolle == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(IstZahlenspalte(spalte) ? Qt::AlignRight | Qt::AlignVCenter
                                                                         : Qt::AlignLeft | Qt::AlignVCenter));
    if (rolle != Qt::DisplayRole) return {};
    if (!Gueltig()) {
        // Zwischen einer Änderung der Liste und dem nächsten Aktualisieren
        // wird nichts gelesen: die Zeiger könnten auf Gelöschtes zeigen.
        if (!VeraltetGemeldet) {
            VeraltetGemeldet = true;
            // data() ist const; gemeldet wird erst nach dem Malen, wenn niemand liest.
            auto* selbst = const_cast<TUebersichtModell*>(this);
            QTimer::singleShot(0, selbst, [selbst] { emit selbst->Veraltet(); });
        }
        return {};
    }
    const TFO* o = Objekt(index.row());
    if (o == nullptr) return {};
    return QtAusAnsi(Zelltext(*o, spalte, Sicht()));
}

QVariant TUebersichtModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    if (rolle != Qt::DisplayRole || richtung != Qt::Horizontal || abschnitt < 0 || abschnitt >= SpaltenAnzahl)
        return {};
    return QtAusAnsi(SpaltenTitel(static_cast<TSpalte>(abschnitt)));
}

void TUebersichtModell::sort(int spalte, Qt::SortOrder folge) {
    if (spalte < 0 || spalte >= SpaltenAnzahl || !Gueltig()) return;
    Sortierspalte = spalte;
    Folge = folge;
    std::vector<TFO*> neu = ZeilenListe;
    Sortieren(neu);
    ZeilenErsetzen(std::move(neu));
}

void TUebersichtModell::ZeilenErsetzen(std::vector<TFO*> neu) {
    emit layoutAboutToBeChanged();
    const std::vector<TFO*> vorher = std::move(ZeilenListe);
    ZeilenListe = std::move(neu);
    std::unordered_map<const TFO*, int> stelle;
    for (size_t i = 0; i < ZeilenListe.size(); ++i) stelle[ZeilenListe[i]] = static_cast<int>(i);
    // Ausgewählte Zeilen und die aktuelle Zelle wandern mit ihrem Objekt.
    const QModelIndexList alt = persistentIndexList();
    QModelIndexList jetzt;
    for (const QModelIndex& i : alt) {
        const auto it = stelle.find(vorher[static_cast<size_t>(i.row())]);
        jetzt.append(it == stelle.end() ? QModelIndex() : index(it->second, i.column()));
    }
    changePersistentIndexList(alt, jetzt);
    emit layoutChanged();
}

} // namespace tessomir
