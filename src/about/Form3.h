#pragma once

#include "catalog/FontCatalog.h"
#include "core/SystemInfo.h"
#include "platform/FontList.h"

#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QPushButton;

// The About window: the logo, the build version and facts about the system.
class Form3 : public QDialog {
    Q_OBJECT

public:
    // Reads its values at once and centres itself on owner, the main window.
    Form3(const SystemInfo& info, const FontCatalog& catalog, platform::FontList& fonts,
          QWidget* owner = nullptr);

    void Command1_Click();

    QLabel* Image1 = nullptr;
    QLabel* Label5 = nullptr;
    // Label1(0) .. Label1(5): the captions on the left.
    std::array<QLabel*, 6> Label1{};
    // Label2(0) .. Label2(6): the values.
    std::array<QLabel*, 7> Label2{};
    QFrame* Picture1 = nullptr;
    // The etched separator: upper dark line, lower light line.
    std::array<QFrame*, 2> Line1{};
    QLabel* Label4 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Label3 = nullptr;

private:
    void createControls(platform::FontList& fonts);
    void Form_Load(const SystemInfo& info, const FontCatalog& catalog, QWidget* owner);
};
