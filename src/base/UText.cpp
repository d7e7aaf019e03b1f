#include "base/UText.h"

#include <cstdint>

namespace tessomir {
namespace {

// Unicode der Bytes 0x80..0x9F in Windows-1252; 0 = nicht belegt.
constexpr char32_t Bereich80[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t ZeichenAusAnsi(unsigned char b) {
    if (b >= 0x80 && b < 0xA0) {
        const char32_t u = Bereich80[b - 0x80];
        return u != 0 ? u : b; // unbelegte Bytes wie Latin-1 durchreichen
    }
    return b;
}

void Utf8Anhaengen(std::string& aus, char32_t u) {
    if (u < 0x80) {
        aus += static_cast<char>(u);
    } else if (u < 0x800) {
        aus += static_cast<char>(0xC0 | (u >> 6));
        aus += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        aus += static_cast<char>(0xE0 | (u >> 12));
        aus += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        aus += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        aus += static_cast<char>(0xF0 | (u >> 18));
        aus += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        aus += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        aus += static_cast<char>(0x80 | (u & 0x3F));
    }
}

char AnsiAusZeichen(char32_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
    for (int i = 0; i < 32; ++i) {
        if (Bereich80[i] == u) return static_cast<char>(0x80 + i);
    }
    // Nur die unbelegten Bytes gehen wie Latin-1 zurück; die übrigen
    // Steuerzeichen U+0080..U+009F stehen in Windows-1252 für andere Zeichen.
    if (u >= 0x80 && u < 0xA0 && Bereich80[u - 0x80] == 0) return static_cast<char>(u);
    return '?';
}

} // namespace

std::string Utf8AusAnsi(std::string_view ansi) {
    std::string aus;
    aus.reserve(ansi.size() + ansi.size() / 8);
    for (const char c : ansi) Utf8Anhaengen(aus, ZeichenAusAnsi(static_cast<unsigned char>(c)));
    return aus;
}

std::string AnsiAusUtf8(std::string_view utf8) {
    std::string aus;
    aus.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int folge = 0;
        char32_t u = 0;
        if (b < 0x80) { u = b; }
        else if ((b & 0xE0) == 0xC0) { u = b & 0x1F; folge = 1; }
        else if ((b & 0xF0) == 0xE0) { u = b & 0x0F; folge = 2; }
        else if ((b & 0xF8) == 0xF0) { u = b & 0x07; folge = 3; }
        else { aus += '?'; ++i; continue; }
        bool gueltig = i + folge < utf8.size() + (folge == 0 ? 1 : 0) || folge == 0;
        for (int k = 1; k <= folge && gueltig; ++k) {
            if (i + k >= utf8.size()) { gueltig = false; break; }
            const auto f = static_cast<unsigned char>(utf8[i + k]);
            if ((f & 0xC0) != 0x80) { gueltig = false; break; }
            u = (u << 6) | (f & 0x3F);
        }
        if (!gueltig) { aus += '?'; ++i; continue; }
        aus += AnsiAusZeichen(u);
        i += static_cast<size_t>(folge) + 1;
    }
    return aus;
}

std::string Satzanfang(std::string_view text) {
    std::string s(text);
    if (s.empty()) return s;
    const auto b = static_cast<unsigned char>(s[0]);
    // Kleinbuchstaben: a-z und à-þ ohne ÷ (0xF7); ß hat keinen großen.
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) s[0] = static_cast<char>(b - 0x20);
    return s;
}

std::string Gekuerzt(std::string_view text, size_t hoechstens) {
    if (text.size() <= hoechstens) return std::string(text);
    std::string s(text.substr(0, hoechstens > 0 ? hoechstens - 1 : 0));
    s += '\x85'; // Auslassungspunkte in Windows-1252
    return s;
}

std::string_view Beschriftung(const std::string& name, std::string& puffer) {
    if (name.size() <= BeschriftungHoechstens) return name;
    puffer = Gekuerzt(name, BeschriftungHoechstens);
    return puffer;
}

std::string MeldungMitGrund(std::string_view meldung, std::string_view grund) {
    std::string s(meldung);
    s += '\n';
    s += Satzanfang(grund);
    return s;
}

} // namespace tessomir
