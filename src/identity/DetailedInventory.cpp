#include "identity/DetailedInventory.h"

#include "face/JapaneseSets.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <iterator>

namespace {

QString text(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString();
}

// A count or size as JSON writes it: a whole number a double holds exactly,
// else 0, so that no value out of range is ever converted.
qint64 wholeNumber(const QJsonValue& value)
{
    constexpr double Largest = 9007199254740992.0; // 2^53
    const double number = value.toDouble();
    return std::isfinite(number) && number >= -Largest && number <= Largest ? qint64(number) : 0;
}

// A JSON string: quotes, backslashes and control characters escaped, the
// rest as UTF-8.
void appendString(QByteArray& json, const QString& text)
{
    static constexpr char Hex[] = "0123456789abcdef";
    json += '"';
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20) {
            json += "\\u00";
            json += Hex[byte >> 4];
            json += Hex[byte & 15];
        } else {
            json += c;
        }
    }
    json += '"';
}

} // namespace

QString FaceRecord::title() const
{
    const QString family = families.value(0);
    return style.isEmpty() ? family : family + u' ' + style;
}

QStringList CoverageKeys()
{
    static_assert(std::size(AllJapaneseSets) == 10, "a set added needs its key");
    return {QStringLiteral("kana"),          QStringLiteral("halfWidthKana"), QStringLiteral("jis0208NonKanji"),
            QStringLiteral("jis0208Level1"), QStringLiteral("jis0208Level2"), QStringLiteral("jis0213Level3"),
            QStringLiteral("jis0213Level4"), QStringLiteral("joyo"),          QStringLiteral("jinmeiyo"),
            QStringLiteral("jis0213NonKanji")};
}

QByteArray InventoryJson(const DetailedInventory& inventory)
{
    // Written by hand, a face a line: twice as fast as a document tree for
    // 10,000 faces, and two machines' files compare line by line.
    const QStringList keys = CoverageKeys();
    QByteArray json;
    json.reserve(512 + inventory.faces.size() * 640 + inventory.names.size() * 96);
    json += "{\n  \"format\": ";
    appendString(json, InventoryFormatName);
    json += ",\n  \"version\": ";
    appendString(json, inventory.version);
    json += ",\n  \"machine\": ";
    appendString(json, inventory.machine);
    json += ",\n  \"date\": ";
    appendString(json, inventory.date);
    json += ",\n  \"tool\": ";
    appendString(json, inventory.tool);
    json += ",\n  \"faces\": [";
    for (qsizetype i = 0; i < inventory.faces.size(); ++i) {
        const FaceRecord& face = inventory.faces.at(i);
        json += i == 0 ? "\n    {\"families\": [" : ",\n    {\"families\": [";
        for (qsizetype j = 0; j < face.families.size(); ++j) {
            json += j == 0 ? "{\"name\": " : ", {\"name\": ";
            appendString(json, face.families.at(j));
            json += ", \"language\": ";
            appendString(json, face.familyLanguages.value(j));
            json += '}';
        }
        json += "], \"style\": ";
        appendString(json, face.style);
        json += ", \"postScriptName\": ";
        appendString(json, face.facts.postScriptName);
        json += ", \"version\": ";
        appendString(json, face.facts.version);
        json += ", \"format\": ";
        appendString(json, face.facts.format);
        json += ", \"file\": ";
        appendString(json, face.file);
        json += ", \"size\": " + QByteArray::number(face.size) + ", \"sha256\": ";
        appendString(json, face.sha256);
        json += ", \"index\": " + QByteArray::number(face.facts.index)
                + ", \"glyphs\": " + QByteArray::number(qint64(face.facts.glyphCount)) + ", \"embedding\": ";
        appendString(json, face.facts.embedding);
        json += ", \"glyphForms\": ";
        appendString(json, face.facts.glyphForms);
        json += ", \"variationSequences\": " + QByteArray::number(face.facts.variationSequences) + ", \"coverage\": {";
        for (std::size_t j = 0; j < face.facts.coverage.size() && j < std::size_t(keys.size()); ++j) {
            json += j == 0 ? "\"" : ", \"";
            json += keys.at(qsizetype(j)).toLatin1() + "\": " + QByteArray::number(face.facts.coverage.at(j));
        }
        json += "}}";
    }
    json += inventory.faces.isEmpty() ? "],\n  \"fontNames\": [" : "\n  ],\n  \"fontNames\": [";
    for (qsizetype i = 0; i < inventory.names.size(); ++i) {
        json += i == 0 ? "\n    {\"name\": " : ",\n    {\"name\": ";
        appendString(json, inventory.names.at(i));
        json += ", \"size\": " + QByteArray::number(inventory.sizes.value(i)) + '}';
    }
    json += inventory.names.isEmpty() ? "]\n}\n" : "\n  ]\n}\n";
    return json;
}

bool LooksLikeInventory(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        return c == '{';
    }
    return false;
}

InventoryRead ReadInventory(QByteArrayView bytes)
{
    InventoryRead read;
    QJsonParseError parsed{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &parsed);
    if (parsed.error != QJsonParseError::NoError) {
        read.error = parsed.offset >= bytes.size() - 1 || parsed.error == QJsonParseError::UnterminatedObject
                             || parsed.error == QJsonParseError::UnterminatedArray
                         ? QStringLiteral("が途中で切れています（最後まで書かれていません）。")
                         : QStringLiteral("が壊れています（JSON として読めません: %1 バイト目）。").arg(parsed.offset);
        return read;
    }
    const QJsonObject root = document.object();
    if (!document.isObject() || text(root, "format") != InventoryFormatName) {
        read.error = QStringLiteral("は Glyfaro 2 の詳しいフォント構成ファイルではありません。");
        return read;
    }
    const QString version = text(root, "version");
    bool numbered = false;
    const int major = version.section(u'.', 0, 0).toInt(&numbered);
    if (!numbered) {
        read.error = QStringLiteral("の形式の版（%1）が読めません。").arg(version);
        return read;
    }
    if (major > InventoryMajorVersion) {
        read.error = QStringLiteral("は新しい形式（版 %1）で書かれています。この Glyfaro 2 が読めるのは版 %2.x までです。新しい Glyfaro 2 で開いてください。")
                         .arg(version)
                         .arg(InventoryMajorVersion);
        return read;
    }
    DetailedInventory inventory;
    inventory.version = version;
    inventory.machine = text(root, "machine");
    inventory.date = text(root, "date");
    inventory.tool = text(root, "tool");
    const QStringList keys = CoverageKeys();
    const QJsonValue faces = root.value(QLatin1String("faces"));
    if (!faces.isArray()) {
        read.error = QStringLiteral("にフォントの一覧（faces）がありません。");
        return read;
    }
    for (const QJsonValue& value : faces.toArray()) {
        const QJsonObject object = value.toObject();
        FaceRecord face;
        for (const QJsonValue& family : object.value(QLatin1String("families")).toArray()) {
            face.families << text(family.toObject(), "name");
            face.familyLanguages << text(family.toObject(), "language");
        }
        if (face.families.isEmpty() || face.families.first().isEmpty()) {
            read.error = QStringLiteral("に名前のないフォントがあります（壊れています）。");
            return read;
        }
        face.style = text(object, "style");
        face.file = text(object, "file");
        face.size = wholeNumber(object.value(QLatin1String("size")));
        face.sha256 = text(object, "sha256");
        face.facts.index = object.value(QLatin1String("index")).toInt();
        face.facts.postScriptName = text(object, "postScriptName");
        face.facts.version = text(object, "version");
        face.facts.format = text(object, "format");
        face.facts.glyphCount = long(wholeNumber(object.value(QLatin1String("glyphs"))));
        face.facts.embedding = text(object, "embedding");
        face.facts.glyphForms = text(object, "glyphForms");
        face.facts.variationSequences = object.value(QLatin1String("variationSequences")).toInt();
        const QJsonObject coverage = object.value(QLatin1String("coverage")).toObject();
        for (const QString& key : keys)
            face.facts.coverage.push_back(coverage.value(key).toInt());
        inventory.faces << face;
    }
    for (const QJsonValue& value : root.value(QLatin1String("fontNames")).toArray()) {
        inventory.names << text(value.toObject(), "name");
        inventory.sizes << wholeNumber(value.toObject().value(QLatin1String("size")));
    }
    read.inventory = std::move(inventory);
    return read;
}
