#include "catalog/PathElision.h"

namespace {

const QString Ellipsis = QStringLiteral("…");

// Never keep half of a surrogate pair at either side of the cut.
QString headOf(const QString& text, qsizetype length)
{
    if (length > 0 && text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

QString tailOf(const QString& text, qsizetype length)
{
    if (length > 0 && text.at(text.size() - length).isLowSurrogate())
        --length;
    return text.right(length);
}

} // namespace

QString ElidedPath(const QString& path, double width, const std::function<double(const QString&)>& widthOf)
{
    if (widthOf(path) <= width)
        return path;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0)
        return path;
    const QString folder = path.left(slash);
    const QString nameEnd = path.mid(slash);
    const auto shortened = [&](qsizetype kept) {
        return headOf(folder, kept - kept / 2) + Ellipsis + tailOf(folder, kept / 2) + nameEnd;
    };
    // Widths grow with the characters kept, so the most that fit are found by halving.
    qsizetype low = 0;
    qsizetype high = folder.size() - 1;
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (widthOf(shortened(middle)) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    return shortened(low);
}
