#pragma once

#include "face/Typesetting.h"
#include "printing/ReportPrinting.h"

#include <QMap>
#include <QRawFont>
#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class TypesetView;

// "組版見本": Japanese text set by HarfBuzz in one face's own glyphs,
// horizontally or vertically, with a switch for each OpenType feature a
// typesetter uses. The face's own features can be switched; the rest are
// shown switched off and disabled, so that what the font lacks is seen.
// Under the sample, the first line at the glyph sheet's sizes.
class TypesettingWindow : public QWidget {
    Q_OBJECT

public:
    TypesettingWindow(const QString& fontName, const QString& path, int index, const QString& text,
                      QWidget* parent = nullptr);
    ~TypesettingWindow() override;

    QString fontName() const { return m_fontName; }
    // The tags switched on, of the face's own features.
    QSet<QByteArray> switchedOn() const;
    SettingDirection direction() const;
    // The text lines that copying and printing give: the font, its file,
    // how the sample is set, the switches on and the text.
    QStringList reportLines() const;
    // What printing gives: the lines, the sample and the waterfall at their
    // sizes in points, each figure no wider than widthPoints.
    QList<ReportItem> reportItems(double widthPoints) const;
    // Copies the lines and a picture of the sample.
    void copy();

    QPlainTextEdit* Text = nullptr;
    QComboBox* Direction = nullptr;
    QSpinBox* PointSize = nullptr;
    QPushButton* CopyButton = nullptr;
    QPushButton* PrintButton = nullptr;
    QLabel* Message = nullptr;
    TypesetView* View = nullptr;
    QScrollArea* ViewArea = nullptr;
    // One switch a feature, in the order of TypesettingFeatures().
    QList<QCheckBox*> Switches;

signals:
    void printRequested(const QList<ReportItem>& items);

private:
    void reset();
    // Enables the face's own switches that work in the chosen direction.
    void enableSwitches();

    QString m_fontName;
    QString m_path;
    int m_index = 0;
    std::unique_ptr<Typesetter> m_setter;
    QList<bool> m_own; // whether the face has each switch's feature
};

// The sample at its size and, under it, its first line at each of the glyph
// sheet's sizes, each labelled with its size.
class TypesetView : public QWidget {
    Q_OBJECT

public:
    TypesetView(const Typesetter& setter, QRawFont font, QWidget* parent = nullptr);

    // Sets text again; sizes are in points, drawn at the screen's resolution.
    void setSample(const QString& text, int pointSize, SettingDirection direction, const QSet<QByteArray>& on);

    const TypesetRun& sample() const { return m_sample; }
    // The waterfall, one run a size of GlyphSheetSizes.
    const QList<TypesetRun>& waterfall() const { return m_waterfall; }
    // Where each run's top-left corner is drawn.
    QRectF sampleRect() const { return m_sampleRect; }
    QRectF waterfallRect(int row) const { return m_waterfallRects.value(row); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawRun(QPainter& painter, const TypesetRun& run, qreal pixelSize, QPointF topLeft) const;

    const Typesetter& m_setter;
    QRawFont m_font;
    SettingDirection m_direction = SettingDirection::Horizontal;
    TypesetRun m_sample;
    qreal m_samplePixels = 0;
    QList<TypesetRun> m_waterfall;
    QList<qreal> m_waterfallPixels;
    QRectF m_sampleRect;
    QList<QRectF> m_waterfallRects;
    QSize m_size;
};
