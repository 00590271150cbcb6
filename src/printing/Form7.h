#pragma once

#include "catalog/FontCatalog.h"
#include "core/Settings.h"
#include "platform/Platform.h"
#include "printing/PrintRecords.h"

#include <QDialog>
#include <array>
#include <memory>

class FontFileLookup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QFrame;

// The print dialog: the job, the printer, the copies and the index groups;
// while a job runs, a small panel with the page progress and an abort button.
class Form7 : public QDialog {
    Q_OBJECT

public:
    Form7(const FontCatalog& catalog, const FontFileLookup& lookup, Settings& settings,
          PrintRecords& records, platform::Platform& platform, QWidget* parent = nullptr);
    ~Form7() override;

    // The File menu's opening: the glyph job is not offered.
    void prepareForFileMenu();
    // The individual view's opening: only the glyph job, for
    // records.GlyphSampleFont, with printText as the sample line.
    void prepareForGlyphSample(const QString& printText);

    // Centres the dialog on the main window's frame, given in twips.
    void centreOn(const QRect& mainWindowTwips);

    void Option1_Click(int index);
    void Text1_KeyPress(QChar typed);
    void Text1_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    bool printing() const { return m_printing; }

    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 3> Option1{};
    std::array<QLabel*, 5> Label1{};
    QListWidget* List1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QFrame* Picture1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Command3 = nullptr;

    // The client size at design time and while printing, in twips.
    static constexpr int DesignWidth = 4650;
    static constexpr int DesignHeight = 5730;
    static constexpr int PrintingHeight = 2445;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void placeControls();
    void setToolTips();
    void fitCaptions();
    void connectHandlers();
    void Form_Load();

    bool glyphFontOnPrinter(int printer);
    void showPrintingPanel();
    void finish(int message);
    void warn(const QString& text);
    void applySampleFace();

    const FontCatalog& m_catalog;
    const FontFileLookup& m_lookup;
    Settings& m_settings;
    PrintRecords& m_records;
    platform::Platform& m_platform;
    std::unique_ptr<platform::PrinterDevice> m_job;
    bool m_resetPending = false;
    bool m_printing = false;
    bool m_showsSampleFace = false;
};
