#include "cli/UStudien.h"

#include <ostream>
#include <thread>

#include "analysis/UBilanz.h"
#include "analysis/UEmpfindlichkeit.h"
#include "analysis/UHerkunft.h"
#include "analysis/UVergleich.h"
#include "base/UFehler.h"
#include "base/UText.h"
#include "base/UWerte.h"
#include "cli/UBefehlshilfe.h"
#include "cli/UKonsolenPlattform.h"

namespace tessomir {
namespace {

// Optionen mit Wert und höchstens so viele Dateien; 2 bei falschem Aufruf.
struct TAufruf {
    std::vector<std::string> Dateien;
    std::vector<std::pair<std::string, std::string>> Werte;
    std::vector<std::string> Schalter;
    std::string Wert(const std::string& name) const {
        for (const auto& [n, w] : Werte)
            if (n == name) return w;
        return {};
    }
    bool Hat(const std::string& name) const {
        for (const std::string& s : Schalter)
            if (s == name) return true;
        for (const auto& [n, w] : Werte)
            if (n == name) return true;
        return false;
    }
};

std::optional<TAufruf> Zerlegen(const std::vector<std::string>& arg, const std::vector<std::string>& mitWert,
                                const std::vector<std::string>& schalter, std::ostream& fehler) {
    TAufruf a;
    for (size_t i = 1; i < arg.size(); ++i) {
        const std::string& s = arg[i];
        if (std::find(mitWert.begin(), mitWert.end(), s) != mitWert.end()) {
            if (i + 1 >= arg.size()) {
                Aufruffehler(s + " erwartet einen Wert.", fehler);
                return std::nullopt;
            }
            a.Werte.emplace_back(s, arg[++i]);
        } else if (std::find(schalter.begin(), schalter.end(), s) != schalter.end()) {
            a.Schalter.push_back(s);
        } else if (!s.empty() && s[0] == '-') {
            Aufruffehler("unbekannte Option " + s + ".", fehler);
            return std::nullopt;
        } else {
            a.Dateien.push_back(s);
        }
    }
    return a;
}

// Das Objekt mit diesem Namen (oder "#Nr"); eindeutig, sonst leer mit Grund.
const TFO* ObjektNachName(const TModell& m, const std::string& utf8, std::string& grund) {
    const std::string name = AnsiAusUtf8(utf8);
    const TFO* gefunden = nullptr;
    int anzahl = 0;
    for (const auto& o : m.FOListe.Alle()) {
        if (o->AlsKnoten() == nullptr && o->AlsWeg() == nullptr) continue;
        // "#12": die Nummer; ohne "lit" + to_string, das GCC 12 falsch warnen lässt (-Wrestrict).
        const bool passt = name.size() > 1 && name[0] == '#' ? name.substr(1) == std::to_string(o->FONr) : o->Name == name;
        if (!passt) continue;
        gefunden = o.get();
        ++anzahl;
    }
    if (anzahl == 1) return gefunden;
    grund = anzahl == 0 ? "kein Objekt hei\xDFt " + name : name + " ist mehrdeutig (" + std::to_string(anzahl) +
                                                             " Objekte); die Nummer mit #Nr w\xE4hlt eines";
    return nullptr;
}

// Der Artikel aus --artikel N oder --summe, sonst der des Modells.
std::optional<int> ArtikelWahl(const TAufruf& a, const TModell& m, std::ostream& fehler) {
    if (a.Hat("--summe")) return SummeArtikel;
    if (!a.Hat("--artikel")) return AnzeigeArtikel(m);
    const std::optional<int> n = GanzzahlAusText(a.Wert("--artikel"));
    if (!n || *n < 0 || *n >= m.AnzahlArtikel()) {
        Aufruffehler("--artikel erwartet eine Nummer von 0 bis " + std::to_string(m.AnzahlArtikel() - 1) + ".", fehler);
        return std::nullopt;
    }
    return *n;
}

std::string ArtikelText(const TModell& m, int artikel) {
    return artikel == SummeArtikel ? std::string("Summe") : m.ArtikelListe[static_cast<size_t>(artikel)];
}

} // namespace

int Vergleichen(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    const std::optional<TAufruf> a = Zerlegen(arg, {"--csv"}, {"--summe"}, fehler);
    if (!a) return 2;
    if (a->Dateien.size() != 2) return Aufruffehler("vergleichen erwartet zwei Modelldateien.", fehler);
    std::unique_ptr<TModell> ma, mb;
    const int ra = OeffnenUndBerechnen(a->Dateien[0], fehler, ma);
    if (ra == 2) return 2;
    const int rb = OeffnenUndBerechnen(a->Dateien[1], fehler, mb);
    if (rb == 2) return 2;
    if (ra != 0 || rb != 0) return 1;
    const TVergleich v = tessomir::Vergleichen(*ma, *mb, a->Hat("--summe"));
    if (a->Hat("--csv")) {
        if (!Gesichert(DateiSichern(a->Wert("--csv"), VergleichAlsCsv(v)), fehler)) return 2;
    } else {
        std::vector<std::vector<std::string>> zeilen{{"Nr", "Name", "Artikel", "Strom A", "Strom B", "Differenz", "%"}};
        for (const TVergleichsZeile& z : v.Zeilen) {
            const std::optional<double> p = z.Prozent();
            zeilen.push_back({std::to_string(z.FONr), z.Name, z.ArtikelName, ma->WertText(z.StromA),
                              ma->WertText(z.StromB), ma->WertText(z.Differenz()),
                              p ? TextAusFloatFest(*p, 1, '.') : std::string()});
        }
        for (const std::string& z : Tabelle(zeilen, {true, false, false, true, true, true, true}))
            aus << Utf8AusAnsi(z) << '\n';
    }
    // Was nicht zuzuordnen ist, steht immer in der Ausgabe, auch neben einer CSV.
    for (const std::string& s : v.NurInA) aus << Utf8AusAnsi("Nur in A: " + s) << '\n';
    for (const std::string& s : v.NurInB) aus << Utf8AusAnsi("Nur in B: " + s) << '\n';
    for (const std::string& s : v.Abweichungen) aus << Utf8AusAnsi("Abweichung: " + s) << '\n';
    return 0;
}

int Empfindlichkeit(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    const std::optional<TAufruf> a = Zerlegen(arg, {"--ziel", "--prozent", "--csv", "--artikel"}, {"--summe"}, fehler);
    if (!a) return 2;
    if (a->Dateien.size() != 1) return Aufruffehler("empfindlichkeit erwartet eine Modelldatei.", fehler);
    if (!a->Hat("--ziel")) return Aufruffehler("empfindlichkeit erwartet --ziel NAME.", fehler);
    double prozent = 10.0;
    if (a->Hat("--prozent")) {
        const std::optional<double> p = ZahlAusText(a->Wert("--prozent"));
        if (!p || !(*p > 0.0 && *p < 100.0)) return Aufruffehler("--prozent erwartet eine Zahl zwischen 0 und 100.", fehler);
        prozent = *p;
    }
    TKonsolenPlattform plattform(aus, fehler);
    std::unique_ptr<TModell> m = Oeffnen(a->Dateien[0], fehler);
    if (!m) return 2;
    std::string grund;
    const TFO* ziel = ObjektNachName(*m, a->Wert("--ziel"), grund);
    if (ziel == nullptr) return Aufruffehler(Utf8AusAnsi(grund) + ".", fehler);
    const std::optional<int> artikel = ArtikelWahl(*a, *m, fehler);
    if (!artikel) return 2;
    TEmpfindlichkeitsAuftrag auftrag;
    auftrag.ZielFONr = ziel->FONr;
    auftrag.Artikel = *artikel;
    auftrag.Prozent = prozent;
    auftrag.Faeden = std::max(1U, std::thread::hardware_concurrency());
    TEmpfindlichkeit e;
    try {
        e = EmpfindlichkeitBerechnen(*m, auftrag);
    } catch (const EModellErzeugen& x) {
        fehler << Utf8AusAnsi(std::string("tessomir-cli: ") + x.what() + ".") << '\n';
        return ZielWert(*ziel, *artikel) ? 1 : 2;
    }
    if (a->Hat("--csv")) return Gesichert(DateiSichern(a->Wert("--csv"), EmpfindlichkeitAlsCsv(e)), fehler) ? 0 : 2;
    aus << Utf8AusAnsi("Ziel " + ziel->Titel() + ", " + ArtikelText(*m, *artikel) + ": " + m->WertText(e.ZielBasis) +
                       ", Eingaben je " + TextAusFloat(prozent) + " % gesenkt und gehoben")
        << '\n';
    std::vector<std::vector<std::string>> zeilen{
        {"Objekt", "Groesse", "Artikel", "Von", "Nach", "Wert", "Ziel -", "Ziel +", "Wirkung"}};
    for (const TEmpfindlichkeitsZeile& z : e.Zeilen) {
        const TWertZeile& w = z.Eingabe;
        const auto zahl = [&](const std::optional<double>& x) { return x ? m->WertText(*x) : std::string("-"); };
        zeilen.push_back({w.Objekt, w.Groesse, w.Artikel, w.Von, w.Nach, TextAusFloat(w.Wert), zahl(z.ZielMinus),
                          zahl(z.ZielPlus), z.Gescheitert() ? z.Grund : m->WertText(z.Wirkung())});
    }
    for (const std::string& z : Tabelle(zeilen, {false, false, false, false, false, true, true, true, true}))
        aus << Utf8AusAnsi(z) << '\n';
    return 0;
}

int Herkunft(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    const std::optional<TAufruf> a = Zerlegen(arg, {"--objekt", "--csv"}, {}, fehler);
    if (!a) return 2;
    if (a->Dateien.size() != 1) return Aufruffehler("herkunft erwartet eine Modelldatei.", fehler);
    if (!a->Hat("--objekt")) return Aufruffehler("herkunft erwartet --objekt NAME.", fehler);
    TKonsolenPlattform plattform(aus, fehler);
    std::unique_ptr<TModell> m = Oeffnen(a->Dateien[0], fehler);
    if (!m) return 2;
    std::string grund;
    const TFO* objekt = ObjektNachName(*m, a->Wert("--objekt"), grund);
    if (objekt == nullptr) return Aufruffehler(Utf8AusAnsi(grund) + ".", fehler);
    THerkunft h;
    try {
        h = HerkunftBerechnen(*m, objekt->FONr);
    } catch (const EModellErzeugen& x) {
        return Aufruffehler(Utf8AusAnsi(std::string(x.what()) + "."), fehler);
    }
    if (!h.Ok) {
        fehler << Utf8AusAnsi("tessomir-cli: " + h.Grund + ".") << '\n';
        return 1;
    }
    if (a->Hat("--csv")) return Gesichert(DateiSichern(a->Wert("--csv"), HerkunftAlsCsv(h)), fehler) ? 0 : 2;
    std::vector<std::vector<std::string>> zeilen{
        {"Artikel", h.VonQuelle ? "Senke" : "Quelle", "Anteil %", "Strom"}};
    for (const THerkunftsZeile& z : h.Zeilen)
        zeilen.push_back({z.ArtikelName, "[ " + Gekuerzt(z.Name) + " ] #" + std::to_string(z.FONr),
                          TextAusFloatFest(z.Anteil, 1, '.'), m->WertText(z.Strom)});
    for (const std::string& z : Tabelle(zeilen, {false, false, true, true})) aus << Utf8AusAnsi(z) << '\n';
    return 0;
}

} // namespace tessomir
