#include "lists/CaptionFit.h"

#include "platform/Twips.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

using platform::twipsToPixels;

namespace {

int neededWidth(QWidget* control)
{
    // A push button keeps its design width unless its text would touch the
    // frame; its style's minimum width is no caption need.
    if (auto* button = qobject_cast<QPushButton*>(control))
        return button->fontMetrics().horizontalAdvance(button->text()) + 12;
    return control->sizeHint().width();
}

bool growsLeft(QWidget* control)
{
    const auto* label = qobject_cast<QLabel*>(control);
    return label && (label->alignment() & Qt::AlignRight);
}

void atLeastOneLine(QWidget* control)
{
    QRect box = control->geometry();
    const int line = control->fontMetrics().height();
    if (box.height() >= line)
        return;
    const int centre = box.top() + box.height() / 2;
    box.setTop(centre - line / 2);
    box.setHeight(line);
    control->setGeometry(box);
}

int room(const CaptionRoom& r)
{
    const QRect box = r.control->geometry();
    return growsLeft(r.control) ? box.right() + 1 - twipsToPixels(r.leftLimit)
                                : twipsToPixels(r.rightLimit) - box.left();
}

} // namespace

int fitCaptions(QWidget* window, const std::vector<CaptionRoom>& rooms, int largestPixels,
                int smallestPixels)
{
    QFont font = window->font();
    int pixels = largestPixels;
    for (; pixels > smallestPixels; --pixels) {
        font.setPixelSize(pixels);
        window->setFont(font);
        const bool fits = std::all_of(rooms.begin(), rooms.end(), [](const CaptionRoom& r) {
            return neededWidth(r.control) <= room(r);
        });
        if (fits)
            break;
    }
    font.setPixelSize(pixels);
    window->setFont(font);

    for (const CaptionRoom& r : rooms) {
        QRect box = r.control->geometry();
        const int width = std::min(std::max(box.width(), neededWidth(r.control)), room(r));
        if (growsLeft(r.control))
            box.setLeft(box.right() + 1 - width);
        else
            box.setWidth(width);
        r.control->setGeometry(box);
        atLeastOneLine(r.control);
    }
    return pixels;
}

void fitValueText(QLabel* label, int smallestPixels)
{
    const QString text = label->text();
    QFont font = label->font();
    for (int pixels = QFontInfo(font).pixelSize(); pixels >= smallestPixels; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= label->width()) {
            label->setFont(font);
            atLeastOneLine(label);
            return;
        }
    }
    font.setPixelSize(smallestPixels);
    label->setFont(font);
    label->setText(QFontMetrics(font).elidedText(text, Qt::ElideRight, label->width()));
    atLeastOneLine(label);
}
