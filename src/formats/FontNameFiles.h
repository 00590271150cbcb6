#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class FontFileLookup;

// The two files made from the installed fonts: the comma-separated list and
// the comparison file. The viewer's File menu and the command-line tool both
// write them through here, so the bytes are the same.
enum class FontNameFileKind { Csv, Comparison };

struct FontNameFileContent {
    QByteArray bytes;
    // Names (or rows) code page 932 could not hold whole.
    int substituted = 0;
    // The numbered message that ends the program when the Fonts key failed;
    // then there are no bytes.
    int fatalMessage = -1;
};

// What the user is told when names had to be written with substitutes;
// lines are separated by CR CR, as in the program's boxes.
QString SubstitutedNamesNotice(int substituted);

// Each font's file is looked up in names' order; progress(k) runs before
// font k is looked up.
FontNameFileContent MakeFontNameFile(FontNameFileKind kind, const QStringList& names, const FontFileLookup& lookup,
                                     const std::function<void(qsizetype)>& progress = {});

// A comparison file read whole for comparing: names and sizes in file order.
struct FontSetFile {
    enum class Status {
        Read,
        Unreadable, // reason says why: missing, a folder, no permission
        NotComparisonFile,
        Damaged,    // nothing is kept
        Cut,        // the complete records before the cut are kept
    };
    Status status = Status::Read;
    QString reason;
    QStringList names;
    QList<qint64> sizes;
};
FontSetFile ReadFontSetFile(const QString& path);

// Whether a file handed to the viewer is a comparison file rather than a
// font file: named *.gfc, or starting with the comparison file's mark.
bool IsComparisonFile(const QString& path);
