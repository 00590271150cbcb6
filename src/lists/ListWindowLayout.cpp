#include "lists/ListWindowLayout.h"

#include "platform/Twips.h"

#include <QWidget>

using platform::twipsToPixels;

void placeInTwips(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                         twipsToPixels(height));
}
