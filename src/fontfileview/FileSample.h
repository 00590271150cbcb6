#pragma once

#include <QColor>
#include <QRawFont>
#include <QString>
#include <QWidget>

// Sample text drawn in one face of a font file with the face's own glyphs,
// never with an installed font of the same name: lines as typed, at a size
// in points, in a colour, slanted and emboldened on request as the system
// draws a face that has no italic or bold of its own. A character the face
// lacks shows as its missing glyph; a variation selector picks the variant
// the face maps, never a glyph of its own.
class FileSample : public QWidget {
    Q_OBJECT

public:
    explicit FileSample(QWidget* parent = nullptr);

    void setFace(const QString& path, int index);
    void setText(const QString& text);
    void setPointSize(int points);
    void setBold(bool on);
    void setItalic(bool on);
    void setColor(const QColor& color);

    // Whether the face could be read; the reason is drawn instead otherwise.
    bool readable() const;
    // How many of the text's characters the face has no glyph for.
    int missingCharacters() const;
    // How many variation sequences of the text the face does not map; each
    // is drawn as its base character in a box.
    int unmappedSequences() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void relayout();

    QString m_path;
    int m_index = 0;
    QString m_text;
    int m_points = 36;
    bool m_bold = false;
    bool m_italic = false;
    QColor m_color = Qt::black;
    QRawFont m_face;
    QString m_loadedPath;
    int m_loadedIndex = -1;
    struct Layout;
    std::shared_ptr<Layout> m_layout;
};
