#include "lists/OneLineNameDelegate.h"

#include "catalog/OneLineText.h"

#include <QApplication>
#include <QStyle>

QString OneLineNameDelegate::displayText(const QVariant& value, const QLocale& locale) const
{
    return OneLineText(QStyledItemDelegate::displayText(value, locale));
}

QSize OneLineNameDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QSize natural = QStyledItemDelegate::sizeHint(option, index);
    QStyleOptionViewItem ordinary = option;
    initStyleOption(&ordinary, index);
    ordinary.text = QStringLiteral("Ag");
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const QSize line = style->sizeFromContents(QStyle::CT_ItemViewItem, &ordinary, QSize(), widget);
    return {natural.width(), line.height()};
}
