#pragma once

#include "face/GlyphForms.h"

#include <QByteArrayView>
#include <QString>
#include <vector>

// One face of a font file, read with FreeType: what the details window, the
// coverage report and the character map show of it. A file that cannot be
// read gives an error text and nothing else, never a crash.

// How the font lets a document carry it (the OS/2 table's fsType).
enum class EmbeddingPermission {
    Installable,   // 0: may be installed with the document
    Restricted,    // bit 1: embedding forbidden
    PreviewPrint,  // bit 2: print and preview only
    Editable,      // bit 3: editable embedding
    Unknown,       // no OS/2 table
};

struct FaceDetails {
    QString path;
    int index = 0;
    QString family;
    QString style;
    QString format;          // "TrueType", "CFF (OpenType)", "ビットマップ", "Type 1", ...
    bool variable = false;
    QString version;
    QString postScriptName;
    QString vendor;          // the OS/2 table's vendor code, else the foundry
    QString designer;
    QString copyright;
    long glyphCount = 0;
    EmbeddingPermission embedding = EmbeddingPermission::Unknown;
    bool noSubsetting = false; // fsType bit 8
    bool bitmapOnly = false;   // fsType bit 9
    bool verticalForms = false;   // a vert or vrt2 feature
    bool verticalMetrics = false; // vhea and vmtx tables
    GlyphForms forms;             // glyph-form switches and variation sequences
    QString error;                // set when the file could not be read
};

FaceDetails ReadFaceDetails(const QString& path, int index);

// The same read from a file's bytes already in memory, so that a file read
// once (to hash it, say) is not read again; path only names it. The
// characters come along, for coverage.
FaceDetails ReadFaceDetailsFromData(QByteArrayView data, const QString& path, int index,
                                    std::vector<char32_t>* characters = nullptr);
// How many faces the bytes hold: 1 for a lone font, 0 for none.
int FaceCountOfData(QByteArrayView data);

// The face's version string alone, for lists of files side by side; empty
// when the file cannot be read.
QString ReadFaceVersion(const QString& path, int index);

// The permission as a print shop reads it.
QString EmbeddingText(EmbeddingPermission permission);

// Every character the face's Unicode character map holds, in code point
// order. Empty, with error set, when the file cannot be read.
std::vector<char32_t> CharactersOfFace(const QString& path, int index, QString* error = nullptr);
