#include "platform/InstalledFonts.h"

#include <malloc.h>

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>

#include <fontconfig/fontconfig.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {

namespace {

// Held from the moment the drawing code has a configuration of its own.
FcConfig* g_installed = nullptr;
FontFilesNeeded g_filesNeeded = nullptr;

} // namespace

FcConfig* installedFontsConfig()
{
    if (g_installed)
        return g_installed;
    // Until then it is simply the current one (which a test may let go of).
    FcInit();
    return FcConfigGetCurrent();
}

void keepInstalledFontsConfig(FcConfig* config)
{
    g_installed = config;
}

void onFontFilesNeeded(FontFilesNeeded step)
{
    g_filesNeeded = step;
}

void fontFilesNeeded(const QStringList& files)
{
    if (g_filesNeeded)
        g_filesNeeded(files);
}

namespace {

// fontconfig names its caches <32 hex digits>-<arch>.cache-<version>.
// Checked by hand: a regular expression would load its library at start-up.
bool isFontconfigCache(QByteArrayView path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArrayView name = path.sliced(slash + 1);
    const qsizetype dot = name.lastIndexOf(".cache-");
    if (name.size() < 34 || name.at(32) != '-' || dot < 34 || dot + 7 == name.size())
        return false;
    const auto all = [](QByteArrayView part, auto test) { return std::all_of(part.begin(), part.end(), test); };
    const auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
    const auto arch = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return all(name.first(32), hex) && all(name.sliced(33, dot - 33), arch) && all(name.sliced(dot + 7), digit);
}

// A font file FreeType reads through a mapping.
bool isFontFile(QByteArrayView path)
{
    for (const char* suffix : {".ttf", ".otf", ".ttc", ".otc"}) {
        if (path.size() > 4 && qstrnicmp(path.data() + path.size() - 4, suffix, 4) == 0)
            return true;
    }
    return false;
}

} // namespace

std::vector<MappedPages> fontMappings(MappedFiles files)
{
    std::vector<MappedPages> found;
    // One read: the file is made as it is read, a line per mapping.
    const int fd = ::open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return found;
    QByteArray text(256 * 1024, Qt::Uninitialized);
    qsizetype size = 0;
    for (;;) {
        if (size == text.size())
            text.resize(text.size() * 2);
        const ssize_t got = ::read(fd, text.data() + size, size_t(text.size() - size));
        if (got <= 0)
            break;
        size += got;
    }
    ::close(fd);
    // address perms offset device inode path; the path may hold blanks.
    QByteArrayView rest(text.constData(), size);
    while (!rest.isEmpty()) {
        qsizetype lineEnd = rest.indexOf('\n');
        if (lineEnd < 0)
            lineEnd = rest.size();
        const QByteArrayView line = rest.first(lineEnd);
        rest = rest.sliced(std::min(lineEnd + 1, rest.size()));
        const qsizetype dash = line.indexOf('-');
        const qsizetype space = line.indexOf(' ');
        const qsizetype pathStart = line.indexOf('/');
        // Read-only mappings only: their pages come back from the file.
        if (dash <= 0 || space <= dash || pathStart < 0 || line.size() < space + 3 || line.at(space + 1) != 'r'
            || line.at(space + 2) != '-')
            continue;
        const QByteArrayView path = line.sliced(pathStart);
        if (!isFontconfigCache(path) && (files == MappedFiles::CachesOnly || !isFontFile(path)))
            continue;
        bool okStart = false;
        bool okEnd = false;
        const quintptr begin = line.first(dash).toULongLong(&okStart, 16);
        const quintptr finish = line.sliced(dash + 1, space - dash - 1).toULongLong(&okEnd, 16);
        if (okStart && okEnd && finish > begin)
            found.push_back({begin, finish});
    }
    return found;
}

void releasePages(const std::vector<MappedPages>& mappings)
{
    for (const MappedPages& pages : mappings)
        madvise(reinterpret_cast<void*>(pages.start), pages.end - pages.start, MADV_DONTNEED);
}

void releaseMappedFontPages()
{
    releasePages(fontMappings(MappedFiles::CachesAndFonts));
}

void releaseFreeHeap()
{
    malloc_trim(0);
}

} // namespace platform
