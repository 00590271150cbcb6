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
    // Label1 = fileTitle + action; a title too long for the label is cut in
    // its middle so that the action stays readable.
    void setStatus(const QString& fileTitle, const QString& action);

    QLabel* Label1 = nullptr;
    QProgressBar* ProgBar1 = nullptr;

private:
    QWidget* m_mainWindow;
};
