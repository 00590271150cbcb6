// Feeds arbitrary bytes, as a font file from outside, to what reads such a
// file first: the face listing that the font-file window and the tool's
// status and install begin with, then each face's details and characters,
// its glyph-form switches and its variation sequences. Nothing may crash, a
// file that lists no face must say why, a switched character must really
// switch, and no face has fewer sequences than characters with variants.
//
// Built by fuzz/build-fuzzers, and replayed on its corpus by the tests.

#include "face/FaceReader.h"
#include "face/GlyphForms.h"
#include "fontfiles/FontFileScan.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// One in-memory file for every input, named as the readers open paths.
int memoryFile()
{
    static const int fd = memfd_create("fuzz-font", 0);
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = memoryFile();
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size))
        std::abort();
    const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    const FontFileScan scan = ScanFontFile(path);
    if (!scan.ok() && scan.error.isEmpty())
        std::abort();
    // A collection may claim thousands of faces; a few show the reading.
    for (qsizetype i = 0; i < scan.faces.size() && i < 4; ++i) {
        const FaceDetails details = ReadFaceDetails(path, scan.faces.at(i).index);
        (void)CharactersOfFace(path, scan.faces.at(i).index);
        if (details.error.isEmpty() && details.glyphCount < 0)
            std::abort();
        // The glyph-form switches' lookups and the cmap format 14 subtable.
        const int index = scan.faces.at(i).index;
        for (const SwitchedCharacter& switched : CharactersSwitchedBy(path, index, "jp90"))
            if (switched.glyph == switched.switchedGlyph)
                std::abort();
        (void)CharactersSwitchedBy(path, index, "jp04");
        const std::vector<char32_t> bases = BasesWithVariants(path, index);
        if (details.error.isEmpty() && details.forms.sequences < int(bases.size()))
            std::abort();
        for (std::size_t b = 0; b < bases.size() && b < 8; ++b)
            (void)VariantsOf(path, index, bases[b]);
    }
    if (scan.faces.isEmpty())
        (void)ReadFaceDetails(path, 0);
    return 0;
}
