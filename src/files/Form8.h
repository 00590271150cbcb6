#pragma once

#include "comparison/ComparisonSearch.h"

#include <QStringList>
#include <QWidget>
#include <array>

class QFrame;
class QGroupBox;
class QLabel;
class QListView;
class QProgressBar;
class QPushButton;
class QRadioButton;
class FontNameModel;
class QAbstractItemModel;
class QStringListModel;

// The comparison window: the fonts installed here (▲) beside the names read
// from a comparison file (■), and a search of one list within the other.
class Form8 : public QWidget {
    Q_OBJECT

public:
    // The installed names are shared with the caller, not copied.
    explicit Form8(const QStringList& installedNames, QWidget* parent = nullptr);
    // Over the shared model of the installed names that the list windows show.
    explicit Form8(FontNameModel* installedNames, QWidget* parent = nullptr);

    void Command1_Click();

    // The file side: a new file empties both the file list and the results.
    void clearFileSide();
    void setFileNames(const QStringList& names);

    QStringList installedNames() const;
    QStringList fileNames() const;
    QStringList results() const;

    static QString countText(qsizetype count);

    QListView* List1 = nullptr;
    QListView* List2 = nullptr;
    QListView* List3 = nullptr;
    std::array<QLabel*, 3> Label1{};
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    std::array<QLabel*, 2> Label4{};
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 2> Option1{};
    std::array<QRadioButton*, 2> Option2{};
    QPushButton* Command1 = nullptr;
    QFrame* Picture1 = nullptr;
    QProgressBar* ProgBar1 = nullptr;

private:
    void createControls();
    void createSearchControls();
    QListView* createList(QAbstractItemModel* model, int left, int top, int width, int height,
                          const QString& tip);

    FontNameModel* m_installed = nullptr;
    QStringListModel* m_fileNames = nullptr;
    QStringListModel* m_results = nullptr;
};
