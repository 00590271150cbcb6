#pragma once

#include <QLabel>
#include <QPlainTextEdit>

// The controls that show a sample in a font. Both draw what the font draws
// and mark the characters it lacks where its own missing-glyph is blank.

// A one-font sample label, drawn from its top-left corner.
class SampleLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The individual view's editable sample text.
class SampleTextEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void paintEvent(QPaintEvent* event) override;
};
