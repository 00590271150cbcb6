#include "catalog/OneLineText.h"

namespace {

// The symbols for the control characters U+0000..U+001F and DEL.
constexpr char16_t ControlPictures = 0x2400;
constexpr char16_t DeletePicture = 0x2421;
constexpr char16_t NewlinePicture = 0x2424;
constexpr char16_t Replacement = 0xFFFD;

bool breaksLines(char16_t c)
{
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

} // namespace

QString OneLineText(const QString& text)
{
    qsizetype first = 0;
    while (first < text.size() && !breaksLines(text.at(first).unicode()))
        ++first;
    if (first == text.size())
        return text;
    QString line = text;
    for (qsizetype i = first; i < line.size(); ++i) {
        const char16_t c = line.at(i).unicode();
        if (c < 0x20)
            line[i] = QChar(char16_t(ControlPictures + c));
        else if (c == 0x7F)
            line[i] = QChar(DeletePicture);
        else if (c == 0x2028 || c == 0x2029)
            line[i] = QChar(NewlinePicture);
        else if (c >= 0x80 && c <= 0x9F)
            line[i] = QChar(Replacement);
    }
    return line;
}
