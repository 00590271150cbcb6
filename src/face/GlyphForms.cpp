#include "face/GlyphForms.h"

#include "catalog/SizeText.h"
#include "face/GsubFeatures.h"
#include "face/JapaneseSets.h"

#include <QFile>

#include <hb-ot.h>
#include <hb.h>

#include <memory>

namespace {

using SetHandle = std::unique_ptr<hb_set_t, decltype(&hb_set_destroy)>;

SetHandle newSet()
{
    return {hb_set_create(), &hb_set_destroy};
}

// The face, or none when the file holds no such face or no glyphs.
FaceHandle openFace(const QString& path, int index)
{
    const QByteArray file = QFile::encodeName(path);
    const BlobHandle blob(hb_blob_create_from_file_or_fail(file.constData()), &hb_blob_destroy);
    if (!blob || index < 0 || unsigned(index) >= std::max(hb_face_count(blob.get()), 1u))
        return {nullptr, &hb_face_destroy};
    FaceHandle face(hb_face_create(blob.get(), unsigned(index)), &hb_face_destroy);
    if (hb_face_get_glyph_count(face.get()) == 0)
        return {nullptr, &hb_face_destroy};
    return face;
}

// The glyph one character is drawn with, with or without a feature.
quint32 shapedGlyph(hb_font_t* font, hb_buffer_t* buffer, char32_t character, const hb_feature_t* feature)
{
    hb_buffer_clear_contents(buffer);
    const uint32_t text[] = {character};
    hb_buffer_add_utf32(buffer, text, 1, 0, 1);
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer, HB_SCRIPT_HAN);
    hb_buffer_set_language(buffer, hb_language_from_string("ja", -1));
    hb_shape(font, buffer, feature, feature ? 1 : 0);
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
    return count == 1 ? infos[0].codepoint : 0;
}

} // namespace

GlyphForms GlyphFormsOf(const QString& path, int index)
{
    GlyphForms forms;
    const FaceHandle face = openFace(path, index);
    if (!face) {
        forms.error = QFile::exists(path) ? QStringLiteral("フォントファイルを読めません（壊れているか、対応していない形式です）")
                                          : QStringLiteral("フォントファイルが見つかりません");
        return forms;
    }
    return GlyphFormsOfFace(face.get());
}

GlyphForms GlyphFormsOfFace(hb_face_t* face)
{
    GlyphForms forms;
    forms.jp78 = GsubHasFeature(face, HB_TAG('j', 'p', '7', '8'));
    forms.jp83 = GsubHasFeature(face, HB_TAG('j', 'p', '8', '3'));
    forms.jp90 = GsubHasFeature(face, HB_TAG('j', 'p', '9', '0'));
    forms.jp04 = GsubHasFeature(face, HB_TAG('j', 'p', '0', '4'));
    const SetHandle selectors = newSet();
    hb_face_collect_variation_selectors(face, selectors.get());
    const SetHandle bases = newSet();
    for (hb_codepoint_t selector = HB_SET_VALUE_INVALID; hb_set_next(selectors.get(), &selector);) {
        forms.selectors.push_back(char32_t(selector));
        hb_set_clear(bases.get());
        hb_face_collect_variation_unicodes(face, selector, bases.get());
        forms.sequences += int(hb_set_get_population(bases.get()));
    }
    return forms;
}

QString GlyphFormsText(const GlyphForms& forms)
{
    if (!forms.error.isEmpty())
        return forms.error;
    QString shown;
    QStringList switches;
    if (forms.jp90 && !forms.jp04) {
        shown = QStringLiteral("JIS2004 字形");
        switches << QStringLiteral("jp90 で JIS90 字形");
    } else if (forms.jp04 && !forms.jp90) {
        shown = QStringLiteral("JIS90 字形");
        switches << QStringLiteral("jp04 で JIS2004 字形");
    } else {
        // With both switches the default cannot be told from the features.
        shown = QStringLiteral("不明");
        switches << (forms.jp90 ? QStringLiteral("jp90 と jp04 の両方で切り替え") : QStringLiteral("jp90/jp04 の切り替えなし"));
    }
    if (forms.jp78)
        switches << QStringLiteral("jp78 で JIS78 字形");
    if (forms.jp83)
        switches << QStringLiteral("jp83 で JIS83 字形");
    return shown + QStringLiteral("（") + switches.join(QStringLiteral("、")) + QStringLiteral("）");
}

QString VariationSequencesText(const GlyphForms& forms)
{
    if (forms.sequences == 0)
        return QStringLiteral("なし");
    // Runs of neighbouring selectors: the standardized ones (U+FE00…) and
    // the ideographic ones (U+E0100…) apart.
    QStringList runs;
    for (std::size_t i = 0; i < forms.selectors.size();) {
        std::size_t last = i;
        while (last + 1 < forms.selectors.size() && forms.selectors[last + 1] == forms.selectors[last] + 1)
            ++last;
        runs << (last == i ? CodePointText(forms.selectors[i])
                           : CodePointText(forms.selectors[i]) + u'–' + CodePointText(forms.selectors[last]));
        i = last + 1;
    }
    return QStringLiteral("%1 個（セレクタ %2 種: %3）")
        .arg(NumberText(forms.sequences))
        .arg(forms.selectors.size())
        .arg(runs.join(QStringLiteral("、")));
}

QList<SwitchedCharacter> CharactersSwitchedBy(const QString& path, int index, const char* feature)
{
    QList<SwitchedCharacter> switched;
    const FaceHandle face = openFace(path, index);
    if (!face)
        return switched;
    const hb_tag_t tag = hb_tag_from_string(feature, 4);
    if (!GsubHasFeature(face.get(), tag))
        return switched;
    // The glyphs the feature's own lookups take in.
    const hb_tag_t features[] = {tag, HB_TAG_NONE};
    const SetHandle lookups = newSet();
    hb_ot_layout_collect_lookups(face.get(), HB_OT_TAG_GSUB, nullptr, nullptr, features, lookups.get());
    const SetHandle inputs = newSet();
    for (hb_codepoint_t lookup = HB_SET_VALUE_INVALID; hb_set_next(lookups.get(), &lookup);)
        hb_ot_layout_lookup_collect_glyphs(face.get(), HB_OT_TAG_GSUB, lookup, nullptr, inputs.get(), nullptr, nullptr);
    if (hb_set_is_empty(inputs.get()))
        return switched;
    // The characters drawn with those glyphs, each shaped both ways.
    const FontHandle font(hb_font_create(face.get()), &hb_font_destroy);
    const BufferHandle buffer(hb_buffer_create(), &hb_buffer_destroy);
    const hb_feature_t on{tag, 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END};
    const SetHandle unicodes = newSet();
    hb_face_collect_unicodes(face.get(), unicodes.get());
    for (hb_codepoint_t character = HB_SET_VALUE_INVALID; hb_set_next(unicodes.get(), &character);) {
        hb_codepoint_t glyph = 0;
        if (!hb_font_get_nominal_glyph(font.get(), character, &glyph) || !hb_set_has(inputs.get(), glyph))
            continue;
        const quint32 plain = shapedGlyph(font.get(), buffer.get(), character, nullptr);
        const quint32 other = shapedGlyph(font.get(), buffer.get(), character, &on);
        if (plain != 0 && other != 0 && plain != other)
            switched.append({char32_t(character), plain, other});
    }
    return switched;
}

QList<Variant> VariantsOf(const QString& path, int index, char32_t base)
{
    QList<Variant> variants;
    const FaceHandle face = openFace(path, index);
    if (!face)
        return variants;
    const FontHandle font(hb_font_create(face.get()), &hb_font_destroy);
    const SetHandle selectors = newSet();
    hb_face_collect_variation_selectors(face.get(), selectors.get());
    for (hb_codepoint_t selector = HB_SET_VALUE_INVALID; hb_set_next(selectors.get(), &selector);) {
        hb_codepoint_t glyph = 0;
        if (hb_font_get_variation_glyph(font.get(), base, selector, &glyph))
            variants.append({char32_t(selector), quint32(glyph)});
    }
    return variants;
}

std::vector<char32_t> BasesWithVariants(const QString& path, int index)
{
    std::vector<char32_t> bases;
    const FaceHandle face = openFace(path, index);
    if (!face)
        return bases;
    const SetHandle selectors = newSet();
    hb_face_collect_variation_selectors(face.get(), selectors.get());
    const SetHandle all = newSet();
    for (hb_codepoint_t selector = HB_SET_VALUE_INVALID; hb_set_next(selectors.get(), &selector);)
        hb_face_collect_variation_unicodes(face.get(), selector, all.get());
    bases.reserve(hb_set_get_population(all.get()));
    for (hb_codepoint_t base = HB_SET_VALUE_INVALID; hb_set_next(all.get(), &base);)
        bases.push_back(char32_t(base));
    return bases;
}

quint32 SequenceGlyph(const QString& path, int index, char32_t base, char32_t selector)
{
    const FaceHandle face = openFace(path, index);
    if (!face)
        return 0;
    const FontHandle font(hb_font_create(face.get()), &hb_font_destroy);
    hb_codepoint_t glyph = 0;
    return hb_font_get_variation_glyph(font.get(), base, selector, &glyph) ? quint32(glyph) : 0;
}

bool FaceHasSequence(const QString& path, int index, char32_t base, char32_t selector)
{
    return SequenceGlyph(path, index, base, selector) != 0;
}

bool IsVariationSelector(char32_t c)
{
    return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
}

QString SequenceText(char32_t base, char32_t selector)
{
    return CodePointText(base) + u' ' + CodePointText(selector);
}
