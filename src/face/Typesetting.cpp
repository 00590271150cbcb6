#include "face/Typesetting.h"

#include "face/GlyphForms.h"
#include "face/GsubFeatures.h"

#include <QFile>

#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Column centre lines stand 1.5 em apart, leaving half an em between
// columns, as vertical Japanese is usually set; horizontal lines likewise.
constexpr qreal LinePitch = 1.5;
// HarfBuzz works in 26.6 fixed point at this scale.
constexpr qreal SubPixels = 64;
// Beyond this a sample is no longer a sample, and the scale would not fit.
constexpr qreal LargestPixelSize = 10000;

hb_tag_t tagOf(const QByteArray& tag)
{
    return hb_tag_from_string(tag.constData(), int(tag.size()));
}

QList<TypesettingFeature> makeFeatures()
{
    QList<TypesettingFeature> features = {
        {{"palt"}, QStringLiteral("プロポーショナル字幅"), false, TypesettingFeature::HorizontalOnly},
        {{"halt"}, QStringLiteral("約物の半角字幅"), false, TypesettingFeature::HorizontalOnly},
        {{"vpal"}, QStringLiteral("縦組みプロポーショナル字幅"), false, TypesettingFeature::VerticalOnly},
        {{"vhal"}, QStringLiteral("縦組みの約物の半角字幅"), false, TypesettingFeature::VerticalOnly},
        {{"kern"}, QStringLiteral("カーニング"), true, TypesettingFeature::HorizontalOnly},
        {{"vkrn"}, QStringLiteral("縦組みカーニング"), true, TypesettingFeature::VerticalOnly},
        {{"vert", "vrt2"}, QStringLiteral("縦組み用字形"), true, TypesettingFeature::VerticalOnly},
        {{"jp78"}, QStringLiteral("JIS78 字形"), false},
        {{"jp83"}, QStringLiteral("JIS83 字形"), false},
        {{"jp90"}, QStringLiteral("JIS90 字形"), false},
        {{"jp04"}, QStringLiteral("JIS2004 字形"), false},
        {{"nlck"}, QStringLiteral("印刷標準字体"), false},
        {{"hojo"}, QStringLiteral("JIS X 0212 補助漢字の字形"), false},
        {{"expt"}, QStringLiteral("専門用語の字形"), false},
        {{"trad"}, QStringLiteral("旧字体"), false},
        {{"fwid"}, QStringLiteral("全角字形"), false},
        {{"hwid"}, QStringLiteral("半角字形"), false},
        {{"pwid"}, QStringLiteral("プロポーショナル字形"), false},
        {{"twid"}, QStringLiteral("1/3 幅字形"), false},
        {{"qwid"}, QStringLiteral("1/4 幅字形"), false},
        {{"ruby"}, QStringLiteral("ルビ用字形"), false},
        {{"hkna"}, QStringLiteral("横組み用かな"), false, TypesettingFeature::HorizontalOnly},
        {{"vkna"}, QStringLiteral("縦組み用かな"), false, TypesettingFeature::VerticalOnly},
        {{"ital"}, QStringLiteral("欧文イタリック"), false},
    };
    for (int set = 1; set <= 20; ++set)
        features.append({{QByteArray("ss") + QByteArray::number(set).rightJustified(2, '0')},
                         QStringLiteral("スタイルセット %1").arg(set), false});
    features.append({{"liga"}, QStringLiteral("標準の合字"), true});
    features.append({{"dlig"}, QStringLiteral("任意の合字"), false});
    return features;
}

// The code point at i, moving i past it; a lone surrogate stands for itself.
char32_t codePointAt(const QString& text, qsizetype& i, qsizetype end)
{
    const QChar c = text.at(i++);
    if (c.isHighSurrogate() && i < end && text.at(i).isLowSurrogate())
        return QChar::surrogateToUcs4(c, text.at(i++));
    return c.unicode();
}

QString openError(const QString& path, hb_blob_t* blob, int faceIndex, hb_face_t* face)
{
    if (!QFile::exists(path))
        return QStringLiteral("フォントファイルが見つかりません");
    const unsigned faces = hb_face_count(blob);
    if (faces > 0 && (faceIndex < 0 || unsigned(faceIndex) >= faces))
        return QStringLiteral("このファイルに %1 番の書体はありません（書体の数は %2）").arg(faceIndex).arg(faces);
    if (hb_blob_get_length(blob) == 0 || hb_face_get_glyph_count(face) == 0)
        return QStringLiteral("フォントファイルを読めません（壊れているか、対応していない形式です）");
    return {};
}

} // namespace

bool TypesettingFeature::appliesTo(SettingDirection direction) const
{
    return setting == Both || (setting == VerticalOnly) == (direction == SettingDirection::Vertical);
}

QString TypesettingFeature::label() const
{
    QStringList names;
    for (const QByteArray& tag : tags)
        names << QString::fromLatin1(tag);
    return QStringLiteral("%1 (%2)").arg(name, names.join(u'/'));
}

const QList<TypesettingFeature>& TypesettingFeatures()
{
    static const QList<TypesettingFeature> features = makeFeatures();
    return features;
}

QSet<QByteArray> DefaultTypesettingTags()
{
    QSet<QByteArray> tags;
    for (const TypesettingFeature& feature : TypesettingFeatures()) {
        if (feature.onByDefault) {
            for (const QByteArray& tag : feature.tags)
                tags.insert(tag);
        }
    }
    return tags;
}

struct Typesetter::Face {
    BlobHandle blob{nullptr, &hb_blob_destroy};
    FaceHandle face{nullptr, &hb_face_destroy};
    FontHandle font{nullptr, &hb_font_destroy};
    BufferHandle buffer{hb_buffer_create(), &hb_buffer_destroy};
    std::set<hb_tag_t> tags;
};

Typesetter::Typesetter(const QString& fontPath, int faceIndex)
    : m_face(std::make_unique<Face>())
{
    const QByteArray file = QFile::encodeName(fontPath);
    m_face->blob.reset(hb_blob_create_from_file(file.constData()));
    m_face->face.reset(hb_face_create(m_face->blob.get(), unsigned(std::max(faceIndex, 0))));
    m_error = openError(fontPath, m_face->blob.get(), faceIndex, m_face->face.get());
    if (!m_error.isEmpty())
        return;
    m_face->font.reset(hb_font_create(m_face->face.get()));
    m_face->tags = LayoutFeatureTags(m_face->face.get());
}

Typesetter::~Typesetter() = default;

bool Typesetter::hasFeature(const QByteArray& tag) const
{
    return m_face->tags.count(tagOf(tag)) > 0;
}

bool Typesetter::has(const TypesettingFeature& feature) const
{
    return std::any_of(feature.tags.cbegin(), feature.tags.cend(), [this](const QByteArray& tag) { return hasFeature(tag); });
}

TypesetRun Typesetter::set(const QString& text, qreal pixelSize, SettingDirection direction,
                           const QSet<QByteArray>& on) const
{
    TypesetRun run;
    if (!std::isfinite(pixelSize) || pixelSize <= 0 || pixelSize > LargestPixelSize) {
        run.error = QStringLiteral("文字の大きさ（%1 ピクセル）では組めません").arg(pixelSize);
        return run;
    }
    if (!m_error.isEmpty()) {
        run.error = m_error;
        return run;
    }
    const bool vertical = direction == SettingDirection::Vertical;
    run.usedVerticalForms = hasFeature("vert") || hasFeature("vrt2");

    // Every switch the face has is said outright, so that a switch turned
    // off stays off where HarfBuzz would turn it on unasked (kern, liga,
    // vert in vertical text).
    std::vector<hb_feature_t> features;
    for (const TypesettingFeature& feature : TypesettingFeatures()) {
        const bool applies = feature.appliesTo(direction);
        for (const QByteArray& tag : feature.tags) {
            const hb_tag_t hbTag = tagOf(tag);
            if (m_face->tags.count(hbTag))
                features.push_back({hbTag, applies && on.contains(tag) ? 1u : 0u, HB_FEATURE_GLOBAL_START,
                                    HB_FEATURE_GLOBAL_END});
        }
    }
    // With vert off, HarfBuzz turns brackets by the Unicode vertical
    // presentation forms instead, which the face may well map; vert on for
    // no character at all keeps the text upright as the switch says.
    if (vertical && !on.contains("vert") && hasFeature("vert"))
        features.push_back({HB_TAG('v', 'e', 'r', 't'), 1, 0, 0});

    hb_font_t* font = m_face->font.get();
    hb_buffer_t* buffer = m_face->buffer.get();
    const int scale = int(std::lround(pixelSize * SubPixels));
    hb_font_set_scale(font, scale, scale);
    const qreal em = pixelSize;
    // Horizontal lines stand on the face's own baseline, as far below their
    // tops as its ascender reaches.
    hb_font_extents_t extents{};
    hb_font_get_h_extents(font, &extents);
    const qreal ascent = std::clamp<qreal>(extents.ascender / SubPixels, 0, 2 * em);
    const qreal lineHeight = std::clamp<qreal>((extents.ascender - extents.descender) / SubPixels, em, 2 * em);
    const qreal pitch = std::max(LinePitch * em, lineHeight);

    const hb_language_t japanese = hb_language_from_string("ja", -1);
    const auto* utf16 = reinterpret_cast<const uint16_t*>(text.utf16());
    qsizetype lineStart = 0;
    for (int line = 0;; ++line) {
        qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        const qsizetype length = lineEnd - lineStart - (lineEnd > lineStart && text.at(lineEnd - 1) == u'\r' ? 1 : 0);

        hb_buffer_clear_contents(buffer);
        // A selector the face does not map is no glyph of its own.
        hb_buffer_set_flags(buffer, HB_BUFFER_FLAG_REMOVE_DEFAULT_IGNORABLES);
        hb_buffer_add_utf16(buffer, utf16, int(text.size()), unsigned(lineStart), int(length));
        hb_buffer_set_language(buffer, japanese);
        hb_buffer_guess_segment_properties(buffer);
        // A line of brackets and marks alone has no script of its own; in a
        // Japanese sample it is set as the kanji around it would be.
        if (hb_buffer_get_script(buffer) == HB_SCRIPT_INVALID)
            hb_buffer_set_script(buffer, HB_SCRIPT_HAN);
        // A Japanese sample runs left to right whatever script a line holds.
        hb_buffer_set_direction(buffer, vertical ? HB_DIRECTION_TTB : HB_DIRECTION_LTR);
        hb_shape(font, buffer, features.data(), unsigned(features.size()));

        // The bases of sequences the face lacks, by their index in the text.
        QSet<quint32> unmapped;
        const qsizetype end = lineStart + length;
        for (qsizetype i = lineStart; i < end;) {
            const qsizetype baseAt = i;
            const char32_t base = codePointAt(text, i, end);
            if (i >= end)
                break;
            qsizetype next = i;
            const char32_t selector = codePointAt(text, next, end);
            hb_codepoint_t glyph = 0;
            if (IsVariationSelector(selector) && !IsVariationSelector(base)
                && !hb_font_get_variation_glyph(font, base, selector, &glyph))
                unmapped.insert(quint32(baseAt));
        }

        unsigned count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
        const hb_glyph_position_t* placed = hb_buffer_get_glyph_positions(buffer, nullptr);
        // HarfBuzz's y grows upwards. In vertical text its offsets lead from
        // the pen on the centre line to the glyph's own origin.
        const qreal centre = -line * LinePitch * em;
        const qreal top = line * pitch;
        hb_position_t penX = 0;
        hb_position_t penY = 0;
        for (unsigned i = 0; i < count; ++i) {
            if (unmapped.contains(infos[i].cluster) && (i == 0 || infos[i - 1].cluster != infos[i].cluster))
                run.unmappedSequences << run.glyphs.size();
            run.glyphs << infos[i].codepoint;
            run.clusters << infos[i].cluster;
            if (vertical) {
                run.positions << QPointF(centre + (penX + placed[i].x_offset) / SubPixels,
                                         -(penY + placed[i].y_offset) / SubPixels);
                run.cells << QRectF(centre + penX / SubPixels - em / 2, -penY / SubPixels, em,
                                    -placed[i].y_advance / SubPixels);
            } else {
                run.positions << QPointF((penX + placed[i].x_offset) / SubPixels,
                                         top + ascent - placed[i].y_offset / SubPixels);
                run.cells << QRectF(penX / SubPixels, top, placed[i].x_advance / SubPixels, lineHeight);
            }
            penX += placed[i].x_advance;
            penY += placed[i].y_advance;
        }
        if (vertical)
            run.bounds |= QRectF(centre - em / 2, 0, em, -penY / SubPixels);
        else
            run.bounds |= QRectF(0, top, penX / SubPixels, lineHeight);

        if (lineEnd >= text.size())
            break;
        lineStart = lineEnd + 1;
    }
    return run;
}
