#include "identity/DetailedInventory.h"

#include "face/JapaneseSets.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <iterator>

namespace {

QString text(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString();
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
    const QStringList keys = CoverageKeys();
    QJsonArray faces;
    for (const FaceRecord& face : inventory.faces) {
        QJsonArray families;
        for (qsizetype i = 0; i < face.families.size(); ++i)
            families.append(QJsonObject{{QStringLiteral("name"), face.families.at(i)},
                                        {QStringLiteral("language"), face.familyLanguages.value(i)}});
        QJsonObject coverage;
        for (std::size_t i = 0; i < face.facts.coverage.size() && i < std::size_t(keys.size()); ++i)
            coverage.insert(keys.at(qsizetype(i)), face.facts.coverage.at(i));
        faces.append(QJsonObject{
            {QStringLiteral("families"), families},
            {QStringLiteral("style"), face.style},
            {QStringLiteral("postScriptName"), face.facts.postScriptName},
            {QStringLiteral("version"), face.facts.version},
            {QStringLiteral("format"), face.facts.format},
            {QStringLiteral("file"), face.file},
            {QStringLiteral("size"), face.size},
            {QStringLiteral("sha256"), face.sha256},
            {QStringLiteral("index"), face.facts.index},
            {QStringLiteral("glyphs"), qint64(face.facts.glyphCount)},
            {QStringLiteral("embedding"), face.facts.embedding},
            {QStringLiteral("glyphForms"), face.facts.glyphForms},
            {QStringLiteral("variationSequences"), face.facts.variationSequences},
            {QStringLiteral("coverage"), coverage},
        });
    }
    QJsonArray names;
    for (qsizetype i = 0; i < inventory.names.size(); ++i)
        names.append(QJsonObject{{QStringLiteral("name"), inventory.names.at(i)},
                                 {QStringLiteral("size"), inventory.sizes.value(i)}});
    const QJsonObject document{
        {QStringLiteral("format"), InventoryFormatName},
        {QStringLiteral("version"), inventory.version},
        {QStringLiteral("machine"), inventory.machine},
        {QStringLiteral("date"), inventory.date},
        {QStringLiteral("tool"), inventory.tool},
        {QStringLiteral("faces"), faces},
        {QStringLiteral("fontNames"), names},
    };
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
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
        face.size = qint64(object.value(QLatin1String("size")).toDouble());
        face.sha256 = text(object, "sha256");
        face.facts.index = object.value(QLatin1String("index")).toInt();
        face.facts.postScriptName = text(object, "postScriptName");
        face.facts.version = text(object, "version");
        face.facts.format = text(object, "format");
        face.facts.glyphCount = long(object.value(QLatin1String("glyphs")).toDouble());
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
        inventory.sizes << qint64(value.toObject().value(QLatin1String("size")).toDouble());
    }
    read.inventory = std::move(inventory);
    return read;
}
