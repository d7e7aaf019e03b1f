#pragma once
// Der Hilfebetrachter des Programms: ein Fenster, das Seiten, Stilvorlagen,
// Bilder, Inhaltsverzeichnis (.hhc) und Index (.hhk) unmittelbar aus der
// CHM-Datei liest (chmlib). Ein Fenster für alle Aufrufe, nach vorn geholt.
#include <QMainWindow>
#include <QTextBrowser>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "help/UHilfe.h"

struct chmFile;
class QAction;
class QLineEdit;
class QListWidget;
class QTreeWidget;

namespace tessomir {

// Eine geöffnete CHM-Datei; der Destruktor schliesst sie. Pfade im Innern
// beginnen mit "/" und sind UTF-8; Gross- und Kleinschreibung zählt nicht.
class TChmDatei {
public:
    // nullptr, wenn die Datei fehlt oder keine CHM-Datei ist.
    static std::unique_ptr<TChmDatei> Oeffnen(const std::string& pfad);

    bool Enthaelt(const std::string& pfad) const;
    std::optional<std::string> Lesen(const std::string& pfad) const;
    // Aus dem Systemeintrag der Datei; leer, wenn er fehlt.
    const std::string& Inhaltsdatei() const { return Inhalt; }
    const std::string& Indexdatei() const { return Index; }
    const std::string& Startseite() const { return Start; }

private:
    struct TSchliessen {
        void operator()(chmFile* datei) const;
    };
    explicit TChmDatei(chmFile* datei);
    void SystemLesen();
    std::string Gefunden(const char* endung) const;

    std::unique_ptr<chmFile, TSchliessen> Datei;
    std::string Inhalt;
    std::string Index;
    std::string Start;
};

// Ein Eintrag einer Sitemap (.hhc oder .hhk): Name, Seite, Tiefe ab 0.
struct TSitemapEintrag {
    std::string Name;
    std::string Seite;
    int Tiefe = 0;
};
std::vector<TSitemapEintrag> SitemapLesen(const std::string& text);

// Macht einen Verweis der Hilfedatei zu ihrem inneren Pfad ("/a/b.htm").
std::string ChmPfad(const std::string& verweis);

// Die Seitenansicht: jede Ressource kommt aus der CHM-Datei.
class THilfeBrowser final : public QTextBrowser {
    Q_OBJECT
public:
    explicit THilfeBrowser(QWidget* eltern = nullptr);
    void DateiSetzen(const TChmDatei* datei) { Datei = datei; }
    QVariant loadResource(int art, const QUrl& adresse) override;

private:
    const TChmDatei* Datei = nullptr;
};

class THilfefenster final : public QMainWindow {
    Q_OBJECT
public:
    explicit THilfefenster(QWidget* eltern = nullptr);
    ~THilfefenster() override;

    void DateiSetzen(std::unique_ptr<TChmDatei> datei, const std::string& pfad);
    const std::string& Dateipfad() const { return Pfad; }
    // Thema "/..." oder leer (Startseite); falsch, wenn es fehlt.
    bool ThemaZeigen(const std::string& thema);

    THilfeBrowser* Browser() const { return Seite; }

private:
    void InhaltLaden();
    void IndexLaden();
    void IndexFiltern(const QString& text);
    void SeiteGewechselt(const QUrl& adresse);

    std::unique_ptr<TChmDatei> Datei;
    std::string Pfad;
    THilfeBrowser* Seite = nullptr;
    QTreeWidget* TVInhalt = nullptr;
    QLineEdit* EDSuchen = nullptr;
    QListWidget* LBIndex = nullptr;
    QAction* ACZurueck = nullptr;
    QAction* ACVor = nullptr;
    QAction* ACStartseite = nullptr;
};

// Der Betrachter für HilfeZeigen; setzt sich für seine Lebenszeit ein.
class THtmlHilfe final : public IHilfeBetrachter {
public:
    THtmlHilfe();
    ~THtmlHilfe() override;
    THtmlHilfe(const THtmlHilfe&) = delete;
    THtmlHilfe& operator=(const THtmlHilfe&) = delete;

    bool AdresseZeigen(const std::string& adresse) override;
    // Das Fenster, sobald ein Thema gezeigt wurde, sonst nullptr.
    THilfefenster* Fenster() const { return HilfeFenster.get(); }

private:
    IHilfeBetrachter* Vorher = nullptr;
    std::unique_ptr<THilfefenster> HilfeFenster;
};

} // namespace tessomir
