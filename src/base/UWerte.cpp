#include "base/UWerte.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

#include "base/UFehler.h"
#include "base/UPlattform.h"
#include "base/UText.h"

namespace tessomir {
namespace {

// Signifikante Dezimalziffern eines Betrags: Wert = Z[0].Z[1..] * 10^Exponent.
struct TZiffern {
    char Z[24];
    int Anzahl = 0;
    int Exponent = 0;
};

// Zerlegt die Ausgabe von to_chars im wissenschaftlichen Format.
void ZiffernLesen(const char* anfang, const char* ende, TZiffern& z) {
    z.Anzahl = 0;
    const char* p = anfang;
    for (; p < ende && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9' && z.Anzahl < 23) z.Z[z.Anzahl++] = *p;
    }
    z.Exponent = 0;
    if (p < ende) std::from_chars(p[1] == '+' ? p + 2 : p + 1, ende, z.Exponent);
}

// Rundet den exakten Binärwert a (> 0, endlich) auf n signifikante Stellen
// (1 <= n <= 17), Hälften vom Null weg. Nachlaufende Nullen bleiben stehen.
TZiffern Signifikant(double a, int n) {
    char puffer[64];
    TZiffern kurz;
    auto r = std::to_chars(puffer, puffer + sizeof puffer, a, std::chars_format::scientific);
    ZiffernLesen(puffer, r.ptr, kurz);
    // Die kürzeste Darstellung ist exakt genug, solange die volle Mantisse
    // zählt; subnormale Werte haben weniger Stellen als n und brauchen die
    // echte Rundung ("4.94065645841247E-324", nicht "5E-324").
    if (kurz.Anzahl <= n && a >= std::numeric_limits<double>::min()) return kurz;

    TZiffern erg;
    r = std::to_chars(puffer, puffer + sizeof puffer, a, std::chars_format::scientific, n - 1);
    ZiffernLesen(puffer, r.ptr, erg);
    // Eine exakte Hälfte endet mit der Stelle n+1 auf 5; to_chars rundet sie
    // zur geraden Ziffer, gewünscht ist weg von Null.
    if (kurz.Anzahl == n + 1 && kurz.Z[n] == '5') {
        static thread_local char exakt[1100];
        const auto re = std::to_chars(exakt, exakt + sizeof exakt, a,
                                      std::chars_format::scientific, 800);
        const char* e = std::find(exakt, re.ptr, 'e');
        const char* letzte = e - 1;
        while (letzte > exakt && *letzte == '0') --letzte;
        const int ziffern = static_cast<int>(letzte - exakt); // ohne den Punkt
        if (ziffern == n + 1) {
            TZiffern auf = kurz;
            auf.Anzahl = n;
            int i = n - 1;
            while (i >= 0 && auf.Z[i] == '9') auf.Z[i--] = '0';
            if (i >= 0) {
                ++auf.Z[i];
            } else {
                auf.Z[0] = '1';
                ++auf.Exponent;
            }
            return auf;
        }
    }
    return erg;
}

void NullenAbschneiden(TZiffern& z) {
    while (z.Anzahl > 1 && z.Z[z.Anzahl - 1] == '0') --z.Anzahl;
}

std::string ExponentText(bool negativ, TZiffern z, char trenner) {
    NullenAbschneiden(z);
    std::string s;
    if (negativ) s += '-';
    s += z.Z[0];
    if (z.Anzahl > 1) {
        s += trenner;
        s.append(z.Z + 1, static_cast<size_t>(z.Anzahl - 1));
    }
    s += 'E';
    s += std::to_string(z.Exponent);
    return s;
}

std::string Sonderwert(double wert) {
    if (std::isnan(wert)) return "NAN";
    return wert < 0 ? "-INF" : "INF";
}

// Festformat mit höchstens 'signifikant' Stellen und 'stellen' Nachkommastellen.
std::string FestFormat(double wert, int stellen, int signifikant, char trenner) {
    if (!std::isfinite(wert)) return Sonderwert(wert);
    if (stellen < 0) stellen = 0;
    const bool negativ = wert < 0;
    const double a = std::fabs(wert);
    TZiffern z;
    bool null = a == 0.0;
    if (!null) {
        TZiffern roh = Signifikant(a, 17);
        if (roh.Exponent >= signifikant) return ExponentText(negativ, Signifikant(a, signifikant), trenner);
        const int n = std::min(signifikant, roh.Exponent + 1 + stellen);
        if (n >= 1) {
            z = Signifikant(a, n);
            if (z.Exponent >= signifikant) return ExponentText(negativ, z, trenner);
        } else if (n == 0 && roh.Z[0] >= '5') {
            // Rundet auf eine Einheit der letzten Stelle auf.
            z.Anzahl = 1;
            z.Z[0] = '1';
            z.Exponent = roh.Exponent + 1;
        } else {
            null = true;
        }
    }
    std::string s;
    if (null) {
        s = "0";
        if (stellen > 0) {
            s += trenner;
            s.append(static_cast<size_t>(stellen), '0');
        }
        return s;
    }
    if (negativ) s += '-';
    // Ziffer an Position p (10^p), 0 außerhalb der vorhandenen Ziffern.
    auto ziffer = [&z](int p) {
        const int i = z.Exponent - p;
        return (i >= 0 && i < z.Anzahl) ? z.Z[i] : '0';
    };
    for (int p = std::max(z.Exponent, 0); p >= 0; --p) s += ziffer(p);
    if (stellen > 0) {
        s += trenner;
        for (int p = -1; p >= -stellen; --p) s += ziffer(p);
    }
    return s;
}

bool IstZiffer(char c) { return c >= '0' && c <= '9'; }

bool GleichOhneGross(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (x != b[i]) return false;
    }
    return true;
}

// Grund für den Anwender: ein leerer Wert ist ein fehlender, kein falscher.
std::string UmwandlungsGrund(std::string_view text, const std::string& art) {
    if (text.find_first_not_of(" \t") == std::string_view::npos) return "der Wert fehlt, erwartet ist eine " + art;
    return Zitat(text) + " ist keine g\xFC" "ltige " + art;
}

[[noreturn]] void KeineZahl(std::string_view text) {
    throw EConvertError("'" + Gekuerzt(text) + "' ist kein g\xFC" "ltiger Gleitkommawert",
                        UmwandlungsGrund(text, "Zahl"));
}

[[noreturn]] void KeineGanzzahl(std::string_view text) {
    throw EConvertError("'" + Gekuerzt(text) + "' ist kein g\xFC" "ltiger Integerwert",
                        UmwandlungsGrund(text, "ganze Zahl"));
}

} // namespace

std::string Zitat(std::string_view text) {
    constexpr size_t Hoechstens = 40;
    std::string z = "'";
    for (size_t i = 0; i < text.size() && i < Hoechstens; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        z += (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
    }
    if (text.size() > Hoechstens) z += '\x85'; // Auslassungspunkte
    return z + "'";
}

std::optional<double> ZahlAusEingabe(std::string_view text, char trenner) {
    try {
        return FloatAusText(text, trenner);
    } catch (const EConvertError&) {
        if (trenner == DateiTrenner) return std::nullopt;
    }
    try {
        return FloatAusText(text, DateiTrenner);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

TPunkt Punkt(double x, double y) { return TPunkt{x, y}; }

namespace {

// Schneller Weg für die meisten Werte einer Datei: ganze Zahlen und Werte
// mit höchstens 15 signifikanten Stellen im Festformat. Die kürzeste
// Darstellung von to_chars hat dann dieselben Ziffern wie der allgemeine Weg;
// alles andere (Exponentform, Rundung auf 15 Stellen) geht den allgemeinen.
// BM_SpeichernSpeicher/100000: ZuToChars 1,70 statt 2,16 ohne ihn (Median
// aus drei gepaarten Läufen).
char* SchnellSchreiben(char* ziel, double wert, char trenner) {
    const double a = std::fabs(wert);
    if (!(a < 1e15)) return nullptr;
    if (a == std::floor(a)) {
        // -0.0 schreibt wie 0.0 "0".
        const auto ganz = static_cast<int64_t>(wert);
        return std::to_chars(ziel, ziel + FloatTextLaenge, ganz).ptr;
    }
    if (a < 1e-5) return nullptr;
    char* p = ziel;
    if (wert < 0) *p++ = '-';
    char* const anfang = p;
    char* const ende = std::to_chars(p, ziel + FloatTextLaenge, a, std::chars_format::fixed).ptr;
    int signifikant = 0;
    bool gesehen = false;
    char* punkt = nullptr;
    for (char* q = anfang; q < ende; ++q) {
        if (*q == '.') {
            punkt = q;
        } else if (gesehen || *q != '0') {
            gesehen = true;
            ++signifikant;
        }
    }
    if (signifikant > 15) return nullptr;
    if (punkt != nullptr) *punkt = trenner;
    return ende;
}

} // namespace

char* FloatSchreiben(char* ziel, double wert, char trenner) {
    if (char* ende = SchnellSchreiben(ziel, wert, trenner)) return ende;
    const std::string text = TextAusFloat(wert, trenner);
    return std::copy(text.begin(), text.end(), ziel);
}

std::string TextAusFloat(double wert, char trenner) {
    if (!std::isfinite(wert)) return Sonderwert(wert);
    if (wert == 0.0) return "0";
    const bool negativ = wert < 0;
    TZiffern z = Signifikant(std::fabs(wert), 15);
    NullenAbschneiden(z);
    if (z.Exponent < -5 || z.Exponent >= 15) return ExponentText(negativ, z, trenner);
    std::string s;
    if (negativ) s += '-';
    if (z.Exponent < 0) {
        s += '0';
        s += trenner;
        s.append(static_cast<size_t>(-z.Exponent - 1), '0');
        s.append(z.Z, static_cast<size_t>(z.Anzahl));
        return s;
    }
    for (int i = 0; i <= z.Exponent; ++i) s += i < z.Anzahl ? z.Z[i] : '0';
    if (z.Anzahl > z.Exponent + 1) {
        s += trenner;
        s.append(z.Z + z.Exponent + 1, static_cast<size_t>(z.Anzahl - z.Exponent - 1));
    }
    return s;
}

std::string TextAusFloatFest(double wert, int stellen, char trenner) {
    return FestFormat(wert, stellen, 10, trenner);
}

std::string TextAusFloatZweiStellen(double wert, char trenner) {
    return FestFormat(wert, 2, 15, trenner);
}

namespace {

// Schlichte Zahlen "[-]Ziffern[.Ziffern]" mit höchstens 15 Ziffern, wie fast
// alle Werte einer Datei: Ganzzahl und Zehnerpotenz sind als double exakt,
// ihr Quotient ist so korrekt gerundet wie from_chars. false: allgemeiner Weg.
bool SchlichteZahl(std::string_view text, char trenner, double& wert) {
    constexpr double Zehner[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = text.data();
    const char* const ende = p + text.size();
    const bool negativ = p < ende && *p == '-';
    if (negativ) ++p;
    uint64_t m = 0;
    int ziffern = 0;
    const char* const vorAnfang = p;
    while (p < ende && IstZiffer(*p)) {
        m = m * 10 + static_cast<uint64_t>(*p++ - '0');
        ++ziffern;
    }
    if (p == vorAnfang) return false;
    int nachkomma = 0;
    if (p < ende && *p == trenner) {
        ++p;
        const char* const nachAnfang = p;
        while (p < ende && IstZiffer(*p)) {
            m = m * 10 + static_cast<uint64_t>(*p++ - '0');
            ++ziffern;
        }
        nachkomma = static_cast<int>(p - nachAnfang);
        if (nachkomma == 0) return false;
    }
    // Über 15 Ziffern wäre m nicht mehr sicher exakt (und könnte überlaufen).
    if (p != ende || ziffern > 15) return false;
    const double betrag = nachkomma == 0 ? static_cast<double>(m) : static_cast<double>(m) / Zehner[nachkomma];
    wert = negativ ? -betrag : betrag;
    return true;
}

} // namespace

double FloatAusText(std::string_view text, char trenner) {
    double schnell = 0.0;
    if (SchlichteZahl(text, trenner, schnell)) return schnell;
    const std::string_view original = text;
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty()) KeineZahl(original);

    bool negativ = false;
    std::string_view rest = text;
    if (rest.front() == '+' || rest.front() == '-') {
        negativ = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (GleichOhneGross(rest, "INF")) {
        return negativ ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    if (GleichOhneGross(rest, "NAN") && !negativ) return std::numeric_limits<double>::quiet_NaN();

    // Genormte Form für from_chars: Ziffern, '.', Exponent.
    char puffer[128];
    std::string gross;
    char* ziel = puffer;
    if (rest.size() + 2 > sizeof puffer) {
        gross.resize(rest.size() + 2);
        ziel = gross.data();
    }
    size_t n = 0;
    size_t i = 0;
    int mantissenZiffern = 0;
    // Grobe Größenordnung, um Unterlauf von Überlauf zu unterscheiden.
    long long groesse = 0;
    bool ersteZifferGesehen = false;
    while (i < rest.size() && IstZiffer(rest[i])) {
        if (rest[i] != '0' || ersteZifferGesehen) {
            if (ersteZifferGesehen) ++groesse;
            ersteZifferGesehen = true;
        }
        ziel[n++] = rest[i++];
        ++mantissenZiffern;
    }
    if (i < rest.size() && rest[i] == trenner) {
        ziel[n++] = '.';
        ++i;
        while (i < rest.size() && IstZiffer(rest[i])) {
            if (!ersteZifferGesehen) {
                --groesse;
                if (rest[i] != '0') ersteZifferGesehen = true;
            }
            ziel[n++] = rest[i++];
            ++mantissenZiffern;
        }
    }
    if (mantissenZiffern == 0) KeineZahl(original);
    long long exponent = 0;
    if (i < rest.size() && (rest[i] == 'E' || rest[i] == 'e')) {
        ziel[n++] = 'e';
        ++i;
        bool expNegativ = false;
        if (i < rest.size() && (rest[i] == '+' || rest[i] == '-')) {
            expNegativ = rest[i] == '-';
            ziel[n++] = rest[i++];
        }
        const size_t expAnfang = i;
        while (i < rest.size() && IstZiffer(rest[i])) {
            if (exponent < 100000000) exponent = exponent * 10 + (rest[i] - '0');
            ziel[n++] = rest[i++];
        }
        if (i == expAnfang) KeineZahl(original);
        if (expNegativ) exponent = -exponent;
    }
    if (i != rest.size()) KeineZahl(original);

    double wert = 0.0;
    const auto r = std::from_chars(ziel, ziel + n, wert, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        if (!ersteZifferGesehen || groesse + exponent < 0) return negativ ? -0.0 : 0.0;
        // Der größte Wert wird mit 15 Stellen als 1.79769313486232E308 geschrieben,
        // knapp über dem Bereich; so gespeicherte Dateien müssen lesbar bleiben.
        long double genau = 0.0L;
        const auto rl = std::from_chars(ziel, ziel + n, genau, std::chars_format::general);
        if (rl.ec == std::errc() && rl.ptr == ziel + n && genau <= 1.79769313486232E308L) {
            const double groesster = std::numeric_limits<double>::max();
            return negativ ? -groesster : groesster;
        }
        throw EConvertError("'" + Gekuerzt(original) + "' liegt au\xDF" "erhalb des Gleitkommabereichs",
                            Zitat(original) + " ist zu gro\xDF" " f\xFC" "r eine Zahl");
    }
    if (r.ec != std::errc() || r.ptr != ziel + n) KeineZahl(original);
    return negativ ? -wert : wert;
}

int32_t IntAusText(std::string_view text) {
    const std::string_view original = text;
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    bool negativ = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negativ = text.front() == '-';
        text.remove_prefix(1);
    }
    int basis = 10;
    if (!text.empty() && text.front() == '$') {
        basis = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        basis = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) KeineGanzzahl(original);
    int64_t wert = 0;
    for (const char c : text) {
        int ziffer;
        if (IstZiffer(c)) ziffer = c - '0';
        else if (basis == 16 && c >= 'a' && c <= 'f') ziffer = c - 'a' + 10;
        else if (basis == 16 && c >= 'A' && c <= 'F') ziffer = c - 'A' + 10;
        else KeineGanzzahl(original);
        wert = wert * basis + ziffer;
        if (wert > int64_t{1} << 32) KeineGanzzahl(original);
    }
    if (negativ) wert = -wert;
    if (wert < std::numeric_limits<int32_t>::min() || wert > std::numeric_limits<int32_t>::max()) {
        KeineGanzzahl(original);
    }
    return static_cast<int32_t>(wert);
}

std::string TextAusInt(int64_t wert) { return std::to_string(wert); }

std::string TextAusPunkt(const TPunkt& p, char trenner) {
    return TextAusFloat(p.X, trenner) + " / " + TextAusFloat(p.Y, trenner);
}

TPunkt PunktAusText(std::string_view text, char trenner) {
    TPunkt p;
    p.X = FloatAusText(NaechstesFeld(text), trenner);
    p.Y = FloatAusText(NaechstesFeld(text), trenner);
    return p;
}

std::string TextAusBool(bool wert) { return wert ? "WAHR" : "FALSCH"; }

bool BoolAusText(std::string_view text) { return text == "WAHR"; }

std::string Schluessel(std::string_view schluessel) {
    std::string s(schluessel);
    if (s.size() < 20) s.append(20 - s.size(), ' ');
    return s;
}

std::string_view NaechstesFeld(std::string_view& text) {
    std::string_view feld;
    const size_t pos = text.find(" / ");
    if (pos == std::string_view::npos) {
        feld = text;
        text = std::string_view();
    } else {
        feld = text.substr(0, pos);
        text.remove_prefix(pos + 3);
    }
    while (!feld.empty() && static_cast<unsigned char>(feld.front()) <= 32) feld.remove_prefix(1);
    while (!feld.empty() && static_cast<unsigned char>(feld.back()) <= 32) feld.remove_suffix(1);
    return feld;
}

std::string EingabeFehler(std::string_view text, std::string_view bezeichnung, double min, double max,
                          char trenner) {
    double wert;
    try {
        wert = FloatAusText(text, trenner);
    } catch (const EConvertError&) {
        return "Ung\xFC" "ltige Eingabe: " + std::string(bezeichnung);
    }
    if (min <= wert && wert <= max) return {};
    std::string meldung = "Eingabe: " + std::string(bezeichnung) + "\r\n";
    if (min <= 0.01) {
        meldung += "muss gr\xF6sser als 0 und kleiner als " + TextAusFloatZweiStellen(max, trenner) + " sein";
    } else {
        meldung += "muss zwischen " + TextAusFloatZweiStellen(min, trenner) + " und " +
                   TextAusFloatZweiStellen(max, trenner) + " sein";
    }
    return meldung;
}

} // namespace tessomir
