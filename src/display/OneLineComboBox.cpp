#include "display/OneLineComboBox.h"

#include "lists/OneLineNameDelegate.h"
#include "catalog/OneLineText.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

OneLineComboBox::OneLineComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setItemDelegate(new OneLineNameDelegate(this));
}

void OneLineComboBox::paintEvent(QPaintEvent*)
{
    // As QComboBox paints itself, with the shown text made one line.
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = OneLineText(option.currentText);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
