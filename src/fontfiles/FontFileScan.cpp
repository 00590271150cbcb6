#include "fontfiles/FontFileScan.h"

#include "face/FaceReader.h"

#include <QFile>
#include <QFileInfo>

#include <fontconfig/fontconfig.h>

#include <memory>

using platform::FontFace;

FontFileScan ScanFontFile(const QString& path)
{
    FontFileScan scan;
    scan.path = path;
    const QFileInfo info(path);
    if (!info.exists()) {
        scan.error = QStringLiteral("ファイルが見つかりません");
        return scan;
    }
    if (info.isDir()) {
        scan.error = QStringLiteral("フォルダです。フォントファイルを選んでください");
        return scan;
    }
    if (!info.isReadable()) {
        scan.error = QStringLiteral("ファイルを読む権限がありません");
        return scan;
    }
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> set(FcFontSetCreate(), &FcFontSetDestroy);
    const QByteArray file = QFile::encodeName(path);
    int count = 0;
    // Every face of a collection; the named instances of a variable font
    // are left out by the face reading below, as in the lists.
    FcFreeTypeQueryAll(reinterpret_cast<const FcChar8*>(file.constData()), unsigned(-1), nullptr, &count, set.get());
    for (int i = 0; i < set->nfont; ++i) {
        std::optional<FontFace> face = platform::FaceOfPattern(set->fonts[i]);
        if (!face)
            continue;
        // The languages choose the shown name even where there is one name.
        if (face->familyLanguages.isEmpty()) {
            FcChar8* language = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FAMILYLANG, 0, &language) == FcResultMatch)
                face->familyLanguages << QString::fromUtf8(reinterpret_cast<const char*>(language));
        }
        face->path = path;
        face->realPath = info.canonicalFilePath();
        scan.faces.append(std::move(*face));
    }
    if (scan.faces.isEmpty()) {
        // FreeType's own words for why, where it has them.
        const FaceDetails details = ReadFaceDetails(path, 0);
        scan.error = !details.error.isEmpty()
                         ? details.error
                         : QStringLiteral("フォントとして読める書体がありません（壊れているか、対応していない形式です）");
    }
    return scan;
}

QString FaceTitle(const FontFace& face)
{
    const QString family = platform::FontSnapshot::screenName(face);
    return face.style.isEmpty() ? family : family + u' ' + face.style;
}
