#pragma once

#include "fontfiles/FontPlaces.h"

#include <QList>
#include <QString>
#include <QStringList>

// Fonts switched off for every program of this user, system fonts too: a
// fontconfig file of our own in the user's conf.d, one rejected file each.
// Only that file is ever written, always whole and atomically; a file of
// that name that this program did not write is left alone.

struct DisabledFont {
    QString path;   // the font file as fontconfig lists it
    QString family; // the name it was switched off under, for the list
};

struct DisabledFonts {
    QList<DisabledFont> fonts;
    QString error; // the file could not be read, or is not ours
};

// The file's path in the user's configuration.
QString DisabledFontsFile(const FontPlaces& places);

// What is switched off now; none when the file does not exist.
DisabledFonts ReadDisabledFonts(const FontPlaces& places);

struct SwitchResult {
    int changed = 0; // fonts switched off or on by this call
    QString error;
};

// Switches the fonts off; those already off are left as they are.
SwitchResult DisableFonts(const QList<DisabledFont>& fonts, const FontPlaces& places);
// Switches the files on again; those not off are left as they are.
SwitchResult EnableFonts(const QStringList& paths, const FontPlaces& places);

// The file's contents for a list of fonts, as fontconfig reads it.
QByteArray DisabledFontsDocument(const QList<DisabledFont>& fonts);
