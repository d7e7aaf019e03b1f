#pragma once
// Hilfen für die Dateitests: eigener Ordner je Test, Zeilen bearbeiten,
// Fehlerart einer Ausnahme bestimmen.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/UFehler.h"
#include "base/UWerte.h"

namespace tessomir::test {

// Leerer Ordner unter /tmp, der mit dem Objekt verschwindet.
class TTempOrdner {
public:
    TTempOrdner() {
        static std::atomic<int> laufend{0};
        Pfad = std::filesystem::temp_directory_path() /
               ("tessomir_datei_" + std::to_string(::getpid()) + "_" + std::to_string(laufend++));
        std::filesystem::remove_all(Pfad);
        std::filesystem::create_directories(Pfad);
    }
    ~TTempOrdner() {
        std::error_code egal;
        std::filesystem::permissions(Pfad, std::filesystem::perms::owner_all, egal);
        std::filesystem::remove_all(Pfad, egal);
    }
    TTempOrdner(const TTempOrdner&) = delete;
    TTempOrdner& operator=(const TTempOrdner&) = delete;

    std::string Datei(const std::string& name) const { return (Pfad / name).string(); }
    // Namen aller Einträge, sortiert.
    std::vector<std::string> Eintraege() const {
        std::vector<std::string> namen;
        for (const auto& e : std::filesystem::directory_iterator(Pfad)) namen.push_back(e.path().filename().string());
        std::sort(namen.begin(), namen.end());
        return namen;
    }

    std::filesystem::path Pfad;
};

inline std::string DateiLesen(const std::string& pfad) {
    std::ifstream ein(pfad, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(ein), std::istreambuf_iterator<char>());
}

inline void DateiSchreiben(const std::string& pfad, const std::string& text) {
    std::ofstream aus(pfad, std::ios::binary | std::ios::trunc);
    aus.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Zerlegt einen CR-LF-Text in Zeilen (ohne Zeilenende).
inline std::vector<std::string> ZeilenAus(const std::string& text) {
    std::vector<std::string> zeilen;
    size_t anfang = 0;
    while (anfang < text.size()) {
        size_t ende = text.find("\r\n", anfang);
        if (ende == std::string::npos) ende = text.size();
        zeilen.push_back(text.substr(anfang, ende - anfang));
        anfang = ende + 2;
    }
    return zeilen;
}

inline std::string TextAus(const std::vector<std::string>& zeilen, const std::string& ende = "\r\n") {
    std::string text;
    for (const auto& z : zeilen) text += z + ende;
    return text;
}

// Zeile aus Schlüssel und Wert, wie der Schreibende sie bildet.
inline std::string Zeile(const std::string& schluessel, const std::string& wert) {
    return Schluessel(schluessel) + wert;
}

// Ersetzt den Wert der Zeile nr (ab 1 gezählt); der Schlüssel bleibt.
inline void WertSetzen(std::vector<std::string>& zeilen, size_t nr, const std::string& wert) {
    zeilen.at(nr - 1) = zeilen.at(nr - 1).substr(0, 20) + wert;
}

inline std::string Wert(const std::vector<std::string>& zeilen, size_t nr) {
    const std::string& z = zeilen.at(nr - 1);
    return z.size() > 20 ? z.substr(20) : std::string();
}

// Klasse der Ausnahme, die 'tun' wirft, und ihr Text; "" ohne Ausnahme.
struct TFehlerBild {
    std::string Art;
    std::string Text;
    std::string Grund; // wie ihn das Öffnen meldet
};

inline TFehlerBild FehlerVon(const std::function<void()>& tun) {
    try {
        tun();
    } catch (const EModellErzeugen& e) {
        return {"EModellErzeugen", e.what(), e.OrtUndGrund()};
    } catch (const EConvertError& e) {
        return {"EConvertError", e.what(), e.OrtUndGrund()};
    } catch (const ERangeError& e) {
        return {"ERangeError", e.what(), e.OrtUndGrund()};
    } catch (const EStringListError& e) {
        return {"EStringListError", e.what(), e.OrtUndGrund()};
    } catch (const EListError& e) {
        return {"EListError", e.what(), e.OrtUndGrund()};
    } catch (const EFOpenError& e) {
        return {"EFOpenError", e.what(), e.OrtUndGrund()};
    } catch (const EFCreateError& e) {
        return {"EFCreateError", e.what(), e.OrtUndGrund()};
    } catch (const std::exception& e) {
        return {"std::exception", e.what(), e.what()};
    }
    return {};
}

} // namespace tessomir::test
