#pragma once

#include <QStyledItemDelegate>

// Draws a list of font names one line per name, every row as high as a row
// of ordinary text: control characters are shown by their symbols, and a
// name whose characters come from fallback faces with taller lines does not
// make its row taller than the others. The names themselves are untouched.
class OneLineNameDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant& value, const QLocale& locale) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
