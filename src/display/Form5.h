#pragma once

#include "platform/Dialogs.h"
#include "core/Settings.h"
#include "display/DrawingFamily.h"

#include <QFont>
#include <QSize>
#include <QStringList>
#include <QWidget>
#include <cstdint>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;
struct Form5Layout;

// The individual font view: free sample text in one font, size, style and colour.
class FontNameModel;

class Form5 : public QWidget {
    Q_OBJECT

public:
    // names, where given, is the shared model of fontNames that the list
    // windows show; without one the view makes its own.
    Form5(const QStringList& fontNames, const Settings& settings, platform::Dialogs& dialogs,
          QWidget* parent = nullptr, FontNameModel* names = nullptr);

    // The client size the window is designed for, for sizing its frame.
    static QSize designClientSizePixels();
    // The window's outer size in twips: the client plus the frame allowance.
    QSize outerSizeTwips() const;

    // Selects an entry as code selection does: the font-choice handler runs.
    // An index outside the list selects nothing and changes nothing.
    void setListIndex(int index);
    // How the chosen font's name becomes the family it is drawn with.
    void setDrawingFamily(DrawingFamily drawing) { m_drawing = std::move(drawing); }
    // Switches antialiasing of the sample text.
    void setSmoothing(bool on);

    // The first entry exactly equal to name, or -1.
    int findEntry(const QString& name) const;

    // The box's text with its lines joined by CR LF, as the box holds it.
    QString Text1Text() const;
    // Puts a text into the box, as typing it would.
    void setSampleText(const QString& text) { setText1Text(text); }

    void Combo1_Click();
    void Slider1_Scroll();
    void Check1_Click();
    void Check2_Click();
    void Command1_Click();
    void Command2_Click();

    QComboBox* Combo1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QSlider* Slider1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    // In the text box's context menu: the fonts that can show its text.
    QAction* FindFontsAction = nullptr;
    // Also there: the chosen font's details and its character map.
    QAction* DetailsAction = nullptr;
    QAction* CharacterMapAction = nullptr;
    QAction* TypesettingAction = nullptr;

signals:
    // The find window for text: the selection, else the whole text.
    void findFontsRequested(const QString& text);
    // The details window on the chosen font, with the box's text as its vertical sample.
    void fontDetailsRequested(const QString& fontName, const QString& sampleText);
    void characterMapRequested(const QString& fontName);
    // The typesetting sample of the chosen font with the box's text.
    void typesettingRequested(const QString& fontName, const QString& text);
    // The print button's request for the glyph printout of fontName.
    void printRequested(const QString& fontName, const QString& printText);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void placeControls();
    void setTabOrder();
    void load(const QStringList& fontNames, const Settings& settings, FontNameModel* names);
    void connectHandlers();

    void applyLayout(const Form5Layout& layout);
    void fitTextControls();
    void applyTextFont();
    // The chosen font's face on the text, or the box's own where it cannot draw.
    void applyChosenFace();
    // Whether the text is drawn in the chosen font's glyphs alone.
    void setOwnGlyphsOnly(bool on);
    void applyTextColor(std::uint32_t color);
    void setText1Text(const QString& text);
    bool fontChosen() const;
    bool isMinimizedWindow() const;

    platform::Dialogs& m_dialogs;
    QFont m_textFont;
    QString m_fallbackFamily;
    DrawingFamily m_drawing;
    // The colour dialog keeps the last colour chosen in this window.
    std::uint32_t m_dialogColor = 0;
};
