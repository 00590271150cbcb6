#pragma once

#include "core/Settings.h"
#include "core/SystemInfo.h"
#include "display/Form6Logic.h"
#include "platform/Platform.h"

#include <QDialog>
#include <array>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

// The preferences dialog: start-up choices, exit question, start values of
// new individual views, the preview's custom text and font smoothing.
class Form6 : public QDialog {
    Q_OBJECT

public:
    // Loads from settings and info; placed 1200 and 900 twips right of and
    // below the owner's top-left corner. OK writes into both.
    Form6(Settings& settings, SystemInfo& info, platform::Platform& platform,
          QWidget* owner = nullptr);

    // What the last OK changed; all false until OK has run.
    const Form6Result& outcome() const { return m_outcome; }

    // The controls' current state, as OK would copy it.
    Form6Controls controls() const;

    void Check1_Click(int index);
    void Check2_MouseDown();
    void VScroll1_Change();
    void VScroll1_GotFocus(Qt::FocusReason reason);
    void Command4_Click();
    void Command1_Click();
    void Command2_Click();

    // Members 0, 7, 9, 10, 11 and 12 exist; the others are null.
    std::array<QCheckBox*, 13> Check1{};
    QCheckBox* Check2 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    std::array<QLabel*, 2> Label1{};
    QLabel* Label2 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    std::array<QPushButton*, 1> Command3{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void placeControls();
    void setTabOrder();
    void load(QWidget* owner);
    void connectHandlers();

    void showSwatch(std::uint32_t color);

    Settings& m_settings;
    SystemInfo& m_info;
    platform::Platform& m_platform;
    Form6Result m_outcome;
    // Label3's colour, as the setting holds it.
    std::int32_t m_swatch = 0;
    // The colour dialog starts from the last colour chosen in it.
    std::uint32_t m_dialogColor = 0;
};
