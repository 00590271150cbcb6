#include "face/VerticalLayout.h"

#include "face/GsubFeatures.h"

#include <QFile>

#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

namespace {

// Column centre lines stand 1.5 em apart, leaving half an em between
// columns, as vertical Japanese is usually set.
constexpr qreal ColumnPitch = 1.5;
// HarfBuzz works in 26.6 fixed point at this scale.
constexpr qreal SubPixels = 64;
// Beyond this a sample is no longer a sample, and the scale would not fit.
constexpr qreal LargestPixelSize = 10000;

using BlobHandle = std::unique_ptr<hb_blob_t, decltype(&hb_blob_destroy)>;
using FaceHandle = std::unique_ptr<hb_face_t, decltype(&hb_face_destroy)>;
using FontHandle = std::unique_ptr<hb_font_t, decltype(&hb_font_destroy)>;
using BufferHandle = std::unique_ptr<hb_buffer_t, decltype(&hb_buffer_destroy)>;

bool hasVerticalForms(hb_face_t* face)
{
    return GsubHasFeature(face, HB_TAG('v', 'e', 'r', 't')) || GsubHasFeature(face, HB_TAG('v', 'r', 't', '2'));
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

VerticalRun LayOutVertically(const QString& fontPath, int faceIndex, const QString& text, qreal pixelSize)
{
    VerticalRun run;
    if (!std::isfinite(pixelSize) || pixelSize <= 0 || pixelSize > LargestPixelSize) {
        run.error = QStringLiteral("文字の大きさ（%1 ピクセル）では組めません").arg(pixelSize);
        return run;
    }
    const QByteArray file = QFile::encodeName(fontPath);
    const BlobHandle blob(hb_blob_create_from_file(file.constData()), &hb_blob_destroy);
    const FaceHandle face(hb_face_create(blob.get(), unsigned(std::max(faceIndex, 0))), &hb_face_destroy);
    run.error = openError(fontPath, blob.get(), faceIndex, face.get());
    if (!run.error.isEmpty())
        return run;
    run.usedVerticalForms = hasVerticalForms(face.get());

    const FontHandle font(hb_font_create(face.get()), &hb_font_destroy);
    const int scale = int(std::lround(pixelSize * SubPixels));
    hb_font_set_scale(font.get(), scale, scale);
    const BufferHandle buffer(hb_buffer_create(), &hb_buffer_destroy);
    const hb_feature_t features[] = {
        {HB_TAG('v', 'e', 'r', 't'), 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('v', 'r', 't', '2'), 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    };
    const hb_language_t japanese = hb_language_from_string("ja", -1);
    const auto* utf16 = reinterpret_cast<const uint16_t*>(text.utf16());

    const qreal em = pixelSize;
    qsizetype lineStart = 0;
    for (int column = 0;; ++column) {
        qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        const qsizetype length = lineEnd - lineStart - (lineEnd > lineStart && text.at(lineEnd - 1) == u'\r' ? 1 : 0);

        hb_buffer_clear_contents(buffer.get());
        hb_buffer_add_utf16(buffer.get(), utf16, int(text.size()), unsigned(lineStart), int(length));
        hb_buffer_set_language(buffer.get(), japanese);
        hb_buffer_guess_segment_properties(buffer.get());
        // A line of brackets and marks alone has no script of its own; in a
        // Japanese sample it is set as the kanji around it would be.
        if (hb_buffer_get_script(buffer.get()) == HB_SCRIPT_INVALID)
            hb_buffer_set_script(buffer.get(), HB_SCRIPT_HAN);
        hb_buffer_set_direction(buffer.get(), HB_DIRECTION_TTB);
        hb_shape(font.get(), buffer.get(), features, std::size(features));

        unsigned count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
        const hb_glyph_position_t* placed = hb_buffer_get_glyph_positions(buffer.get(), nullptr);
        // HarfBuzz's y grows upwards and its offsets lead from the pen on the
        // centre line to the glyph's own origin.
        const qreal centre = -column * ColumnPitch * em;
        hb_position_t penX = 0;
        hb_position_t penY = 0;
        for (unsigned i = 0; i < count; ++i) {
            run.glyphs << infos[i].codepoint;
            run.clusters << infos[i].cluster;
            run.positions << QPointF(centre + (penX + placed[i].x_offset) / SubPixels,
                                     -(penY + placed[i].y_offset) / SubPixels);
            run.cells << QRectF(centre + penX / SubPixels - em / 2, -penY / SubPixels, em,
                                -placed[i].y_advance / SubPixels);
            penX += placed[i].x_advance;
            penY += placed[i].y_advance;
        }
        run.bounds |= QRectF(centre - em / 2, 0, em, -penY / SubPixels);

        if (lineEnd >= text.size())
            break;
        lineStart = lineEnd + 1;
    }
    return run;
}
