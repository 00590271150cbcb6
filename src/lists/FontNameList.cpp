#include "lists/FontNameList.h"

QString FontNameList::Row::text() const
{
    return m_model ? m_model->index(m_row, 0).data(Qt::DisplayRole).toString() : QString();
}

FontNameList::FontNameList(QWidget* parent) : QListView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every line is one line high; without this the view measures all rows.
    setUniformItemSizes(true);
}

void FontNameList::setModel(QAbstractItemModel* model)
{
    QListView::setModel(model);
    if (selectionModel()) {
        connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex& current) { emit currentRowChanged(current.isValid() ? current.row() : -1); });
    }
}

int FontNameList::count() const
{
    return model() ? model()->rowCount() : 0;
}

int FontNameList::currentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void FontNameList::setCurrentRow(int row)
{
    if (!model() || !selectionModel())
        return;
    const QModelIndex index = model()->index(row, 0);
    if (!index.isValid()) {
        selectionModel()->clear();
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

FontNameList::Row FontNameList::item(int row) const
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return {};
    return {model(), row};
}

FontNameList::Row FontNameList::currentItem() const
{
    return item(currentRow());
}

QRect FontNameList::visualItemRect(const Row& row) const
{
    return row && model() ? visualRect(model()->index(row.row(), 0)) : QRect();
}
