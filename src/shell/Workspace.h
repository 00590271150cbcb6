#pragma once

#include <QMdiArea>
#include <QPixmap>

// The main window's client area: the application-workspace colour with the
// product artwork in its lower right corner.
class Workspace : public QMdiArea {
    Q_OBJECT

public:
    explicit Workspace(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap artwork(qreal devicePixelRatio);

    QPixmap m_artwork;
};
