#pragma once

#include <QListView>

// A list box over a shared model of names: the list windows show thousands of
// fonts, and a model shared by every view costs one copy of the names instead
// of one item per name and window. Rows are addressed as in a list box.
class FontNameList : public QListView {
    Q_OBJECT

public:
    // One line of the list, read through the model.
    class Row {
    public:
        Row() = default;
        Row(const QAbstractItemModel* model, int row) : m_model(model), m_row(row) {}
        QString text() const;
        int row() const { return m_row; }
        explicit operator bool() const { return m_model != nullptr; }
        // Lets a row be used where a pointer to a list item was.
        const Row* operator->() const { return this; }

    private:
        const QAbstractItemModel* m_model = nullptr;
        int m_row = -1;
    };

    explicit FontNameList(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    int count() const;
    int currentRow() const;
    // Makes the row current and selected; -1 clears both.
    void setCurrentRow(int row);
    // An empty row when there is no such line.
    Row item(int row) const;
    Row currentItem() const;
    QRect visualItemRect(const Row& row) const;

signals:
    void currentRowChanged(int row);
};
