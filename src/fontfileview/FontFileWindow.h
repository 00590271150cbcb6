#pragma once

#include "fontfiles/FontInstaller.h"

#include <QWidget>

#include <cstdint>

class FileSample;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace platform {
class Dialogs;
}

// The font-file window: a font file from outside, before or after it is
// installed. It draws the file's sample in its own glyphs, chooses among a
// collection's faces, says where the file stands on this machine, and
// installs, removes, switches off and on again.
class FontFileWindow : public QWidget {
    Q_OBJECT

public:
    // scan must be readable (ok()); the caller says why when it is not.
    FontFileWindow(FontFileScan scan, platform::Dialogs& dialogs, FontPlaces places, const QString& sampleText,
                   QWidget* parent = nullptr);

    const FontFileScan& scan() const { return m_scan; }
    // The face chosen, as fontconfig numbers it.
    int faceIndex() const;
    QString faceTitle() const;
    const FileStanding& standing() const { return m_standing; }
    // Reads anew where the file stands, and what may be done with it; the
    // window does so first just after it is shown.
    void refreshStanding();
    bool standingKnown() const { return m_standingKnown; }

    QComboBox* FaceList = nullptr;
    QLineEdit* SampleText = nullptr;
    QSpinBox* SizeBox = nullptr;
    QCheckBox* BoldCheck = nullptr;
    QCheckBox* ItalicCheck = nullptr;
    QPushButton* ColorButton = nullptr;
    FileSample* Sample = nullptr;
    QLabel* StandingLabel = nullptr;
    QTableWidget* Files = nullptr;
    QLabel* PackageLabel = nullptr;
    QPushButton* InstallButton = nullptr;
    QPushButton* RemoveButton = nullptr;
    QPushButton* SwitchButton = nullptr;
    QPushButton* DetailsButton = nullptr;
    QPushButton* CharacterMapButton = nullptr;
    QPushButton* TypesettingButton = nullptr;

signals:
    // The details window or the character map on the face chosen.
    void detailsRequested(const QString& title, const QString& path, int index);
    void characterMapRequested(const QString& title, const QString& path, int index);
    void typesettingRequested(const QString& title, const QString& path, int index);

private:
    void createControls();
    void showFace();
    void install();
    void remove();
    void switchOnOrOff();
    // The installed copy of these bytes, where there is one.
    QString installedCopy() const;
    // The switched-off files that hold this file's bytes.
    QStringList switchedOffCopies() const;
    void tell(const QString& text, int style);

    FontFileScan m_scan;
    platform::Dialogs& m_dialogs;
    FontPlaces m_places;
    FileStanding m_standing;
    std::uint32_t m_color = 0;
    bool m_standingKnown = false;
};
