#pragma once

#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QWidget>

// The splash window shown while the program starts.
class Form4 : public QWidget {
    Q_OBJECT

public:
    explicit Form4(QWidget* parent = nullptr);

    // The one-line status the start-up writes while it works.
    QLabel* Label1 = nullptr;
    QPlainTextEdit* Text2 = nullptr;

    void centreOnScreen();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    // The artwork, drawn once for the window's size: the status line
    // changes many times over it while the program starts.
    QPixmap m_artwork;
};
