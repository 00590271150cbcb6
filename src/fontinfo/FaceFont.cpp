#include "fontinfo/FaceFont.h"

#include <QFile>

#include <hb.h>

#include <vector>

namespace {

QByteArray singleFaceData(const QString& path, int index)
{
    const QByteArray file = QFile::encodeName(path);
    hb_blob_t* blob = hb_blob_create_from_file(file.constData());
    hb_face_t* face = hb_face_create(blob, unsigned(index));
    hb_face_t* builder = hb_face_builder_create();
    unsigned count = hb_face_get_table_tags(face, 0, nullptr, nullptr);
    std::vector<hb_tag_t> tags(count);
    hb_face_get_table_tags(face, 0, &count, tags.data());
    for (unsigned i = 0; i < count; ++i) {
        hb_blob_t* table = hb_face_reference_table(face, tags[i]);
        hb_face_builder_add_table(builder, tags[i], table);
        hb_blob_destroy(table);
    }
    hb_blob_t* built = hb_face_reference_blob(builder);
    unsigned length = 0;
    const char* bytes = hb_blob_get_data(built, &length);
    QByteArray data = count > 0 ? QByteArray(bytes, qsizetype(length)) : QByteArray();
    hb_blob_destroy(built);
    hb_face_destroy(builder);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return data;
}

} // namespace

QRawFont RawFontOfFace(const QString& path, int index, qreal pixelSize)
{
    const int face = index & 0xFFFF;
    if (face == 0)
        return QRawFont(path, pixelSize, QFont::PreferNoHinting);
    QRawFont font;
    if (const QByteArray data = singleFaceData(path, face); !data.isEmpty())
        font.loadFromData(data, pixelSize, QFont::PreferNoHinting);
    return font;
}
