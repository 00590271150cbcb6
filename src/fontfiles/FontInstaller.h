#pragma once

#include "fontfiles/FontFileScan.h"
#include "fontfiles/FontPlaces.h"

#include <QList>
#include <QString>

// Where a font file stands on this machine, and putting it into or taking
// it out of the user's font folder. Nothing here asks the user anything:
// each step returns what happened, and the window or the tool says it.

// One installed file of the same family, beside the file looked at.
struct InstalledCopy {
    QString path;
    QString version;
    qint64 size = 0;
};

struct FileStanding {
    enum class State {
        SameFile,      // these bytes are installed
        OtherFile,     // another file of the same family is installed
        NotInstalled,
    };
    State state = State::NotInstalled;
    // The installed copy of the same bytes, or every other file of the
    // family; one entry per file.
    QList<InstalledCopy> installed;
};

// The file against the faces installed now (platform::InstalledFacesNow()).
FileStanding StandingOf(const FontFileScan& file, const QList<platform::FontFace>& installedFaces);

// What the state reads as in a window or a terminal.
QString StandingText(FileStanding::State state);

// Whether two files hold the same bytes.
bool SameBytes(const QString& one, const QString& other);

struct InstallResult {
    enum class Outcome { Installed, AlreadyInstalled, Failed };
    Outcome outcome = Outcome::Failed;
    QString path;  // the copy made, or the copy of the same bytes found
    QString error; // why it failed
};

// Copies a font file into the user's font folder and has fontconfig read
// that folder anew. The copy never overwrites: a file of the same name with
// other bytes stays, and the new one gets a name of its own. It is written
// under a temporary name in the folder and renamed only once complete, so a
// full disk leaves no half file. A file whose bytes the folder or the
// installed faces already hold installs nothing.
InstallResult InstallFontFile(const FontFileScan& file, const FontPlaces& places,
                              const QList<platform::FontFace>& installedFaces);

struct RemoveResult {
    bool removed = false;
    QString error;
};

// Moves a font file of the user's font folder to the desktop's trash, from
// where the file manager can put it back, and has fontconfig read the folder
// anew. A file outside that folder is refused: the system's fonts are the
// administrator's.
RemoveResult RemoveFontFile(const QString& path, const FontPlaces& places);

// The installed files that carry the family name, exactly as written, in
// any of their names; one per file.
QStringList FilesOfFamily(const QString& family, const QList<platform::FontFace>& installedFaces);

// The box text after a change, for the lists built at start.
QString NextStartNotice();
