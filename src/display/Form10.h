#pragma once

#include "core/Settings.h"
#include "display/DrawingFamily.h"
#include "display/PreviewPaging.h"

#include <QFont>
#include <QStringList>
#include <QWidget>
#include <array>

class QLabel;
class QScrollBar;

// The preview window: all fonts seven to a page, each with its name as a
// heading and a line of sample text drawn in the font itself.
class Form10 : public QWidget {
    Q_OBJECT

public:
    // headingFace is the family for the headings (the design face or its
    // installed counterpart; empty for the program's own face). frame is the
    // main window, which takes no input while the window loads.
    Form10(const QStringList& fontNames, const Settings& settings, const QString& headingFace,
           QWidget* frame, DrawingFamily drawing = {}, QWidget* parent = nullptr);

    // The client size the window is designed for.
    static QSize designClientSizePixels();

    // Draws the page the scroll bar shows. Scroll-bar movements reach it
    // coalesced: however many arrive while a page is drawn, only the latest
    // page is drawn next.
    void VScroll1_Change();
    // A double-click on slot index of either label array.
    void Label_DblClick(int index);

    // The preferences changed the preview text: every shown slot takes the
    // custom text, or its font's name again.
    void applyPreviewText();
    // Switches antialiasing of the samples.
    void setSmoothing(bool on);
    // Whether a page turn is waiting to be drawn.
    bool pageTurnPending() const { return m_turnPending; }

    QScrollBar* VScroll1 = nullptr;
    QWidget* Picture1 = nullptr;
    std::array<QLabel*, 7> Label1{};
    std::array<QLabel*, 7> Label2{};
    QLabel* Label3 = nullptr;

signals:
    // A new individual view is wanted on the font at this position.
    void openViewAt(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void placeControls();
    void Form_Load();
    void connectHandlers();
    void fillSlot(int slot, int position, const QString& family);
    void clearSlot(int slot);
    void placeSample(int slot);
    void drawPage(int page);
    void scheduleTurn();
    bool turnByWheel(QWheelEvent* event);

    const QStringList m_fontNames;
    const Settings& m_settings;
    QWidget* m_frame;
    DrawingFamily m_drawing;
    QFont m_sampleFont;
    PreviewLineMetrics m_headingLine;
    int m_maximum = 0;
    int m_wheelRemainder = 0;
    bool m_turnPending = false;
};
