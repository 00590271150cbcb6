#include "display/FontDrawing.h"

#include <QImage>
#include <QPainterPath>
#include <QRawFont>

namespace {

// Characters nearly every font holds one of; a few are enough to tell.
const QString Probe = QStringLiteral("AaHx0あア亜");
constexpr int MostTried = 3;

} // namespace

bool FontDraws(const QFont& font)
{
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return true;
    int tried = 0;
    for (const QChar c : Probe) {
        if (!raw.supportsCharacter(c))
            continue;
        const QList<quint32> glyphs = raw.glyphIndexesForString(QString(c));
        if (glyphs.isEmpty() || glyphs.first() == 0)
            continue;
        // Outline fonts give a path; bitmap fonts only an image.
        if (!raw.pathForGlyph(glyphs.first()).isEmpty()
            || !raw.alphaMapForGlyph(glyphs.first(), QRawFont::PixelAntialiasing).isNull())
            return true;
        if (++tried == MostTried)
            break;
    }
    return tried == 0;
}
