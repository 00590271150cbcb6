#pragma once

#include "core/Settings.h"
#include "find/FontFinder.h"
#include "platform/FontList.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class FoundFontsModel;

// The find window: the fonts whose names hold what is typed, and the fonts
// that can show a text, each drawing a sample in itself.
class FindWindow : public QWidget {
    Q_OBJECT

public:
    FindWindow(const QStringList& fontNames, const Settings& settings, platform::FontList& fonts,
               QWidget* parent = nullptr);
    ~FindWindow() override;
    QSize sizeHint() const override;

    // Puts text into the text field, so the list shows the fonts that can show it.
    void setText(const QString& text);
    // The catalogue position of a row of the list.
    int positionAt(int row) const;
    // The characters the font of a row lacks; empty when it has them all.
    QString lackingAt(int row) const;

    QLineEdit* NameField = nullptr;
    QLineEdit* TextField = nullptr;
    QCheckBox* LackingCheck = nullptr;
    QListView* Results = nullptr;
    QLabel* CountLabel = nullptr;
    // Why nothing matched; hidden while fonts are listed.
    QLabel* ReasonLabel = nullptr;

signals:
    // A new individual view on the font at this catalogue position, showing
    // the text searched for; an empty text keeps the view's own.
    void openViewAt(int position, const QString& text);

private:
    void createControls();
    void refresh();
    void openCurrent();

    FontFinder m_finder;
    FoundFontsModel* m_model = nullptr;
};
