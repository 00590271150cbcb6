#pragma once

#include <QString>

// Where this user's fonts live: the font folder fontconfig reads for the
// user, and the folder of the user's fontconfig settings whose files every
// program of the user reads.
struct FontPlaces {
    QString fontsFolder;  // ${XDG_DATA_HOME:-~/.local/share}/fonts
    QString configFolder; // ${XDG_CONFIG_HOME:-~/.config}/fontconfig/conf.d
};

FontPlaces UserFontPlaces();

// Whether path lies inside folder, links resolved; a folder that does not
// exist holds nothing.
bool LiesInside(const QString& path, const QString& folder);

// Has fontconfig read the folder anew and write its cache, so that every
// program started from now on lists what it holds without a rescan of its
// own. Only that folder is read; the system's caches are not rebuilt.
bool RefreshFontFolderCache(const QString& folder);

// The Debian package a font file came with, empty when none (or when the
// package database cannot be asked).
QString PackageOwning(const QString& path);
