#include "persistence/UWerteXlsx.h"

#include <expat.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <exception>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <unistd.h>

#include "base/UFehler.h"
#include "base/UText.h"
#include "model/UKnoten.h"
#include "persistence/UDatei.h"

namespace tessomir {
namespace {

// Grenze je Teil der ZIP-Datei: schützt vor Dateien, die sich beim Entpacken
// vervielfachen; eine Werte-Tabelle von 100 000 Knoten braucht weit weniger.
constexpr zip_uint64_t TeilHoechstens = zip_uint64_t{512} << 20;

[[noreturn]] void Unlesbar(const std::string& grund) {
    throw EModellErzeugen("die Datei ist keine lesbare XLSX-Tabelle (" + grund + ")");
}

// ---------------------------------------------------------------- Schreiben

// Eine Hilfsdatei, die am Ende verschwindet (libxlsxwriter schreibt nur in Dateien).
class THilfsdatei {
public:
    THilfsdatei() {
        const char* tmp = std::getenv("TMPDIR");
        Name = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/tessomir-werte-XXXXXX";
        const int fd = ::mkstemp(Name.data());
        if (fd < 0) throw EFCreateError("Hilfsdatei f\xFCr die XLSX-Tabelle: " + std::string(std::strerror(errno)));
        ::close(fd);
    }
    ~THilfsdatei() { std::remove(Name.c_str()); }
    THilfsdatei(const THilfsdatei&) = delete;
    THilfsdatei& operator=(const THilfsdatei&) = delete;
    std::string Name;
};

void Pruefen(lxw_error e) {
    if (e != LXW_NO_ERROR) throw EFCreateError(std::string("XLSX: ") + lxw_strerror(e));
}

void Text(lxw_worksheet* blatt, int zeile, int spalte, const std::string& ansi) {
    Pruefen(worksheet_write_string(blatt, static_cast<lxw_row_t>(zeile), static_cast<lxw_col_t>(spalte),
                                   Utf8AusAnsi(ansi).c_str(), nullptr));
}

void Zahl(lxw_worksheet* blatt, int zeile, int spalte, double wert) {
    Pruefen(worksheet_write_number(blatt, static_cast<lxw_row_t>(zeile), static_cast<lxw_col_t>(spalte), wert, nullptr));
}

// ---------------------------------------------------------------- Lesen

struct TZipFreigabe {
    void operator()(zip_t* z) const { zip_discard(z); }
};

std::optional<std::string> TeilLesen(zip_t* zip, const std::string& name) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(zip, name.c_str(), 0, &st) != 0) return std::nullopt;
    if ((st.valid & ZIP_STAT_SIZE) == 0 || st.size > TeilHoechstens) Unlesbar(name + " ist zu gross");
    zip_file_t* f = zip_fopen(zip, name.c_str(), 0);
    if (f == nullptr) Unlesbar(name + " l\xE4sst sich nicht entpacken");
    std::string inhalt(static_cast<size_t>(st.size), '\0');
    const zip_int64_t n = zip_fread(f, inhalt.data(), st.size);
    zip_fclose(f);
    if (n < 0 || static_cast<zip_uint64_t>(n) != st.size) Unlesbar(name + " l\xE4sst sich nicht entpacken");
    return inhalt;
}

// Ein XML-Text Ereignis für Ereignis: Anfang (Name ohne Präfix, Attribute), Text, Ende.
class TXml {
public:
    virtual ~TXml() = default;
    void Lesen(const std::string& text, const std::string& teil) {
        std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> p(XML_ParserCreate("UTF-8"), XML_ParserFree);
        if (!p) throw std::bad_alloc();
        Parser = p.get();
        XML_SetUserData(p.get(), this);
        // Keine Ausnahme darf durch expat (C) laufen: sie wird gemerkt, das
        // Lesen angehalten und danach hier geworfen.
        XML_SetElementHandler(
            p.get(),
            [](void* d, const XML_Char* name, const XML_Char** attr) {
                auto* x = static_cast<TXml*>(d);
                x->Sicher([&] { x->Anfang(Lokal(name), attr); });
            },
            [](void* d, const XML_Char* name) {
                auto* x = static_cast<TXml*>(d);
                x->Sicher([&] { x->Ende(Lokal(name)); });
            });
        XML_SetCharacterDataHandler(p.get(), [](void* d, const XML_Char* s, int n) {
            auto* x = static_cast<TXml*>(d);
            x->Sicher([&] { x->Zeichen(std::string_view(s, static_cast<size_t>(n))); });
        });
        const XML_Status status =
            XML_Parse(p.get(), text.data(), static_cast<int>(std::min<size_t>(text.size(), INT32_MAX)), 1);
        if (Fehler) std::rethrow_exception(Fehler);
        if (status == XML_STATUS_ERROR) Unlesbar(teil + ": " + XML_ErrorString(XML_GetErrorCode(p.get())));
    }
    static std::string Attribut(const XML_Char** attr, std::string_view name) {
        for (int i = 0; attr[i] != nullptr; i += 2)
            if (Lokal(attr[i]) == name) return attr[i + 1];
        return {};
    }

protected:
    template <class F> void Sicher(F&& f) {
        if (Fehler) return;
        try {
            f();
        } catch (...) {
            Fehler = std::current_exception();
            XML_StopParser(Parser, XML_FALSE);
        }
    }
    virtual void Anfang(std::string_view name, const XML_Char** attr) = 0;
    virtual void Ende(std::string_view name) = 0;
    virtual void Zeichen(std::string_view) {}

private:
    XML_Parser Parser = nullptr;
    std::exception_ptr Fehler;
    static std::string_view Lokal(const char* name) {
        const std::string_view n(name);
        const size_t doppelpunkt = n.rfind(':');
        return doppelpunkt == std::string_view::npos ? n : n.substr(doppelpunkt + 1);
    }
};

// xl/workbook.xml: Name und r:id jedes Blatts.
class TMappe final : public TXml {
public:
    std::vector<std::pair<std::string, std::string>> Blaetter;

protected:
    void Anfang(std::string_view name, const XML_Char** attr) override {
        if (name == "sheet") Blaetter.emplace_back(Attribut(attr, "name"), Attribut(attr, "id"));
    }
    void Ende(std::string_view) override {}
};

// xl/_rels/workbook.xml.rels: Ziel je Id.
class TBezuege final : public TXml {
public:
    std::map<std::string, std::string> Ziele;

protected:
    void Anfang(std::string_view name, const XML_Char** attr) override {
        if (name == "Relationship") Ziele[Attribut(attr, "Id")] = Attribut(attr, "Target");
    }
    void Ende(std::string_view) override {}
};

// xl/sharedStrings.xml: je <si> der Text aller <t> (auch in <r>), ohne Lautschrift <rPh>.
class TGemeinsameTexte final : public TXml {
public:
    std::vector<std::string> Texte;

protected:
    void Anfang(std::string_view name, const XML_Char**) override {
        if (name == "si") Texte.emplace_back();
        else if (name == "rPh") ++Lautschrift;
        else if (name == "t") ImText = true;
    }
    void Ende(std::string_view name) override {
        if (name == "rPh") --Lautschrift;
        else if (name == "t") ImText = false;
    }
    void Zeichen(std::string_view s) override {
        if (ImText && Lautschrift == 0 && !Texte.empty()) Texte.back() += s;
    }

private:
    bool ImText = false;
    int Lautschrift = 0;
};

// Ein Blatt: je Zeile die Zellen nach Spalte, mit gespeichertem Wert.
class TBlatt final : public TXml {
public:
    explicit TBlatt(const std::vector<std::string>& gemeinsam) : Gemeinsam(gemeinsam) {}
    struct TZelle {
        std::string Text; // UTF-8
        bool Zahl = false;
    };
    std::map<size_t, std::map<size_t, TZelle>> Zeilen;

protected:
    void Anfang(std::string_view name, const XML_Char** attr) override {
        if (name == "row") {
            const std::string r = Attribut(attr, "r");
            Zeile = r.empty() ? Zeile + 1 : std::strtoul(r.c_str(), nullptr, 10);
            Spalte = 0;
        } else if (name == "c") {
            const std::string ref = Attribut(attr, "r");
            size_t s = 0;
            for (const char ch : ref) {
                if (ch < 'A' || ch > 'Z') break;
                s = s * 26 + static_cast<size_t>(ch - 'A' + 1);
                // Mehr Spalten als XFD (16 384) hat keine Tabellenkalkulation.
                if (s > 16384) Unlesbar("Zelle " + ref.substr(0, 20) + " ausserhalb der Tabelle");
            }
            Spalte = s > 0 ? s - 1 : Spalte;
            if (Spalte >= 16384) Unlesbar("zu viele Zellen in einer Zeile");
            Typ = Attribut(attr, "t");
            Wert.clear();
            Eingebettet.clear();
        } else if (name == "v") {
            ImWert = true;
        } else if (name == "is") {
            ImEingebettet = true;
        } else if (name == "t" && ImEingebettet) {
            ImText = true;
        } else if (name == "f") {
            ImFormel = true; // die Formel selbst zählt nie, nur ihr gespeicherter Wert
        }
    }
    void Ende(std::string_view name) override {
        if (name == "v") {
            ImWert = false;
        } else if (name == "t") {
            ImText = false;
        } else if (name == "is") {
            ImEingebettet = false;
        } else if (name == "f") {
            ImFormel = false;
        } else if (name == "c") {
            TZelle z;
            if (Typ == "s") {
                const size_t i = std::strtoul(Wert.c_str(), nullptr, 10);
                if (Wert.empty() || i >= Gemeinsam.size()) Unlesbar("Verweis auf einen fehlenden Text");
                z.Text = Gemeinsam[i];
            } else if (Typ == "inlineStr") {
                z.Text = Eingebettet;
            } else {
                z.Text = Wert;
                z.Zahl = Typ.empty() || Typ == "n";
            }
            Zeilen[Zeile][Spalte] = std::move(z);
            ++Spalte;
        }
    }
    void Zeichen(std::string_view s) override {
        if (ImWert && !ImFormel) Wert += s;
        else if (ImText) Eingebettet += s;
    }

private:
    const std::vector<std::string>& Gemeinsam;
    size_t Zeile = 0, Spalte = 0;
    std::string Typ, Wert, Eingebettet;
    bool ImWert = false, ImEingebettet = false, ImText = false, ImFormel = false;
};

} // namespace

bool IstXlsx(const std::string& pfad) {
    if (pfad.size() < 5) return false;
    std::string endung = pfad.substr(pfad.size() - 5);
    std::transform(endung.begin(), endung.end(), endung.begin(), [](unsigned char c) { return std::tolower(c); });
    return endung == ".xlsx";
}

std::string DateiBytes(const std::string& dateiName) {
    std::ifstream ein(dateiName, std::ios::binary);
    if (!ein) throw EFOpenError(MeldungMitGrund("Die Datei " + DateinameFuerAnzeige(dateiName) +
                                                    " kann nicht ge\xF6" "ffnet werden.",
                                                std::strerror(errno)));
    return {std::istreambuf_iterator<char>(ein), std::istreambuf_iterator<char>()};
}

TWertePruefung WerteDateiPruefen(const TModell& modell, const std::string& pfad) {
    if (IstXlsx(pfad)) return WertePruefen(modell, XlsxTabelleLesen(DateiBytes(pfad)));
    // CSV ohne Kopie des Texts: geprüft wird, während gelesen wird.
    TLeseDatei datei(pfad);
    TTextPuffer inhalt;
    datei.Lesen(inhalt, datei.Groesse() + 1);
    return CsvWertePruefen(modell, inhalt.Text());
}

std::string WerteAlsXlsx(const TModell& modell, bool mitStroemen) {
    const THilfsdatei datei;
    lxw_workbook* mappe = workbook_new(datei.Name.c_str());
    if (mappe == nullptr) throw EFCreateError("XLSX: die Arbeitsmappe l\xE4sst sich nicht anlegen");
    try {
        lxw_worksheet* werte = workbook_add_worksheet(mappe, "Werte");
        for (int s = 0; s < 8; ++s) Text(werte, 0, s, WerteSpalten[s]);
        int zeile = 1;
        for (const TWertZeile& z : WerteZeilen(modell)) {
            Zahl(werte, zeile, 0, z.FONr);
            Text(werte, zeile, 1, z.Objekt);
            Text(werte, zeile, 2, z.Art);
            Text(werte, zeile, 3, z.Groesse);
            if (!z.Artikel.empty()) Text(werte, zeile, 4, z.Artikel);
            if (!z.Von.empty()) Text(werte, zeile, 5, z.Von);
            if (!z.Nach.empty()) Text(werte, zeile, 6, z.Nach);
            Zahl(werte, zeile, 7, z.Wert);
            ++zeile;
        }
        if (mitStroemen) {
            lxw_worksheet* stroeme = workbook_add_worksheet(mappe, "Stroeme");
            const char* kopf[] = {"FONr", "Name", "Start", "Startname", "Ziel", "Zielname"};
            for (int s = 0; s < 6; ++s) Text(stroeme, 0, s, kopf[s]);
            for (int a = 0; a < modell.AnzahlArtikel(); ++a)
                Text(stroeme, 0, 6 + a, modell.ArtikelListe[static_cast<size_t>(a)]);
            int r = 1;
            for (const auto& o : modell.FOListe.Alle()) {
                const TWeg* weg = o->AlsWeg();
                if (weg == nullptr) continue;
                Zahl(stroeme, r, 0, weg->FONr);
                Text(stroeme, r, 1, weg->Name);
                if (const TKnoten* k = weg->Start(); k != nullptr) {
                    Zahl(stroeme, r, 2, k->FONr);
                    Text(stroeme, r, 3, k->Name);
                }
                if (const TKnoten* k = weg->Ziel(); k != nullptr) {
                    Zahl(stroeme, r, 4, k->FONr);
                    Text(stroeme, r, 5, k->Name);
                    const int p = k->EingangIndex(weg);
                    for (int a = 0; a < modell.AnzahlArtikel(); ++a)
                        if (const double* z = p >= 0 ? k->Matrix().Zelle(a, p + 1, 0) : nullptr; z != nullptr)
                            Zahl(stroeme, r, 6 + a, *z);
                }
                ++r;
            }
        }
    } catch (...) {
        workbook_close(mappe);
        throw;
    }
    Pruefen(workbook_close(mappe));
    return DateiBytes(datei.Name);
}

TGeleseneTabelle XlsxTabelleLesen(const std::string& inhalt) {
    zip_error_t fehler;
    zip_error_init(&fehler);
    zip_source_t* quelle = zip_source_buffer_create(inhalt.data(), inhalt.size(), 0, &fehler);
    if (quelle == nullptr) Unlesbar(zip_error_strerror(&fehler));
    std::unique_ptr<zip_t, TZipFreigabe> zip(zip_open_from_source(quelle, ZIP_RDONLY, &fehler));
    if (!zip) {
        zip_source_free(quelle);
        const std::string grund = zip_error_strerror(&fehler);
        zip_error_fini(&fehler);
        Unlesbar("kein ZIP-Archiv: " + grund);
    }
    zip_error_fini(&fehler);

    const std::optional<std::string> mappeText = TeilLesen(zip.get(), "xl/workbook.xml");
    if (!mappeText) Unlesbar("xl/workbook.xml fehlt");
    TMappe mappe;
    mappe.Lesen(*mappeText, "xl/workbook.xml");
    if (mappe.Blaetter.empty()) Unlesbar("kein Blatt");
    auto blatt = std::find_if(mappe.Blaetter.begin(), mappe.Blaetter.end(), [](const auto& b) { return b.first == "Werte"; });
    if (blatt == mappe.Blaetter.end()) blatt = mappe.Blaetter.begin();
    TBezuege bezuege;
    if (const auto rels = TeilLesen(zip.get(), "xl/_rels/workbook.xml.rels")) bezuege.Lesen(*rels, "workbook.xml.rels");
    std::string ziel = bezuege.Ziele[blatt->second];
    if (ziel.empty()) Unlesbar("das Blatt " + blatt->first + " hat keine Datei");
    ziel = ziel.front() == '/' ? ziel.substr(1) : "xl/" + ziel;

    TGemeinsameTexte gemeinsam;
    if (const auto texte = TeilLesen(zip.get(), "xl/sharedStrings.xml")) gemeinsam.Lesen(*texte, "sharedStrings.xml");
    const std::optional<std::string> blattText = TeilLesen(zip.get(), ziel);
    if (!blattText) Unlesbar(ziel + " fehlt");
    TBlatt zellen(gemeinsam.Texte);
    zellen.Lesen(*blattText, ziel);

    TGeleseneTabelle tabelle;
    tabelle.Tabellenkalkulation = true;
    bool kopf = true;
    for (const auto& [nr, spalten] : zellen.Zeilen) {
        if (spalten.empty()) continue;
        const size_t breite = spalten.rbegin()->first + 1;
        std::vector<std::string> felder(std::max<size_t>(breite, kopf ? 0 : 8));
        for (const auto& [s, z] : spalten) felder[s] = AnsiAusUtf8(z.Text);
        // Leere Zellen am Ende einer Zeile schreibt eine Tabellenkalkulation nicht.
        if (!kopf && felder.size() > 8 &&
            std::all_of(felder.begin() + 8, felder.end(), [](const std::string& f) { return f.empty(); }))
            felder.resize(8);
        if (kopf) {
            tabelle.Kopf = std::move(felder);
            kopf = false;
            continue;
        }
        if (std::all_of(felder.begin(), felder.end(), [](const std::string& f) { return f.empty(); })) continue;
        const auto wert = spalten.find(7);
        tabelle.WertIstZahl.push_back(wert != spalten.end() && wert->second.Zahl);
        tabelle.ZeileBeginnen(nr);
        for (std::string& f : felder) tabelle.FeldAnhaengen(tabelle.Eigen(std::move(f)));
    }
    std::vector<std::string> erwartet(std::begin(WerteSpalten), std::end(WerteSpalten));
    if (tabelle.Kopf != erwartet)
        throw EModellErzeugen("die Kopfzeile ist nicht FONr, Objekt, Art, Groesse, Artikel, Von, Nach, Wert");
    return tabelle;
}

} // namespace tessomir
