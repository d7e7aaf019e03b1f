#include "model/UModell.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/UFehler.h"
#include "model/UKnoten.h"
#include "base/UPlattform.h"

namespace tessomir {

int Zufallszahl(uint32_t& saat, int bereich) {
    saat = saat * 134775813u + 1u;
    return static_cast<int>((static_cast<uint64_t>(saat) * static_cast<uint64_t>(bereich)) >> 32);
}

// ---------------------------------------------------------------- TFO

TFO::TFO(TModell& modell, const char* klasse) : Modell(&modell) { Nummerieren(klasse); }

void TFO::Nummerieren(const char* klasse) {
    uint32_t& zaehler = Modell->FONrZaehler;
    if (zaehler == std::numeric_limits<uint32_t>::max()) {
        throw EIntOverflow("Objektnummern ersch\xF6" "pft: FONrZaehler w\xFC" "rde 4294967295 \xFC" "berschreiten");
    }
    FONr = zaehler;
    Name = std::string(klasse) + std::to_string(FONr);
    Kapazitaet = 1000000.0;
    ++zaehler;
    const int x = Zufallszahl(Modell->ZufallsSaat, 100);
    const int y = Zufallszahl(Modell->ZufallsSaat, 100);
    Refpunkt = Punkt(x, y);
}

std::vector<std::string> TFO::Beschreibung() const {
    TZeilenSchreiber aus;
    Schreiben(aus);
    return aus.Zeilen();
}

void TFO::Schreiben(TZeilenSchreiber& aus) const {
    aus.Zeile("Klasse ========= ", Klassenname());
    aus.Zeile("FO Nr", std::to_string(FONr));
    aus.Zeile("Name", Name);
    aus.Zeile("Refpunkt", TextAusPunkt(Refpunkt));
    aus.Zeile("Kapazitaet", TextAusFloat(Kapazitaet));
}

void TFO::Lesen(TZeilenLeser& ein) {
    const int32_t nr = IntAusText(ein.WertLesen());
    if (nr < 0) throw ERangeError("Objektnummer " + std::to_string(nr) + " ist negativ");
    FONr = static_cast<uint32_t>(nr);
    if (FONr >= Modell->FONrZaehler) Modell->FONrZaehler = FONr + 1;
    Name = std::string(ein.WertLesen());
    Refpunkt = PunktAusText(ein.WertLesen());
    if (ein.GeleseneVersion >= 3) Kapazitaet = FloatAusText(ein.WertLesen());
}

// ---------------------------------------------------------------- Klassenverzeichnis

namespace {

template <class T> std::unique_ptr<TFO> Erzeuge(TModell& modell) { return std::make_unique<T>(modell); }

// Das Modell hat einen eigenen Konstruktor; als Objekt eines Modells ist es
// nicht zulässig, der Lesende weist es deshalb ab.
std::unique_ptr<TFO> ErzeugeModell(TModell&) { return nullptr; }

const TFOKlasse Klassen[] = {
    {"TFO", &Erzeuge<TFO>},
    {"TWeg", &Erzeuge<TWeg>},
    {"TKnoten", &Erzeuge<TKnoten>},
    {"TQuelle", &Erzeuge<TQuelle>},
    {"TSenke", &Erzeuge<TSenke>},
    {"TVerzweigung", &Erzeuge<TVerzweigung>},
    {"TWandler", &Erzeuge<TWandler>},
    {"TModell", &ErzeugeModell},
};

} // namespace

const TFOKlasse* TFOKlassenAusName(std::string_view name) {
    for (const auto& k : Klassen) {
        if (name == k.Name) return &k;
    }
    return nullptr;
}

// ---------------------------------------------------------------- TFOListe

void TFOListe::Hinzufuegen(std::unique_ptr<TFO> objekt, bool amEnde) {
    if (!objekt) return;
    ++Aenderungen;
    if (TKnoten* k = objekt->AlsKnoten()) {
        if (amEnde) KnotenListe.push_back(k);
        else KnotenListe.insert(KnotenListe.begin(), k);
    }
    if (amEnde) Objekte.push_back(std::move(objekt));
    else Objekte.push_front(std::move(objekt));
}

void TFOListe::Einfuegen(size_t stelle, std::unique_ptr<TFO> objekt) {
    if (!objekt) return;
    ++Aenderungen;
    stelle = std::min(stelle, Objekte.size());
    TKnoten* k = objekt->AlsKnoten();
    // Erst reservieren: danach wirft keiner der beiden Schritte mehr halb.
    if (k != nullptr) KnotenListe.reserve(KnotenListe.size() + 1);
    size_t knotenDavor = 0;
    if (k != nullptr) {
        for (size_t i = 0; i < stelle; ++i)
            if (Objekte[i]->AlsKnoten() != nullptr) ++knotenDavor;
    }
    Objekte.insert(Objekte.begin() + static_cast<std::ptrdiff_t>(stelle), std::move(objekt));
    if (k != nullptr) KnotenListe.insert(KnotenListe.begin() + static_cast<std::ptrdiff_t>(knotenDavor), k);
}

std::unique_ptr<TFO> TFOListe::Entfernen(TFO* objekt) {
    const auto it = std::find_if(Objekte.begin(), Objekte.end(),
                                 [objekt](const std::unique_ptr<TFO>& o) { return o.get() == objekt; });
    if (it == Objekte.end()) return nullptr;
    ++Aenderungen;
    std::unique_ptr<TFO> raus = std::move(*it);
    Objekte.erase(it);
    if (const TKnoten* k = raus->AlsKnoten()) std::erase(KnotenListe, k);
    return raus;
}

TFO* TFOListe::NrSuchen(uint32_t nr) const {
    for (const auto& o : Objekte) {
        if (o->FONr == nr) return o.get();
    }
    return nullptr;
}

bool TFOListe::IstAusgewaehlt(const TFO* objekt) const {
    return std::any_of(AuswahlListe.begin(), AuswahlListe.end(),
                       [objekt](const TAuswahlEintrag& e) { return e.Objekt == objekt; });
}

void TFOListe::Auswaehlen(TFO* objekt, bool umschalten) {
    if (objekt == nullptr) return;
    const auto it = std::find_if(AuswahlListe.begin(), AuswahlListe.end(),
                                 [objekt](const TAuswahlEintrag& e) { return e.Objekt == objekt; });
    if (it == AuswahlListe.end()) {
        AuswahlListe.push_back({objekt->Name, objekt});
    } else if (umschalten) {
        AuswahlListe.erase(it);
    }
}

void TFOListe::AllesAuswaehlen() {
    AuswahlListe.clear();
    AuswahlListe.reserve(Objekte.size());
    for (const auto& o : Objekte) AuswahlListe.push_back({o->Name, o.get()});
}

template <class T> bool TFOListe::IstEinzelnes() const {
    return AuswahlListe.size() == 1 && dynamic_cast<const T*>(AuswahlListe.front().Objekt) != nullptr;
}

bool TFOListe::IstEinzelneVerzweigung() const { return IstEinzelnes<TVerzweigung>(); }
bool TFOListe::IstEinzelneQuelle() const { return IstEinzelnes<TQuelle>(); }
bool TFOListe::IstEinzelneSenke() const { return IstEinzelnes<TSenke>(); }
bool TFOListe::IstEinzelnerWandler() const { return IstEinzelnes<TWandler>(); }
bool TFOListe::IstEinzelnerWeg() const { return IstEinzelnes<TWeg>(); }
bool TFOListe::IstEinzelnerKnoten() const { return IstEinzelnes<TKnoten>(); }

void TFOListe::Leeren() {
    ++Aenderungen;
    AuswahlListe.clear();
    for (TKnoten* k : KnotenListe) k->AbbauBeginnen();
    // Wege zuerst: sie hängen sich dabei von noch lebenden Knoten ab.
    for (auto& o : Objekte) {
        if (o && o->AlsWeg() != nullptr) o.reset();
    }
    Objekte.clear();
    KnotenListe.clear();
}

// ---------------------------------------------------------------- TModell

TModell::TModell() : TFO(this) {
    Nummerieren("TModell");
    DatenformatVer = 3;
    GeleseneVersion = 3;
    Name = "Modell_V_" + std::to_string(DatenformatVer);
}

TModell::~TModell() {
    FOListe.Leeren();
}

void TModell::ArtikelSetzen(int i) {
    if (i == AktArtikel) return;
    AktArtikel = i < AnzahlArtikel() ? i : AnzahlArtikel() - 1;
}

void TModell::ArtikelEinfuegen(const std::string& name) {
    for (const auto& o : FOListe.Alle()) {
        if (auto* wandler = dynamic_cast<TWandler*>(o.get())) {
            wandler->Matrix().Erweitern(1);
            wandler->Matrix().Erweitern(2);
        } else if (auto* knoten = dynamic_cast<TKnoten*>(o.get())) {
            knoten->Matrix().Erweitern(1);
        }
    }
    ArtikelListe.push_back(name);
}

void TModell::ArtikelLoeschen(int k) {
    if (k < 0 || k >= AnzahlArtikel() || AnzahlArtikel() < 2) return;
    for (const auto& o : FOListe.Alle()) {
        if (auto* wandler = dynamic_cast<TWandler*>(o.get())) {
            wandler->Matrix().IndexEntfernen(1, k);
            wandler->Matrix().IndexEntfernen(2, k + 1);
        } else if (auto* knoten = dynamic_cast<TKnoten*>(o.get())) {
            knoten->Matrix().IndexEntfernen(1, k);
        }
    }
    ArtikelListe.erase(ArtikelListe.begin() + k);
}

void TModell::ObjekteLoeschen() {
    FOListe.Leeren();
    FONrZaehler = 1;
}

void TModell::KapazitaetSetzen(double wert) {
    for (const auto& e : FOListe.Auswahl()) {
        if (dynamic_cast<TWeg*>(e.Objekt) != nullptr || dynamic_cast<TVerzweigung*>(e.Objekt) != nullptr) {
            e.Objekt->Kapazitaet = wert;
        }
    }
}

std::string NamensFehler(std::string_view name) {
    if (name.empty()) return "Name darf nicht leer sein";
    for (const char c : name) {
        if (c == '\r' || c == '\n') return "Der Name darf keinen Zeilenumbruch enthalten.";
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return "Der Name darf keine Steuerzeichen enthalten.";
    }
    return {};
}

bool HatKapazitaet(const TFO& objekt) {
    return dynamic_cast<const TWeg*>(&objekt) != nullptr || dynamic_cast<const TVerzweigung*>(&objekt) != nullptr;
}

std::optional<TEigenschaften> NeueEigenschaften(const TFO& objekt, const std::string& name, double kapazitaet) {
    TEigenschaften neu{objekt.Name, objekt.Kapazitaet};
    bool geaendert = false;
    if (name != objekt.Name) {
        neu.Name = name;
        geaendert = true;
    }
    if (HatKapazitaet(objekt) && std::fabs(kapazitaet - objekt.Kapazitaet) > 1e-10) {
        neu.Kapazitaet = kapazitaet;
        geaendert = true;
    }
    if (!geaendert) return std::nullopt;
    return neu;
}

bool EigenschaftenUebernehmen(TFO& objekt, const std::string& name, double kapazitaet) {
    std::optional<TEigenschaften> neu = NeueEigenschaften(objekt, name, kapazitaet);
    if (!neu) return false;
    objekt.Name = std::move(neu->Name);
    objekt.Kapazitaet = neu->Kapazitaet;
    return true;
}

TPunkt TModell::Ausdehnung() const {
    TPunkt p{-2147483547.0, 2147483647.0};
    for (const auto& o : FOListe.Alle()) {
        if (dynamic_cast<const TKnoten*>(o.get()) == nullptr) continue;
        p.X = std::max(p.X, o->Refpunkt.X);
        p.Y = std::min(p.Y, o->Refpunkt.Y);
    }
    return p;
}

std::string TModell::ArtikelText(int artikel) const {
    const std::string name =
        artikel >= 0 && artikel < AnzahlArtikel() ? ArtikelListe[static_cast<size_t>(artikel)] : std::string();
    return " |" + Gekuerzt(name) + "| ";
}

std::string TModell::EingangText(int nummer) {
    if (nummer < 1) return " Eingang ";
    std::string text = " ";
    text += std::to_string(nummer);
    text += ". Eingang ";
    return text;
}

double TModell::Prozentwert(double strom) const {
    const double bezug = Bezugsmaximum();
    if (std::fabs(bezug) <= 1e-10) return strom;
    return strom * 100.0 / bezug;
}

std::string TModell::ProzentText(double wert) const {
    return TextAusFloatFest(wert, ProzStellen, Anzeigetrenner);
}

std::string TModell::WertText(double wert) const {
    return TextAusFloatFest(wert, StromStellen, Anzeigetrenner);
}

double TModell::StromAufloesung() const {
    if (StromStellen <= 0) return 1.0;
    double teiler = 1.0;
    for (int i = 0; i < std::min(StromStellen, 7); ++i) teiler *= 10.0;
    return 1.0 / teiler;
}

void TModell::LogLeeren() const { (Protokoll != nullptr ? Protokoll : Plattform().Protokoll)->LogLeeren(); }

void TModell::LogZeile(const std::string& zeile) const {
    (Protokoll != nullptr ? Protokoll : Plattform().Protokoll)->LogZeile(zeile);
}

} // namespace tessomir
