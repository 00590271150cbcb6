#pragma once

#include "catalog/FontCatalog.h"
#include "lists/FontNameList.h"

#include <QWidget>
#include <array>
#include <functional>

class FontFileLookup;

class FontNameModel;
class QLabel;
class QListWidget;

// The all-fonts window: every font in one list, an index that jumps into it,
// and the file and size of the selected font.
class Form1 : public QWidget {
    Q_OBJECT

public:
    // allNames is the shared model of catalog.AllFontNames; without one the
    // window makes its own.
    Form1(const FontCatalog& catalog, const FontFileLookup& lookup, QWidget* parent = nullptr,
          FontNameModel* allNames = nullptr);

    // Selects a line of the index as a click would (start-up selects 0).
    void selectIndexLine(int line);

    void List1_Click();
    void List2_Click();
    void List2_DblClick();

    QListWidget* List1 = nullptr;
    FontNameList* List2 = nullptr;
    FontNameList* List3 = nullptr;
    std::array<QLabel*, 2> Label1{};
    std::array<QLabel*, 2> Label2{};

signals:
    // A new individual view should open on AllFontNames[position].
    void openViewAt(int position);
    // A numbered message that ends the program.
    void fatalError(int message);

private:
    void createControls();
    void fillLists();
    void fitIndexList();
    void connectHandlers();
    void selectFontAt(int position);
    void jumpToFirstFontStartingWith(const std::function<bool(QChar)>& accepts);

    const FontCatalog& m_catalog;
    const FontFileLookup& m_lookup;
    FontNameModel* m_allNames = nullptr;
};
