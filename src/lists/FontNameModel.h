#pragma once

#include <QAbstractListModel>
#include <QStringList>

// A read-only list of font names for the views to share. The names are held
// as one implicitly shared list, so a model over the catalogue's names costs
// no copy of them, and every view over it keeps the catalogue's positions.
class FontNameModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit FontNameModel(QStringList names, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const QStringList& names() const { return m_names; }

private:
    const QStringList m_names;
};
