#pragma once

#include <QLabel>

// A label that holds a file path and shows as much of it as its width
// allows: the folder part is shortened in the middle so that the file's own
// name is always seen whole. text() stays the whole path.
class PathLabel : public QLabel {
    Q_OBJECT

public:
    explicit PathLabel(QWidget* parent = nullptr);

    // The text as it is drawn at the label's present width and font.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
