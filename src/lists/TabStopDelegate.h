#pragma once

#include <QStyledItemDelegate>

// Draws list lines that hold a TAB with the column after the TAB at a fixed
// distance, as a classic list box does; the view's default tab width is too
// wide for a narrow list.
class TabStopDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    // The blank the text keeps from the line's left and right edges.
    static constexpr int TextMargin = 3;

    TabStopDelegate(qreal tabStop, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    qreal m_tabStop;
};
