#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The progress window shown while a font-name file is written or read.
class Form9 : public QWidget {
    Q_OBJECT

public:
    explicit Form9(QWidget* mainWindow);
    ~Form9() override;

    // Shows the window centred on the main window.
    void showCentred();

    QLabel* Label1 = nullptr;
    QProgressBar* ProgBar1 = nullptr;

private:
    QWidget* m_mainWindow;
};
