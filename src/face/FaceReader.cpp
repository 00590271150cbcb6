#include "face/FaceReader.h"

#include <QFile>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_FONT_FORMATS_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H
#include <hb-ot.h>
#include <hb.h>

#include <memory>

namespace {

constexpr FT_UShort NameCopyright = 0;
constexpr FT_UShort NameVersion = 5;
constexpr FT_UShort NameDesigner = 9;
constexpr FT_UShort LanguageEnglishUs = 0x409;
constexpr FT_UShort LanguageJapanese = 0x411;

// One FreeType library for the thread; faces are opened and closed per question.
FT_Library library()
{
    thread_local std::unique_ptr<FT_LibraryRec_, decltype(&FT_Done_FreeType)> held(
        [] {
            FT_Library made = nullptr;
            return FT_Init_FreeType(&made) == 0 ? made : nullptr;
        }(),
        &FT_Done_FreeType);
    return held.get();
}

using FaceHandle = std::unique_ptr<FT_FaceRec_, decltype(&FT_Done_Face)>;

FaceHandle openFace(const QString& path, int index, QString* error)
{
    FT_Face face = nullptr;
    const QByteArray file = QFile::encodeName(path);
    const FT_Error failed = library() ? FT_New_Face(library(), file.constData(), index, &face) : FT_Err_Cannot_Open_Resource;
    if (failed) {
        if (error) {
            *error = QFile::exists(path) ? QStringLiteral("フォントファイルを読めません（壊れているか、対応していない形式です。FreeType のエラー %1）").arg(failed)
                                         : QStringLiteral("フォントファイルが見つかりません");
        }
        return {nullptr, &FT_Done_Face};
    }
    return {face, &FT_Done_Face};
}

FaceHandle openFaceData(QByteArrayView data, int index, QString* error)
{
    FT_Face face = nullptr;
    const FT_Error failed = library() ? FT_New_Memory_Face(library(), reinterpret_cast<const FT_Byte*>(data.constData()),
                                                           FT_Long(data.size()), index, &face)
                                      : FT_Err_Cannot_Open_Resource;
    if (failed) {
        if (error)
            *error = QStringLiteral("フォントファイルを読めません（壊れているか、対応していない形式です。FreeType のエラー %1）").arg(failed);
        return {nullptr, &FT_Done_Face};
    }
    return {face, &FT_Done_Face};
}

QString decodeName(const FT_SfntName& name)
{
    const auto bytes = reinterpret_cast<const char*>(name.string);
    const int length = int(name.string_len);
    if (name.platform_id == TT_PLATFORM_MICROSOFT || name.platform_id == TT_PLATFORM_APPLE_UNICODE) {
        QString text;
        for (int i = 0; i + 1 < length; i += 2)
            text += QChar(char16_t((uchar(bytes[i]) << 8) | uchar(bytes[i + 1])));
        return text;
    }
    return QString::fromLatin1(bytes, length);
}

// The name's Japanese record where there is one, else the English, else any.
QString sfntName(FT_Face face, FT_UShort id)
{
    QString best;
    int bestRank = -1;
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) || name.name_id != id)
            continue;
        const bool windows = name.platform_id == TT_PLATFORM_MICROSOFT;
        const int rank = windows && name.language_id == LanguageJapanese ? 3
                         : windows && name.language_id == LanguageEnglishUs ? 2
                         : windows ? 1 : 0;
        if (rank > bestRank) {
            best = decodeName(name).trimmed();
            bestRank = rank;
        }
    }
    return best;
}

bool hasVerticalFeature(hb_face_t* face)
{
    bool found = false;
    for (const hb_tag_t feature : {HB_TAG('v', 'e', 'r', 't'), HB_TAG('v', 'r', 't', '2')}) {
        unsigned featureIndex = 0;
        // Any script and language system that lists the feature counts.
        const unsigned scripts = hb_ot_layout_table_get_script_tags(face, HB_OT_TAG_GSUB, 0, nullptr, nullptr);
        for (unsigned script = 0; script < scripts && !found; ++script) {
            found = hb_ot_layout_language_find_feature(face, HB_OT_TAG_GSUB, script,
                                                       HB_OT_LAYOUT_DEFAULT_LANGUAGE_INDEX, feature, &featureIndex);
            const unsigned languages =
                hb_ot_layout_script_get_language_tags(face, HB_OT_TAG_GSUB, script, 0, nullptr, nullptr);
            for (unsigned language = 0; language < languages && !found; ++language)
                found = hb_ot_layout_language_find_feature(face, HB_OT_TAG_GSUB, script, language, feature,
                                                           &featureIndex);
        }
    }
    return found;
}

EmbeddingPermission permissionOf(FT_UShort fsType)
{
    // The lowest set of bits 1 to 3 decides; a font that sets several is
    // read as the least restrictive, as applications do.
    if (fsType & 0x0008)
        return EmbeddingPermission::Editable;
    if (fsType & 0x0004)
        return EmbeddingPermission::PreviewPrint;
    if (fsType & 0x0002)
        return EmbeddingPermission::Restricted;
    return EmbeddingPermission::Installable;
}

} // namespace

QString EmbeddingText(EmbeddingPermission permission)
{
    switch (permission) {
    case EmbeddingPermission::Installable:
        return QStringLiteral("インストール可能（制限なし）");
    case EmbeddingPermission::Restricted:
        return QStringLiteral("埋め込み禁止");
    case EmbeddingPermission::PreviewPrint:
        return QStringLiteral("印刷・プレビューのみ");
    case EmbeddingPermission::Editable:
        return QStringLiteral("編集可能");
    case EmbeddingPermission::Unknown:
        break;
    }
    return QStringLiteral("不明（OS/2 テーブルがありません）");
}

namespace {

// What FreeType and HarfBuzz read of one face, already open.
void readDetails(FaceDetails& details, FT_Face face, hb_face_t* layout)
{
    details.family = QString::fromUtf8(face->family_name ? face->family_name : "");
    details.style = QString::fromUtf8(face->style_name ? face->style_name : "");
    const QString format = QString::fromLatin1(FT_Get_Font_Format(face));
    if (!FT_IS_SCALABLE(face))
        details.format = QStringLiteral("ビットマップ (%1)").arg(format);
    else if (format == QLatin1String("CFF"))
        details.format = QStringLiteral("CFF (OpenType)");
    else
        details.format = format;
    details.variable = FT_HAS_MULTIPLE_MASTERS(face);
    details.glyphCount = face->num_glyphs;
    details.verticalMetrics = FT_HAS_VERTICAL(face);
    if (const char* postScript = FT_Get_Postscript_Name(face))
        details.postScriptName = QString::fromLatin1(postScript);
    details.version = sfntName(face, NameVersion);
    details.designer = sfntName(face, NameDesigner);
    details.copyright = sfntName(face, NameCopyright);
    if (const auto os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
        details.vendor = QString::fromLatin1(reinterpret_cast<const char*>(os2->achVendID), 4).trimmed();
        details.embedding = permissionOf(os2->fsType);
        details.noSubsetting = os2->fsType & 0x0100;
        details.bitmapOnly = os2->fsType & 0x0200;
    }
    details.verticalForms = FT_IS_SFNT(face) && hasVerticalFeature(layout);
    details.forms = GlyphFormsOfFace(layout);
}

std::vector<char32_t> charactersOf(FT_Face face, QString* error)
{
    std::vector<char32_t> characters;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
        if (error)
            *error = QStringLiteral("Unicode の文字コード表がありません");
        return characters;
    }
    FT_UInt glyph = 0;
    for (FT_ULong character = FT_Get_First_Char(face, &glyph); glyph != 0;
         character = FT_Get_Next_Char(face, character, &glyph))
        characters.push_back(char32_t(character));
    return characters;
}

} // namespace

FaceDetails ReadFaceDetails(const QString& path, int index)
{
    FaceDetails details;
    details.path = path;
    details.index = index;
    const FaceHandle face = openFace(path, index, &details.error);
    if (!face)
        return details;
    const QByteArray file = QFile::encodeName(path);
    hb_blob_t* blob = hb_blob_create_from_file(file.constData());
    hb_face_t* layout = hb_face_create(blob, unsigned(index));
    readDetails(details, face.get(), layout);
    hb_face_destroy(layout);
    hb_blob_destroy(blob);
    return details;
}

FaceDetails ReadFaceDetailsFromData(QByteArrayView data, const QString& path, int index,
                                    std::vector<char32_t>* characters)
{
    FaceDetails details;
    details.path = path;
    details.index = index;
    const FaceHandle face = openFaceData(data, index, &details.error);
    if (!face)
        return details;
    hb_blob_t* blob = hb_blob_create(data.constData(), unsigned(data.size()), HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t* layout = hb_face_create(blob, unsigned(index));
    readDetails(details, face.get(), layout);
    hb_face_destroy(layout);
    hb_blob_destroy(blob);
    if (characters)
        *characters = charactersOf(face.get(), nullptr);
    return details;
}

int FaceCountOfData(QByteArrayView data)
{
    FT_Face face = nullptr;
    // Index -1 asks FreeType only how many faces there are.
    if (!library() || FT_New_Memory_Face(library(), reinterpret_cast<const FT_Byte*>(data.constData()), FT_Long(data.size()), -1, &face))
        return 0;
    const int count = int(face->num_faces);
    FT_Done_Face(face);
    return count;
}

QString ReadFaceVersion(const QString& path, int index)
{
    const FaceHandle face = openFace(path, index, nullptr);
    return face ? sfntName(face.get(), NameVersion) : QString();
}

std::vector<char32_t> CharactersOfFace(const QString& path, int index, QString* error)
{
    const FaceHandle face = openFace(path, index, error);
    return face ? charactersOf(face.get(), error) : std::vector<char32_t>();
}
