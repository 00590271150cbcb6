#pragma once

#include "face/VerticalLayout.h"

#include <QRawFont>
#include <QWidget>

// A sample of text set vertically in one face of a font file, drawn with
// that face's own glyphs only. Beside it stands a note when the face has no
// vertical forms; a file that cannot be read shows its error instead.
class VerticalSample : public QWidget {
    Q_OBJECT

public:
    explicit VerticalSample(QWidget* parent = nullptr);

    void setSample(const QString& fontPath, int faceIndex, const QString& text, qreal pixelSize);

    const VerticalRun& run() const { return m_run; }
    // The note or error shown beside the sample; empty when there is none.
    QString message() const { return m_message; }
    // Where the note or error is drawn; empty when there is none.
    QRect messageRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString m_fontPath;
    int m_faceIndex = -1;
    qreal m_pixelSize = 0;
    QRawFont m_rawFont;
    VerticalRun m_run;
    QRectF m_sampleRect;          // the columns and every glyph's ink, in the run's coordinates
    QList<QRectF> m_missingBoxes; // boxes for blank missing-glyphs, likewise
    QString m_message;
};
