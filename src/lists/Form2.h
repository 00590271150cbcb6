#pragma once

#include "catalog/FontCatalog.h"
#include "lists/FontNameList.h"

#include <QWidget>
#include <array>

class QLabel;


// The index list window: the fonts of each of the 28 index groups in a small
// list of their own, under the group's title.
class Form2 : public QWidget {
    Q_OBJECT

public:
    explicit Form2(const FontCatalog& catalog, QWidget* parent = nullptr);

    void List1_DblClick(int index);

    std::array<FontNameList*, IndexGroupCount> List1{};
    std::array<QLabel*, 32> Label1{};

signals:
    // A new individual view should open on the font of this name.
    void openViewOnName(const QString& fontName);

private:
    void createLists();
    void createLabels();
    void fillLists(const FontCatalog& catalog);
    void connectHandlers();
};
