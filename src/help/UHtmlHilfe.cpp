#include "help/UHtmlHilfe.h"

#include <chm_lib.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStringDecoder>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cctype>
#include <exception>

namespace tessomir {
namespace {

constexpr const char* Schema = "chm";
constexpr int SeitenRolle = Qt::UserRole;

QString QtAusUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QUrl SeitenUrl(const std::string& pfad) {
    QUrl url;
    url.setScheme(QLatin1String(Schema));
    url.setPath(QtAusUtf8(pfad));
    return url;
}

std::string Klein(std::string text) {
    for (char& z : text) z = static_cast<char>(std::tolower(static_cast<unsigned char>(z)));
    return text;
}

// Wert eines Attributs in einem Tag, ohne Rücksicht auf Gross- und Kleinschreibung des Namens.
std::string Attribut(const std::string& tag, const std::string& name) {
    const std::string klein = Klein(tag);
    for (size_t p = klein.find(name); p != std::string::npos; p = klein.find(name, p + 1)) {
        if (p > 0 && std::isalnum(static_cast<unsigned char>(klein[p - 1]))) continue;
        size_t q = klein.find_first_not_of(" \t\r\n", p + name.size());
        if (q == std::string::npos || klein[q] != '=') continue;
        q = klein.find_first_not_of(" \t\r\n", q + 1);
        if (q == std::string::npos) return {};
        if (tag[q] == '"' || tag[q] == '\'') {
            const size_t ende = tag.find(tag[q], q + 1);
            return tag.substr(q + 1, ende == std::string::npos ? std::string::npos : ende - q - 1);
        }
        const size_t ende = tag.find_first_of(" \t\r\n>", q);
        return tag.substr(q, ende == std::string::npos ? std::string::npos : ende - q);
    }
    return {};
}

std::string EntitaetenAufloesen(std::string text) {
    static const std::pair<const char*, const char*> Tabelle[] = {
        {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&auml;", "\xC3\xA4"}, {"&ouml;", "\xC3\xB6"},
        {"&uuml;", "\xC3\xBC"}, {"&Auml;", "\xC3\x84"}, {"&Ouml;", "\xC3\x96"}, {"&Uuml;", "\xC3\x9C"},
        {"&szlig;", "\xC3\x9F"}, {"&amp;", "&"}};
    for (const auto& [entitaet, zeichen] : Tabelle)
        for (size_t p = text.find(entitaet); p != std::string::npos; p = text.find(entitaet, p + 1))
            text.replace(p, std::char_traits<char>::length(entitaet), zeichen);
    return text;
}

// Keine Ausnahme verlässt einen Ereignisbehandler.
template <typename F>
void Sicher(F&& f) noexcept {
    try {
        f();
    } catch (const std::exception&) {
        QApplication::beep();
    }
}

} // namespace

// ---------------------------------------------------------------- TChmDatei

void TChmDatei::TSchliessen::operator()(chmFile* datei) const { chm_close(datei); }

TChmDatei::TChmDatei(chmFile* datei) : Datei(datei) { SystemLesen(); }

std::unique_ptr<TChmDatei> TChmDatei::Oeffnen(const std::string& pfad) {
    chmFile* datei = chm_open(pfad.c_str());
    if (datei == nullptr) return nullptr;
    return std::unique_ptr<TChmDatei>(new TChmDatei(datei));
}

bool TChmDatei::Enthaelt(const std::string& pfad) const {
    chmUnitInfo info{};
    return !pfad.empty() && pfad.back() != '/' &&
           chm_resolve_object(Datei.get(), pfad.c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> TChmDatei::Lesen(const std::string& pfad) const {
    chmUnitInfo info{};
    if (pfad.empty() || chm_resolve_object(Datei.get(), pfad.c_str(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    std::string inhalt(static_cast<size_t>(info.length), '\0');
    if (inhalt.empty()) return inhalt;
    const LONGINT64 gelesen = chm_retrieve_object(Datei.get(), &info, reinterpret_cast<unsigned char*>(inhalt.data()),
                                                  0, static_cast<LONGINT64>(info.length));
    if (gelesen != static_cast<LONGINT64>(info.length)) return std::nullopt;
    return inhalt;
}

// "#SYSTEM": eine Version, dann Einträge aus Code, Länge und Text; 0 nennt das
// Inhaltsverzeichnis, 1 den Index, 2 die Startseite.
void TChmDatei::SystemLesen() {
    const std::optional<std::string> system = Lesen("/#SYSTEM");
    if (system) {
        const auto wort = [&](size_t p) {
            return static_cast<size_t>(static_cast<unsigned char>((*system)[p])) |
                   static_cast<size_t>(static_cast<unsigned char>((*system)[p + 1])) << 8;
        };
        for (size_t p = 4; p + 4 <= system->size();) {
            const size_t code = wort(p);
            const size_t laenge = wort(p + 2);
            if (p + 4 + laenge > system->size()) break;
            std::string text = system->substr(p + 4, laenge);
            text = text.substr(0, text.find('\0'));
            if (!text.empty()) {
                if (code == 0) Inhalt = ChmPfad(text);
                else if (code == 1) Index = ChmPfad(text);
                else if (code == 2) Start = ChmPfad(text);
            }
            p += 4 + laenge;
        }
    }
    if (Inhalt.empty()) Inhalt = Gefunden(".hhc");
    if (Index.empty()) Index = Gefunden(".hhk");
}

std::string TChmDatei::Gefunden(const char* endung) const {
    struct TSuche {
        std::string Endung;
        std::string Treffer;
    } suche{endung, {}};
    chm_enumerate(
        Datei.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES,
        [](chmFile*, chmUnitInfo* info, void* kontext) -> int {
            auto* s = static_cast<TSuche*>(kontext);
            const std::string pfad = Klein(info->path);
            if (pfad.size() < s->Endung.size() || pfad.compare(pfad.size() - s->Endung.size(), std::string::npos, s->Endung) != 0)
                return CHM_ENUMERATOR_CONTINUE;
            s->Treffer = info->path;
            return CHM_ENUMERATOR_SUCCESS;
        },
        &suche);
    return suche.Treffer;
}

// ---------------------------------------------------------------- Sitemap und Pfade

std::vector<TSitemapEintrag> SitemapLesen(const std::string& text) {
    std::vector<TSitemapEintrag> eintraege;
    int tiefe = -1;
    std::optional<TSitemapEintrag> offen;
    for (size_t p = text.find('<'); p != std::string::npos; p = text.find('<', p + 1)) {
        const size_t ende = text.find('>', p);
        if (ende == std::string::npos) break;
        const std::string tag = text.substr(p, ende - p + 1);
        const std::string klein = Klein(tag.substr(0, std::min<size_t>(tag.size(), 8)));
        if (klein.rfind("<ul", 0) == 0) ++tiefe;
        else if (klein.rfind("</ul", 0) == 0) --tiefe;
        else if (klein.rfind("<object", 0) == 0) offen = TSitemapEintrag{{}, {}, std::max(tiefe, 0)};
        else if (klein.rfind("<param", 0) == 0 && offen) {
            const std::string name = Klein(Attribut(tag, "name"));
            const std::string wert = EntitaetenAufloesen(Attribut(tag, "value"));
            if (name == "name" && offen->Name.empty()) offen->Name = wert;
            else if (name == "local" && offen->Seite.empty()) offen->Seite = ChmPfad(wert);
        } else if (klein.rfind("</object", 0) == 0 && offen) {
            if (!offen->Name.empty()) eintraege.push_back(*offen);
            offen.reset();
        }
        p = ende;
    }
    return eintraege;
}

std::string ChmPfad(const std::string& verweis) {
    std::string pfad = verweis;
    const size_t trenner = pfad.find("::");
    if (trenner != std::string::npos) pfad = pfad.substr(trenner + 2);
    pfad = pfad.substr(0, pfad.find_first_of("#?"));
    std::replace(pfad.begin(), pfad.end(), '\\', '/');
    // "." und ".." auflösen; oberhalb der Wurzel bleibt die Wurzel.
    std::vector<std::string> teile;
    size_t anfang = 0;
    while (anfang <= pfad.size()) {
        const size_t ende = std::min(pfad.find('/', anfang), pfad.size());
        const std::string teil = pfad.substr(anfang, ende - anfang);
        if (teil == "..") {
            if (!teile.empty()) teile.pop_back();
        } else if (!teil.empty() && teil != ".") {
            teile.push_back(teil);
        }
        anfang = ende + 1;
    }
    std::string ergebnis;
    for (const std::string& teil : teile) ergebnis += "/" + teil;
    return ergebnis.empty() ? "/" : ergebnis;
}

// ---------------------------------------------------------------- THilfeBrowser

THilfeBrowser::THilfeBrowser(QWidget* eltern) : QTextBrowser(eltern) {
    setObjectName(QStringLiteral("Seite"));
    setOpenLinks(true);
    setOpenExternalLinks(false);
}

QVariant THilfeBrowser::loadResource(int art, const QUrl& adresse) {
    try {
        if (Datei == nullptr) return {};
        // Relative Verweise gelten zur Seite, die gerade geladen wird.
        const QString seite = document()->metaInformation(QTextDocument::DocumentUrl);
        const QUrl basis = seite.isEmpty() ? source() : QUrl(seite);
        const QUrl url = adresse.isRelative() ? basis.resolved(adresse) : adresse;
        if (url.scheme() != QLatin1String(Schema)) return {};
        const std::string pfad = ChmPfad(url.path().toStdString());
        const std::optional<std::string> inhalt = Datei->Lesen(pfad);
        if (!inhalt) {
            if (art != QTextDocument::HtmlResource) return {};
            // Statt einer leeren Seite sagt der Betrachter, was fehlt.
            return QStringLiteral("<html><body><h1>Seite nicht gefunden</h1><p>Die Hilfedatei enthält die "
                                  "Seite <code>%1</code> nicht.</p></body></html>")
                .arg(QtAusUtf8(pfad).toHtmlEscaped());
        }
        const QByteArray bytes(inhalt->data(), static_cast<qsizetype>(inhalt->size()));
        switch (art) {
        case QTextDocument::HtmlResource: {
            // Die Seiten erklären ihre Kodierung selbst; ohne Angabe gilt UTF-8.
            QStringDecoder dekoder = QStringDecoder::decoderForHtml(bytes);
            if (!dekoder.isValid()) dekoder = QStringDecoder(QStringDecoder::Utf8);
            return QString(dekoder.decode(bytes));
        }
        case QTextDocument::StyleSheetResource:
            return QString::fromUtf8(bytes);
        case QTextDocument::ImageResource:
            return QImage::fromData(bytes);
        default:
            return bytes;
        }
    } catch (const std::exception&) {
        return {};
    }
}

// ---------------------------------------------------------------- THilfefenster

THilfefenster::THilfefenster(QWidget* eltern) : QMainWindow(eltern) {
    setObjectName(QStringLiteral("Hilfe"));
    setWindowTitle(QStringLiteral("Tessomir Hilfe"));
    // Das Hilfefenster hält das Programm nicht am Leben.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(900, 650);

    auto* leiste = addToolBar(QStringLiteral("Navigation"));
    leiste->setObjectName(QStringLiteral("TBHilfe"));
    leiste->setMovable(false);
    leiste->toggleViewAction()->setVisible(false);
    ACZurueck = leiste->addAction(QStringLiteral("Zurück"));
    ACZurueck->setObjectName(QStringLiteral("ACZurueck"));
    ACZurueck->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    ACVor = leiste->addAction(QStringLiteral("Vorwärts"));
    ACVor->setObjectName(QStringLiteral("ACVor"));
    ACVor->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    ACStartseite = leiste->addAction(QStringLiteral("Startseite"));
    ACStartseite->setObjectName(QStringLiteral("ACStartseite"));
    ACZurueck->setEnabled(false);
    ACVor->setEnabled(false);

    auto* teiler = new QSplitter(this);
    auto* reiter = new QTabWidget(teiler);
    reiter->setObjectName(QStringLiteral("PCNavigation"));
    TVInhalt = new QTreeWidget(reiter);
    TVInhalt->setObjectName(QStringLiteral("TVInhalt"));
    TVInhalt->setHeaderHidden(true);
    reiter->addTab(TVInhalt, QStringLiteral("Inhalt"));

    auto* indexSeite = new QWidget(reiter);
    auto* indexLayout = new QVBoxLayout(indexSeite);
    indexLayout->setContentsMargins(2, 2, 2, 2);
    EDSuchen = new QLineEdit(indexSeite);
    EDSuchen->setObjectName(QStringLiteral("EDSuchen"));
    EDSuchen->setPlaceholderText(QStringLiteral("Stichwort eingeben"));
    LBIndex = new QListWidget(indexSeite);
    LBIndex->setObjectName(QStringLiteral("LBIndex"));
    indexLayout->addWidget(EDSuchen);
    indexLayout->addWidget(LBIndex);
    reiter->addTab(indexSeite, QStringLiteral("Index"));

    Seite = new THilfeBrowser(teiler);
    teiler->addWidget(reiter);
    teiler->addWidget(Seite);
    teiler->setStretchFactor(1, 1);
    teiler->setSizes({240, 660});
    setCentralWidget(teiler);

    connect(ACZurueck, &QAction::triggered, Seite, [this] { Sicher([this] { Seite->backward(); }); });
    connect(ACVor, &QAction::triggered, Seite, [this] { Sicher([this] { Seite->forward(); }); });
    connect(ACStartseite, &QAction::triggered, this, [this] { Sicher([this] { ThemaZeigen({}); }); });
    connect(Seite, &QTextBrowser::backwardAvailable, ACZurueck, &QAction::setEnabled);
    connect(Seite, &QTextBrowser::forwardAvailable, ACVor, &QAction::setEnabled);
    connect(Seite, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& url) { Sicher([this, &url] { SeiteGewechselt(url); }); });
    const auto oeffnen = [this](const QVariant& seite) {
        Sicher([this, &seite] {
            if (seite.isValid()) Seite->setSource(SeitenUrl(seite.toString().toStdString()));
        });
    };
    connect(TVInhalt, &QTreeWidget::itemActivated, this,
            [oeffnen](QTreeWidgetItem* e) { oeffnen(e->data(0, SeitenRolle)); });
    connect(TVInhalt, &QTreeWidget::itemClicked, this,
            [oeffnen](QTreeWidgetItem* e) { oeffnen(e->data(0, SeitenRolle)); });
    connect(LBIndex, &QListWidget::itemActivated, this,
            [oeffnen](QListWidgetItem* e) { oeffnen(e->data(SeitenRolle)); });
    connect(EDSuchen, &QLineEdit::textChanged, this,
            [this](const QString& text) { Sicher([this, &text] { IndexFiltern(text); }); });
    connect(EDSuchen, &QLineEdit::returnPressed, this, [this, oeffnen] {
        for (int i = 0; i < LBIndex->count(); ++i)
            if (!LBIndex->item(i)->isHidden()) return oeffnen(LBIndex->item(i)->data(SeitenRolle));
    });
}

// Die Seite liest aus der Datei; sie endet vor ihr.
THilfefenster::~THilfefenster() { Seite->DateiSetzen(nullptr); }

void THilfefenster::DateiSetzen(std::unique_ptr<TChmDatei> datei, const std::string& pfad) {
    Seite->DateiSetzen(datei.get());
    Seite->clearHistory();
    Seite->setSource(QUrl());
    Datei = std::move(datei);
    Pfad = pfad;
    InhaltLaden();
    IndexLaden();
}

bool THilfefenster::ThemaZeigen(const std::string& thema) {
    if (Datei == nullptr) return false;
    std::string pfad = thema.empty() ? Datei->Startseite() : ChmPfad(thema);
    if (pfad.empty()) pfad = ChmPfad(HilfeVorgabethema);
    if (!Datei->Enthaelt(pfad)) return false;
    Seite->setSource(SeitenUrl(pfad));
    return true;
}

void THilfefenster::InhaltLaden() {
    TVInhalt->clear();
    const std::optional<std::string> text = Datei->Lesen(Datei->Inhaltsdatei());
    if (!text) return;
    std::vector<QTreeWidgetItem*> ebenen;
    for (const TSitemapEintrag& e : SitemapLesen(*text)) {
        const size_t tiefe = std::min(static_cast<size_t>(e.Tiefe), ebenen.size());
        ebenen.resize(tiefe);
        auto* eintrag = tiefe == 0 ? new QTreeWidgetItem(TVInhalt) : new QTreeWidgetItem(ebenen.back());
        eintrag->setText(0, QtAusUtf8(e.Name));
        if (!e.Seite.empty() && e.Seite != "/") eintrag->setData(0, SeitenRolle, QtAusUtf8(e.Seite));
        ebenen.push_back(eintrag);
    }
    TVInhalt->expandAll();
}

void THilfefenster::IndexLaden() {
    LBIndex->clear();
    const std::optional<std::string> text = Datei->Lesen(Datei->Indexdatei());
    if (!text) return;
    for (const TSitemapEintrag& e : SitemapLesen(*text)) {
        if (e.Seite.empty() || e.Seite == "/") continue;
        // Untereinträge zeigen eingerückt, unter ihrem Stichwort.
        auto* eintrag = new QListWidgetItem(QString(e.Tiefe * 4, QLatin1Char(' ')) + QtAusUtf8(e.Name), LBIndex);
        eintrag->setData(SeitenRolle, QtAusUtf8(e.Seite));
    }
}

void THilfefenster::IndexFiltern(const QString& text) {
    const QString gesucht = text.trimmed();
    bool markiert = false;
    for (int i = 0; i < LBIndex->count(); ++i) {
        QListWidgetItem* e = LBIndex->item(i);
        const bool passt = gesucht.isEmpty() || e->text().trimmed().startsWith(gesucht, Qt::CaseInsensitive) ||
                           e->text().contains(gesucht, Qt::CaseInsensitive);
        e->setHidden(!passt);
        if (passt && !markiert && !gesucht.isEmpty()) {
            LBIndex->setCurrentItem(e);
            markiert = true;
        }
    }
}

void THilfefenster::SeiteGewechselt(const QUrl& adresse) {
    const QString titel = Seite->documentTitle();
    setWindowTitle(titel.isEmpty() ? QStringLiteral("Tessomir Hilfe") : QStringLiteral("Tessomir Hilfe - ") + titel);
    // Das Inhaltsverzeichnis zeigt, wo die Seite steht.
    const QString pfad = QtAusUtf8(ChmPfad(adresse.path().toStdString()));
    for (QTreeWidgetItemIterator it(TVInhalt); *it != nullptr; ++it) {
        if ((*it)->data(0, SeitenRolle).toString().compare(pfad, Qt::CaseInsensitive) == 0) {
            const QSignalBlocker sperre(TVInhalt);
            TVInhalt->setCurrentItem(*it);
            return;
        }
    }
}

// ---------------------------------------------------------------- THtmlHilfe

THtmlHilfe::THtmlHilfe() : Vorher(HilfeBetrachter()) { HilfeBetrachterSetzen(this); }

THtmlHilfe::~THtmlHilfe() {
    if (HilfeBetrachter() == this) HilfeBetrachterSetzen(Vorher);
}

bool THtmlHilfe::AdresseZeigen(const std::string& adresse) {
    try {
        const THilfeZiel ziel = HilfeAdresseZerlegen(adresse);
        if (HilfeFenster == nullptr || HilfeFenster->Dateipfad() != ziel.Datei) {
            std::unique_ptr<TChmDatei> datei = TChmDatei::Oeffnen(ziel.Datei);
            if (datei == nullptr) return false;
            if (HilfeFenster == nullptr) HilfeFenster = std::make_unique<THilfefenster>();
            HilfeFenster->DateiSetzen(std::move(datei), ziel.Datei);
        }
        if (!HilfeFenster->ThemaZeigen(ziel.Thema)) return false;
        if (HilfeFenster->isMinimized()) HilfeFenster->showNormal();
        else HilfeFenster->show();
        // Über einem modalen Dialog bleibt das Fenster bedienbar, wenn der
        // Dialog sein Vorfahre ist.
        QWidget* modal = QApplication::activeModalWidget();
        if (QWindow* fenster = HilfeFenster->windowHandle())
            fenster->setTransientParent(modal != nullptr ? modal->window()->windowHandle() : nullptr);
        HilfeFenster->raise();
        HilfeFenster->activateWindow();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace tessomir
