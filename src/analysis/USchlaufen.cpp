// Schlaufenanalyse: Komponenten nach Tarjan, Verstärkung als Spektralradius.
#include "analysis/USchlaufen.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <deque>
#include <limits>
#include <unordered_map>

#include "model/UKnoten.h"

namespace tessomir {

const char* const SchlaufenAnfangZeile = "--- Schlaufen analysieren ---";
const char* const SchlaufenHinweisZeile =
    "Hinweis: \"Schlaufen analysieren\" (Men\xFC Bearbeiten) zeigt, welche Schlaufe nicht abklingt.";

namespace {

constexpr double RuheGrenze = 1e-10;
// Näher an 1 gilt eine Verstärkung als genau 1: die Ströme wachsen dann linear.
constexpr double EinsToleranz = 1e-9;

// ---------------------------------------------------------------- Spektralradius

// Nichtnegative Matrix als Listen der ausgehenden Übergänge je Zustand.
struct TGraph {
    std::vector<std::vector<std::pair<size_t, double>>> Aus;
};

// Zustände, deren Wegfall alle Kreise bricht: Ziele der Rückwärtskanten einer Tiefensuche.
std::vector<bool> Rueckkopplung(const TGraph& g) {
    const size_t n = g.Aus.size();
    std::vector<char> farbe(n, 0); // 0 neu, 1 auf dem Stapel, 2 fertig
    std::vector<bool> f(n, false);
    std::vector<std::pair<size_t, size_t>> stapel;
    for (size_t s = 0; s < n; ++s) {
        if (farbe[s] != 0) continue;
        stapel.push_back({s, 0});
        farbe[s] = 1;
        while (!stapel.empty()) {
            auto& [u, i] = stapel.back();
            if (i < g.Aus[u].size()) {
                const size_t v = g.Aus[u][i++].first;
                if (farbe[v] == 1) f[v] = true;
                else if (farbe[v] == 0) {
                    farbe[v] = 1;
                    stapel.push_back({v, 0});
                }
            } else {
                farbe[u] = 2;
                stapel.pop_back();
            }
        }
    }
    return f;
}

// Prüft über das Schur-Komplement auf der Rückkopplungsmenge, ob lambda*I - A eine
// reguläre M-Matrix ist, also lambda > Spektralradius: genau dann sind alle
// Pivots der Elimination ohne Tausch positiv. Der Rest ist kreisfrei und wird in
// topologischer Folge gelöst.
class TMMatrixTest {
public:
    explicit TMMatrixTest(const TGraph& g) : G(g) {
        const size_t n = g.Aus.size();
        const std::vector<bool> f = Rueckkopplung(g);
        Stelle.assign(n, Keine);
        for (size_t u = 0; u < n; ++u)
            if (f[u]) {
                Stelle[u] = F.size();
                F.push_back(u);
            }
        // Topologische Folge des Rests nach Kahn.
        std::vector<size_t> eingang(n, 0);
        for (size_t u = 0; u < n; ++u)
            if (!f[u])
                for (const auto& [v, w] : g.Aus[u])
                    if (!f[v]) ++eingang[v];
        std::deque<size_t> bereit;
        for (size_t u = 0; u < n; ++u)
            if (!f[u] && eingang[u] == 0) bereit.push_back(u);
        while (!bereit.empty()) {
            const size_t u = bereit.front();
            bereit.pop_front();
            Folge.push_back(u);
            for (const auto& [v, w] : g.Aus[u])
                if (!f[v] && --eingang[v] == 0) bereit.push_back(v);
        }
    }

    bool Kreisfrei() const { return F.empty(); }

    bool Groesser(double lambda) const {
        const size_t k = F.size();
        std::vector<double> s(k * k, 0.0);
        std::vector<double> zufluss(G.Aus.size(), 0.0);
        for (size_t i = 0; i < k; ++i) {
            std::fill(zufluss.begin(), zufluss.end(), 0.0);
            const auto verteilen = [&](size_t u, double menge) {
                for (const auto& [v, w] : G.Aus[u]) {
                    if (Stelle[v] != Keine) s[Stelle[v] * k + i] -= w * menge;
                    else zufluss[v] += w * menge;
                }
            };
            verteilen(F[i], 1.0);
            for (const size_t r : Folge)
                if (zufluss[r] != 0.0) verteilen(r, zufluss[r] / lambda);
            s[i * k + i] += lambda;
        }
        for (size_t p = 0; p < k; ++p) {
            const double pivot = s[p * k + p];
            if (!(pivot > 0.0) || !std::isfinite(pivot)) return false;
            for (size_t i = p + 1; i < k; ++i) {
                const double faktor = s[i * k + p] / pivot;
                if (faktor == 0.0) continue;
                for (size_t j = p + 1; j < k; ++j) s[i * k + j] -= faktor * s[p * k + j];
            }
        }
        return true;
    }

private:
    static constexpr size_t Keine = std::numeric_limits<size_t>::max();
    const TGraph& G;
    std::vector<size_t> Stelle;
    std::vector<size_t> F;
    std::vector<size_t> Folge;
};

// ---------------------------------------------------------------- Netz

double Zelle(const TDyn3DMatrix& m, int a, int b, int c) {
    const double* z = m.Zelle(a, b, c);
    return z != nullptr ? *z : 0.0;
}

// Ein Weg, der an beiden Enden wirklich hängt (abgewiesene Wege tragen nichts).
bool Verbunden(const TWeg& w) {
    return w.Start() != nullptr && w.Ziel() != nullptr && w.Start()->AusgangIndex(&w) >= 0 &&
           w.Ziel()->EingangIndex(&w) >= 0;
}

struct TNetz {
    std::vector<const TKnoten*> Knoten;
    std::vector<std::vector<size_t>> Nachfolger;
    std::vector<const TWeg*> Wege; // verbundene Wege
};

TNetz NetzAus(const TModell& modell) {
    TNetz netz;
    std::unordered_map<const TKnoten*, size_t> stelle;
    for (const TKnoten* k : modell.FOListe.Knoten()) {
        stelle.emplace(k, netz.Knoten.size());
        netz.Knoten.push_back(k);
    }
    netz.Nachfolger.resize(netz.Knoten.size());
    for (const auto& o : modell.FOListe.Alle()) {
        const TWeg* w = o->AlsWeg();
        if (w == nullptr || !Verbunden(*w)) continue;
        const auto von = stelle.find(w->Start());
        const auto nach = stelle.find(w->Ziel());
        if (von == stelle.end() || nach == stelle.end()) continue;
        netz.Nachfolger[von->second].push_back(nach->second);
        netz.Wege.push_back(w);
    }
    return netz;
}

// Stark zusammenhängende Komponenten nach Tarjan, ohne Rekursion.
std::vector<std::vector<size_t>> Komponenten(const std::vector<std::vector<size_t>>& nachfolger) {
    const size_t n = nachfolger.size();
    constexpr size_t Neu = std::numeric_limits<size_t>::max();
    std::vector<size_t> index(n, Neu), tief(n, 0);
    std::vector<bool> aufStapel(n, false);
    std::vector<size_t> stapel;
    std::vector<std::pair<size_t, size_t>> aufruf;
    std::vector<std::vector<size_t>> ergebnis;
    size_t zaehler = 0;
    for (size_t s = 0; s < n; ++s) {
        if (index[s] != Neu) continue;
        aufruf.push_back({s, 0});
        while (!aufruf.empty()) {
            auto [u, i] = aufruf.back();
            if (i == 0) {
                index[u] = tief[u] = zaehler++;
                stapel.push_back(u);
                aufStapel[u] = true;
            }
            if (i < nachfolger[u].size()) {
                aufruf.back().second = i + 1;
                const size_t v = nachfolger[u][i];
                if (index[v] == Neu) aufruf.push_back({v, 0});
                else if (aufStapel[v]) tief[u] = std::min(tief[u], index[v]);
                continue;
            }
            aufruf.pop_back();
            if (!aufruf.empty()) {
                const size_t eltern = aufruf.back().first;
                tief[eltern] = std::min(tief[eltern], tief[u]);
            }
            if (tief[u] == index[u]) {
                std::vector<size_t> komponente;
                size_t v;
                do {
                    v = stapel.back();
                    stapel.pop_back();
                    aufStapel[v] = false;
                    komponente.push_back(v);
                } while (v != u);
                std::sort(komponente.begin(), komponente.end());
                ergebnis.push_back(std::move(komponente));
            }
        }
    }
    return ergebnis;
}

// Ein geschlossener Umlauf ab dem ersten Knoten: immer zum nächsten noch nicht
// besuchten Knoten der Komponente (Breitensuche), zuletzt zurück zum Anfang.
std::vector<size_t> Umlauf(const TNetz& netz, const std::vector<size_t>& komponente, const std::vector<int>& teil,
                           int nummer) {
    const size_t start = komponente.front();
    std::vector<bool> besucht(netz.Knoten.size(), false);
    besucht[start] = true;
    size_t offen = komponente.size() - 1;
    std::vector<size_t> weg{start};
    std::vector<size_t> vorher(netz.Knoten.size());
    const auto gehe = [&](bool zurueck) {
        const size_t von = weg.back();
        std::deque<size_t> schlange{von};
        std::vector<bool> gesehen(netz.Knoten.size(), false);
        gesehen[von] = true;
        while (!schlange.empty()) {
            const size_t u = schlange.front();
            schlange.pop_front();
            for (const size_t v : netz.Nachfolger[u]) {
                if (teil[v] != nummer || (gesehen[v] && !(zurueck && v == start))) continue;
                vorher[v] = u;
                if (zurueck ? v == start : !besucht[v]) {
                    std::vector<size_t> stueck{v};
                    for (size_t x = u; x != von; x = vorher[x]) stueck.push_back(x);
                    for (auto it = stueck.rbegin(); it != stueck.rend(); ++it) {
                        if (!besucht[*it]) {
                            besucht[*it] = true;
                            --offen;
                        }
                        weg.push_back(*it);
                    }
                    return;
                }
                gesehen[v] = true;
                schlange.push_back(v);
            }
        }
    };
    while (offen > 0) gehe(false);
    gehe(true);
    return weg;
}

std::string SechsStellen(double wert, char trenner) {
    char puffer[64];
    const auto [ende, fehler] = std::to_chars(puffer, puffer + sizeof puffer, wert, std::chars_format::general, 6);
    std::string s(puffer, fehler == std::errc() ? ende : puffer);
    std::replace(s.begin(), s.end(), '.', trenner);
    return s;
}

bool MischtArtikel(const TKnoten& k, int artikel) {
    if (k.Art() != TKnotenArt::Wandler) return false;
    for (int i = 0; i < artikel; ++i)
        for (int q = 0; q < artikel; ++q)
            if (i != q && Zelle(k.Matrix(), i, q + 1, 1) != 0.0) return true;
    return false;
}

TSchlaufenGewinn Bewerten(int artikel, double rho, double umfang, size_t schritte) {
    TSchlaufenGewinn g;
    g.Artikel = artikel;
    g.Verstaerkung = rho;
    if (std::fabs(rho - 1.0) <= EinsToleranz) {
        g.Urteil = TSchlaufenUrteil::KlingtNieAb;
        g.Verstaerkung = 1.0;
        g.VerstaerkungJeUmlauf = 1.0;
        g.Schritte = schritte;
        return g;
    }
    // Ein Durchgang trägt die Ströme einen Weg weiter: ein Umlauf sind so viele
    // Durchgänge, wie er Wege hat.
    g.VerstaerkungJeUmlauf = std::pow(rho, static_cast<double>(schritte));
    g.Schritte = schritte;
    if (rho > 1.0) {
        g.Urteil = TSchlaufenUrteil::Waechst;
    } else {
        // Die Änderung schrumpft je Durchgang um rho; Ruhe verlangt zwei ruhige Durchgänge.
        g.Urteil = TSchlaufenUrteil::KlingtAb;
        const double noetig = umfang > RuheGrenze && rho > 0.0 ? std::log(RuheGrenze / umfang) / std::log(rho) : 0.0;
        g.Durchgaenge = static_cast<long long>(std::ceil(std::min(noetig, 1e15))) + 1;
    }
    return g;
}

} // namespace

double Spektralradius(size_t anzahl, const std::vector<TUebergang>& uebergaenge) {
    TGraph g;
    g.Aus.resize(anzahl);
    std::vector<double> zeile(anzahl, 0.0), spalte(anzahl, 0.0);
    for (const TUebergang& u : uebergaenge) {
        const double w = std::fabs(u.Gewicht);
        if (w == 0.0 || u.Von >= anzahl || u.Nach >= anzahl) continue;
        g.Aus[u.Von].push_back({u.Nach, w});
        spalte[u.Von] += w;
        zeile[u.Nach] += w;
    }
    // Obere Schranke: die kleinere der größten Zeilen- und Spaltensummen.
    double oben = std::min(*std::max_element(zeile.begin(), zeile.end(), std::less<>()),
                           *std::max_element(spalte.begin(), spalte.end(), std::less<>()));
    if (anzahl == 0 || !(oben > 0.0)) return 0.0;
    if (!std::isfinite(oben)) return std::numeric_limits<double>::infinity();
    const TMMatrixTest test(g);
    if (test.Kreisfrei()) return 0.0; // nilpotent
    oben *= 1.0 + 1e-12;
    for (int i = 0; i < 60 && !test.Groesser(oben); ++i) oben *= 2.0;
    double unten = 0.0;
    for (int i = 0; i < 200 && oben - unten > 1e-13 * oben; ++i) {
        const double mitte = (unten + oben) / 2.0;
        (test.Groesser(mitte) ? oben : unten) = mitte;
    }
    return (unten + oben) / 2.0;
}

std::vector<TSchlaufe> SchlaufenErmitteln(const TModell& modell) {
    const TNetz netz = NetzAus(modell);
    const int n = modell.AnzahlArtikel();
    double umfang = 0.0;
    for (const TKnoten* k : netz.Knoten)
        if (k->Art() == TKnotenArt::Quelle)
            for (int a = 0; a < n; ++a) umfang += std::fabs(Zelle(k->Matrix(), a, 0, 1));

    std::vector<std::vector<size_t>> komponenten = Komponenten(netz.Nachfolger);
    std::sort(komponenten.begin(), komponenten.end());
    std::vector<int> teil(netz.Knoten.size(), -1);
    for (size_t c = 0; c < komponenten.size(); ++c)
        for (const size_t u : komponenten[c]) teil[u] = static_cast<int>(c);
    std::unordered_map<const TKnoten*, size_t> stelle;
    for (size_t i = 0; i < netz.Knoten.size(); ++i) stelle.emplace(netz.Knoten[i], i);
    const auto teilVon = [&](const TKnoten* k) { return teil[stelle.at(k)]; };

    std::vector<TSchlaufe> schlaufen;
    for (size_t c = 0; c < komponenten.size(); ++c) {
        const int nummer = static_cast<int>(c);
        // Die Wege innerhalb der Komponente sind die Zustände der Übertragung.
        std::vector<const TWeg*> wege;
        std::unordered_map<const TWeg*, size_t> wegStelle;
        for (const TWeg* w : netz.Wege)
            if (teilVon(w->Start()) == nummer && teilVon(w->Ziel()) == nummer) {
                wegStelle.emplace(w, wege.size());
                wege.push_back(w);
            }
        if (wege.empty()) continue; // ein Knoten ohne Weg zu sich selbst

        TSchlaufe s;
        s.AnzahlKnoten = komponenten[c].size();
        for (const size_t u : Umlauf(netz, komponenten[c], teil, nummer)) s.Umlauf.push_back(netz.Knoten[u]);

        // Gemischt wird nur, wo ein Wandler der Schlaufe einen Artikel in einen
        // anderen umsetzt; sonst hat jeder Artikel seine eigene Verstärkung.
        bool mischt = false;
        for (const size_t u : komponenten[c]) mischt = mischt || MischtArtikel(*netz.Knoten[u], n);
        const size_t zustaende = mischt ? wege.size() * static_cast<size_t>(n) : wege.size();
        const auto zustand = [&](size_t weg, int a) { return mischt ? weg * static_cast<size_t>(n) + static_cast<size_t>(a) : weg; };
        // Übergänge eines Artikels (ohne Wandler) oder aller Artikel zusammen.
        const auto uebergaenge = [&](int nurArtikel) {
            std::vector<TUebergang> liste;
            for (size_t e = 0; e < wege.size(); ++e) {
                const TWeg* aus = wege[e];
                const TKnoten* k = aus->Start();
                for (int j = 0; j < k->AnzahlEingaenge(); ++j) {
                    const auto ein = wegStelle.find(k->GetEingang(j));
                    if (ein == wegStelle.end()) continue;
                    const TDyn3DMatrix& m = k->Matrix();
                    if (k->Art() == TKnotenArt::Wandler && mischt) {
                        for (int i = 0; i < n; ++i)
                            for (int q = 0; q < n; ++q)
                                liste.push_back({zustand(ein->second, q), zustand(e, i), Zelle(m, i, q + 1, 1)});
                    } else if (k->Art() == TKnotenArt::Wandler) {
                        for (int a = 0; a < n; ++a) {
                            if (nurArtikel != SchlaufenAlleArtikel && a != nurArtikel) continue;
                            liste.push_back({zustand(ein->second, a), zustand(e, a), Zelle(m, a, a + 1, 1)});
                        }
                    } else if (k->Art() == TKnotenArt::Verzweigung) {
                        const int ausgang = k->AusgangIndex(aus);
                        for (int a = 0; a < n; ++a) {
                            if (nurArtikel != SchlaufenAlleArtikel && a != nurArtikel) continue;
                            liste.push_back({zustand(ein->second, a), zustand(e, a), Zelle(m, a, j + 1, ausgang + 1) / 100.0});
                        }
                    }
                }
            }
            return liste;
        };
        const size_t schritte = s.Umlauf.size() - 1;
        if (mischt) {
            s.Gewinne.push_back(Bewerten(n > 1 ? SchlaufenAlleArtikel : 0,
                                         Spektralradius(zustaende, uebergaenge(SchlaufenAlleArtikel)), umfang, schritte));
        } else {
            for (int a = 0; a < n; ++a)
                s.Gewinne.push_back(Bewerten(a, Spektralradius(zustaende, uebergaenge(a)), umfang, schritte));
        }
        schlaufen.push_back(std::move(s));
    }
    return schlaufen;
}

bool HatSchlaufe(const TModell& modell) {
    const TNetz netz = NetzAus(modell);
    for (size_t u = 0; u < netz.Nachfolger.size(); ++u)
        for (const size_t v : netz.Nachfolger[u])
            if (v == u) return true;
    for (const auto& komponente : Komponenten(netz.Nachfolger))
        if (komponente.size() > 1) return true;
    return false;
}

bool AlleSchlaufenKlingenAb(const std::vector<TSchlaufe>& schlaufen) {
    for (const TSchlaufe& s : schlaufen)
        for (const TSchlaufenGewinn& g : s.Gewinne)
            if (g.Urteil != TSchlaufenUrteil::KlingtAb) return false;
    return true;
}

std::vector<std::string> SchlaufenZeilen(const TModell& modell, const std::vector<TSchlaufe>& schlaufen) {
    std::vector<std::string> zeilen;
    if (schlaufen.empty()) {
        zeilen.push_back("Keine Schlaufen: das Netz ist kreisfrei.");
        return zeilen;
    }
    zeilen.push_back(schlaufen.size() == 1 ? "1 Schlaufe gefunden" : std::to_string(schlaufen.size()) + " Schlaufen gefunden");
    for (size_t i = 0; i < schlaufen.size(); ++i) {
        const TSchlaufe& s = schlaufen[i];
        std::string umlauf;
        for (const TKnoten* k : s.Umlauf) umlauf += (umlauf.empty() ? "" : " -> ") + k->Titel();
        zeilen.push_back("Schlaufe " + std::to_string(i + 1) + " (" + std::to_string(s.AnzahlKnoten) + " Knoten): " + umlauf);
        for (const TSchlaufenGewinn& g : s.Gewinne) {
            std::string z = g.Artikel == SchlaufenAlleArtikel
                                ? "  Alle Artikel (ein Wandler mischt sie)"
                                : "  Artikel " + modell.ArtikelListe.at(static_cast<size_t>(g.Artikel));
            z += ": Verst\xE4rkung " + SechsStellen(g.VerstaerkungJeUmlauf, modell.Anzeigetrenner) + " je Umlauf (" +
                 std::to_string(g.Schritte) + (g.Schritte == 1 ? " Weg), " : " Wege), ") +
                 SechsStellen(g.Verstaerkung, modell.Anzeigetrenner) + " je Durchgang, ";
            switch (g.Urteil) {
            case TSchlaufenUrteil::KlingtAb:
                z += "klingt ab (etwa " + std::to_string(g.Durchgaenge) +
                     " Durchg\xE4nge, bis sich die Str\xF6me um weniger als 1e-10 \xE4ndern)";
                break;
            case TSchlaufenUrteil::KlingtNieAb:
                z += "klingt nie ab (die Berechnung endet an der Zeitgrenze)";
                break;
            case TSchlaufenUrteil::Waechst:
                z += "die Str\xF6me wachsen ohne Grenze (\xDC" "berlauf)";
                break;
            }
            zeilen.push_back(z);
        }
    }
    return zeilen;
}

} // namespace tessomir
