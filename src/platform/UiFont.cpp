#include "platform/UiFont.h"

#include <QFont>
#include <QGuiApplication>

#include <fontconfig/fontconfig.h>

namespace platform {

QString japaneseUiFamily()
{
    if (!FcInit())
        return {};
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ja"));
    if (!pattern)
        return {};
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    QString family;
    if (match) {
        FcChar8* name = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
            family = QString::fromUtf8(reinterpret_cast<const char*>(name));
        FcPatternDestroy(match);
    }
    return family;
}

void useJapaneseUiFont()
{
    const QString family = japaneseUiFamily();
    if (family.isEmpty())
        return;
    QFont font = QGuiApplication::font();
    font.setFamilies({family});
    QGuiApplication::setFont(font);
}

} // namespace platform
