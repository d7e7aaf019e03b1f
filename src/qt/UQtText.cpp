#include "qt/UQtText.h"

#include <QFile>
#include <algorithm>

#include "base/UText.h"

namespace tessomir {

QString QtAusAnsi(std::string_view ansi) {
    // Reines ASCII ist in beiden Kodierungen gleich (häufigster Fall beim Zeichnen).
    if (std::all_of(ansi.begin(), ansi.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(ansi.data(), static_cast<qsizetype>(ansi.size()));
    const std::string utf8 = Utf8AusAnsi(ansi);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string AnsiAusQt(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return AnsiAusUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

std::string Pfad(const QString& pfad) { return QFile::encodeName(pfad).toStdString(); }

} // namespace tessomir
