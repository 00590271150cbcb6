#pragma once

#include "face/Coverage.h"
#include "face/FaceReader.h"
#include "platform/FontList.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QVBoxLayout;
class VerticalSample;

// The details window: a font family's names, each face's file and tables,
// its Japanese coverage and a vertical sample.
class FontDetailsWindow : public QWidget {
    Q_OBJECT

public:
    FontDetailsWindow(const QString& fontName, platform::FontList& fonts, const QString& sampleText,
                      QWidget* parent = nullptr);
    // The faces of a font file that need not be installed, under the names
    // it carries; face is the place among faces shown first.
    FontDetailsWindow(const QString& title, QList<platform::FamilyName> names, QList<platform::FaceFile> faces,
                      int face, const QString& sampleText, QWidget* parent = nullptr);

    QString fontName() const { return m_fontName; }
    QSize sizeHint() const override;
    // Shows the face at this place among the family's faces.
    void showFace(int face);
    // Everything the window shows, as text.
    QString reportText() const;

    QComboBox* FaceList = nullptr;
    QLabel* Warning = nullptr;
    QPlainTextEdit* Details = nullptr;
    QTableWidget* Coverage = nullptr;
    QPlainTextEdit* Missing = nullptr;
    QPushButton* CharacterMapButton = nullptr;
    QPushButton* SwitchedButton = nullptr;
    QPushButton* PrintButton = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* CopyButton = nullptr;
    VerticalSample* Vertical = nullptr;

    const FaceDetails& details() const { return m_details; }
    const QList<SetCoverage>& coverage() const { return m_coverage; }

signals:
    void characterMapRequested(const QString& fontName, const QString& path, int index);
    // The characters the face's jp90/jp04 switch draws another way.
    void switchedGlyphsRequested(const QString& fontName, const QString& path, int index);
    // The coverage report to print, one A4 page.
    void printRequested(const QStringList& lines);
    // The coverage report to save as a comma-separated file.
    void saveRequested(const QString& fontName, const FaceDetails& details, const QList<SetCoverage>& coverage);

private:
    void createControls();
    void showMissing();
    QString namesText() const;

    QString m_fontName;
    QString m_sampleText;
    QList<platform::FamilyName> m_names;
    QList<platform::FaceFile> m_faces;
    FaceDetails m_details;
    QList<SetCoverage> m_coverage;
};
