#pragma once

#include <QStringList>
#include <QtGlobal>

#include <vector>

typedef struct _FcConfig FcConfig;

namespace platform {

// The configuration that lists every installed font: the one in use when the
// program started (FONTCONFIG_FILE's, if set). The catalogue and the design
// faces are read from it.
FcConfig* installedFontsConfig();
// Keeps that configuration for the rest of the run, once the drawing code
// makes a narrower one current (held by the caller).
void keepInstalledFontsConfig(FcConfig* config);

// A font about to be drawn needs its files known to whatever draws; a
// program that draws names the step, one without a display has none.
using FontFilesNeeded = void (*)(const QStringList& files);
void onFontFilesNeeded(FontFilesNeeded step);
void fontFilesNeeded(const QStringList& files);

// Lets go of the resident pages of fontconfig's cache files and of the font
// files that drawing has read. They stay mapped, and what is read again comes
// back from the file (from the system's page cache, as a rule). Every read of
// a mapped file makes the kernel map the 64 KB around it, so a face that has
// drawn a few hundred glyphs holds megabytes it will not read again; the
// catalogue reads each cache entry once.
void releaseMappedFontPages();

// Hands the heap's free pages back to the system. The listing and the
// catalogue leave megabytes of small freed blocks between the ones that stay,
// which the allocator keeps resident unless told.
void releaseFreeHeap();

// The same in two steps, for a listing that lets go of a cache's pages as it
// reads on: the read-only mappings found now, then their pages let go. The
// ranges are only sound while their files are known to stay mapped.
struct MappedPages {
    quintptr start;
    quintptr end;
};
enum class MappedFiles { CachesOnly, CachesAndFonts };
std::vector<MappedPages> fontMappings(MappedFiles files);
void releasePages(const std::vector<MappedPages>& mappings);

} // namespace platform
