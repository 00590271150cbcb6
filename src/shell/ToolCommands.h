#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

struct DetailedInventory;
class FileCommands;
class FindWindow;
struct FontCatalog;
class FontDetailsWindow;
class FontFileLookup;
class FontFileWindow;
struct FontSet;
class Form5;
class InventoryWindow;
class TypesettingWindow;
class QAbstractItemView;
class QMdiSubWindow;
class QWidget;
struct Settings;

namespace platform {
struct Platform;
}

// The Tools menu's windows and the font files: the find window, the
// details, the character map, the inventory report, the switched-off fonts
// and the font-file window, wired to one another. The frame keeps the menus
// and windows the program has always had, and hands the tools what they
// need of it.
class ToolCommands : public QObject {
    Q_OBJECT

public:
    struct Frame {
        platform::Platform& platform;
        const Settings& settings;
        const FontCatalog& catalog;
        // Made during start-up, so asked for when first needed.
        std::function<const FontFileLookup&()> lookup;
        std::function<FileCommands*()> fileCommands;
        // Adds a window to the frame, sized and placed; a kept one is hidden
        // rather than closed.
        std::function<QMdiSubWindow*(QWidget* window, bool kept)> place;
        std::function<void(QMdiSubWindow* window)> show;
        std::function<Form5*()> openView;
        // The font of the window in front, else the all-fonts list's.
        std::function<QString()> currentFontName;
        // Ends the program with a numbered message.
        std::function<void(int message)> fail;
        QWidget* dialogParent = nullptr;
    };

    explicit ToolCommands(Frame frame, QObject* parent = nullptr);
    ~ToolCommands() override;

    // The Tools menu: 0 the find window, 1 font details, 2 the character
    // map, 3 the inventory report, 4 the switched-off fonts, 5 the
    // typesetting sample.
    void run(int index);

    InventoryWindow* showInventory();
    void showFindWindow(const QString& text);
    FindWindow* findWindow() const { return m_findWindow; }
    FontDetailsWindow* showFontDetails(const QString& font, const QString& sampleText);
    void showCharacterMap(const QString& font, const QString& path = QString(), int index = 0);
    // The typesetting sample of a font's regular face (or of one face of a
    // file), set with text or a sample of Japanese.
    TypesettingWindow* showTypesetting(const QString& font, const QString& text);
    TypesettingWindow* showTypesettingOf(const QString& title, const QString& path, int index, const QString& text);
    FontFileWindow* openFontFile(const QString& path);
    // The File menu's detailed inventory of this computer, saved as JSON.
    void saveDetailedInventory();
    void openFontFileDialog();
    // The details and character map items on a list of fonts' context menu.
    void addFontMenu(QAbstractItemView* list);

private:
    FontDetailsWindow* wireDetails(FontDetailsWindow* details);
    // This computer's names and sizes; none when the Fonts key failed (the
    // program then ends).
    const FontSet* machineSet();
    // This computer read in detail; none when the user stopped the reading.
    std::optional<DetailedInventory> machineDetails();
    // The file and face a program asking for the family's regular style gets.
    std::pair<QString, int> regularFace(const QString& font) const;
    void printReport(const QStringList& lines, const QString& documentName);

    Frame m_frame;
    FindWindow* m_findWindow = nullptr;
    QMdiSubWindow* m_findWindowFrame = nullptr;
    // This computer's fonts with their sizes, made when the inventory first
    // asks and kept for the run.
    std::unique_ptr<FontSet> m_machineSet;
    // And read in detail, made when a detailed inventory is first compared
    // with this computer.
    std::unique_ptr<DetailedInventory> m_machineDetails;
};
