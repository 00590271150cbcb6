#include "catalog/ListWindowLayout.h"

#include "platform/Twips.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>

using platform::twipsToPixels;

void placeInTwips(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                         twipsToPixels(height));
}

QIcon listWindowIcon()
{
    // A sheet with lines of text and a large "A": a list of fonts.
    QPixmap image(32, 32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(3, 1, 25, 29);
    painter.setPen(QPen(Qt::darkBlue, 2));
    for (int y = 18; y <= 26; y += 4)
        painter.drawLine(7, y, 24, y);
    QFont font = painter.font();
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::darkRed);
    painter.drawText(QRect(3, 1, 25, 15), Qt::AlignCenter, QStringLiteral("A"));
    painter.end();
    return QIcon(image);
}
