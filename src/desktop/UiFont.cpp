#include "desktop/UiFont.h"

#include "platform/DesignFaces.h"
#include "desktop/DrawingFonts.h"

#include <QFont>
#include <QGuiApplication>

namespace platform {

void useJapaneseUiFont()
{
    const QString family = designFaceCounterpart(DesignFace::ProportionalGothic);
    if (family.isEmpty())
        return;
    QFont font = QGuiApplication::font();
    font.setFamilies({family});
    QGuiApplication::setFont(font);
}

void limitDrawingToUiFaces()
{
    limitDrawingFonts({designFaceName(DesignFace::ProportionalGothic), designFaceName(DesignFace::FixedGothic),
                       designFaceCounterpart(DesignFace::ProportionalGothic),
                       designFaceCounterpart(DesignFace::FixedGothic)});
}

} // namespace platform
