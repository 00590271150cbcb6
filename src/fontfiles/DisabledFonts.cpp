#include "fontfiles/DisabledFonts.h"

#include "formats/FileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace {

// The first comment of every file we write; a file without it is not ours.
const QString Mark = QStringLiteral(" glyfaro2-disabled-fonts ");

// A family name as a comment: a comment cannot hold "--".
QString commentText(const QString& text)
{
    QString safe = text;
    safe.replace(QStringLiteral("--"), QStringLiteral("- -"));
    return u' ' + safe + u' ';
}

SwitchResult writeFonts(const QList<DisabledFont>& fonts, const FontPlaces& places)
{
    SwitchResult result;
    if (!QDir().mkpath(places.configFolder)) {
        result.error = QStringLiteral("フォルダ「%1」を作れません").arg(places.configFolder);
        return result;
    }
    const FileResult written = SaveFileReplacing(DisabledFontsFile(places), DisabledFontsDocument(fonts));
    if (!written.ok)
        result.error = QStringLiteral("「%1」に書き込めません。%2").arg(DisabledFontsFile(places), written.reason);
    return result;
}

} // namespace

QString DisabledFontsFile(const FontPlaces& places)
{
    return QDir(places.configFolder).filePath(QStringLiteral("85-glyfaro2-disabled.conf"));
}

QByteArray DisabledFontsDocument(const QList<DisabledFont>& fonts)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">"));
    xml.writeComment(Mark);
    xml.writeComment(QStringLiteral(" Fonts switched off in Glyfaro 2. Glyfaro 2 rewrites this file whole:"
                                    " switch them on again there, or delete the file. "));
    xml.writeStartElement(QStringLiteral("fontconfig"));
    xml.writeStartElement(QStringLiteral("selectfont"));
    xml.writeStartElement(QStringLiteral("rejectfont"));
    for (const DisabledFont& font : fonts) {
        // A pattern on the file's exact path: a glob would read * and ? in
        // a path as wildcards.
        xml.writeComment(commentText(font.family));
        xml.writeStartElement(QStringLiteral("pattern"));
        xml.writeStartElement(QStringLiteral("patelt"));
        xml.writeAttribute(QStringLiteral("name"), QStringLiteral("file"));
        xml.writeTextElement(QStringLiteral("string"), font.path);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return bytes;
}

DisabledFonts ReadDisabledFonts(const FontPlaces& places)
{
    DisabledFonts disabled;
    QFile file(DisabledFontsFile(places));
    if (!file.exists())
        return disabled;
    if (!file.open(QIODevice::ReadOnly)) {
        disabled.error = QStringLiteral("「%1」を読めません。%2").arg(file.fileName(), file.errorString());
        return disabled;
    }
    QXmlStreamReader xml(&file);
    bool ours = false;
    bool inFile = false;
    QString family;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Comment:
            if (!ours && xml.text() == Mark)
                ours = true;
            else
                family = xml.text().trimmed().toString();
            break;
        case QXmlStreamReader::StartElement:
            if (xml.name() == QLatin1String("patelt"))
                inFile = xml.attributes().value(QLatin1String("name")) == QLatin1String("file");
            else if (xml.name() == QLatin1String("string") && inFile && ours)
                disabled.fonts.append({xml.readElementText(), family});
            break;
        case QXmlStreamReader::EndElement:
            if (xml.name() == QLatin1String("patelt"))
                inFile = false;
            break;
        default:
            break;
        }
    }
    if (!ours || xml.hasError()) {
        disabled.fonts.clear();
        disabled.error = QStringLiteral("「%1」は Glyfaro 2 が書いたファイルではないか、壊れています。変更しません")
                             .arg(file.fileName());
    }
    return disabled;
}

SwitchResult DisableFonts(const QList<DisabledFont>& fonts, const FontPlaces& places)
{
    DisabledFonts now = ReadDisabledFonts(places);
    if (!now.error.isEmpty())
        return {0, now.error};
    int added = 0;
    for (const DisabledFont& font : fonts) {
        const bool already = std::any_of(now.fonts.cbegin(), now.fonts.cend(),
                                         [&font](const DisabledFont& off) { return off.path == font.path; });
        if (!already) {
            now.fonts.append(font);
            ++added;
        }
    }
    if (added == 0)
        return {};
    SwitchResult result = writeFonts(now.fonts, places);
    result.changed = result.error.isEmpty() ? added : 0;
    return result;
}

SwitchResult EnableFonts(const QStringList& paths, const FontPlaces& places)
{
    DisabledFonts now = ReadDisabledFonts(places);
    if (!now.error.isEmpty())
        return {0, now.error};
    const qsizetype before = now.fonts.size();
    now.fonts.removeIf([&paths](const DisabledFont& font) { return paths.contains(font.path); });
    const int removed = int(before - now.fonts.size());
    if (removed == 0)
        return {};
    SwitchResult result = writeFonts(now.fonts, places);
    result.changed = result.error.isEmpty() ? removed : 0;
    return result;
}
