#include "lists/TabStopDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextOption>

TabStopDelegate::TabStopDelegate(qreal tabStop, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_tabStop(tabStop)
{
}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    // Background, selection and focus as usual; only the text is ours.
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    QTextOption textOption(Qt::AlignLeft | Qt::AlignVCenter);
    textOption.setWrapMode(QTextOption::NoWrap);
    textOption.setTabStopDistance(m_tabStop);
    const bool selected = item.state & QStyle::State_Selected;
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QRectF(item.rect.adjusted(TextMargin, 0, -TextMargin, 0)), text, textOption);
    painter->restore();
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QFontMetrics metrics(item.font);
    const QSize text = metrics.size(Qt::TextExpandTabs, item.text, int(m_tabStop));
    return QSize(text.width() + 2 * TextMargin, QStyledItemDelegate::sizeHint(option, index).height());
}
