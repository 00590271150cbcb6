// Glyph forms and variation sequences of a 65,535-glyph CJK face (Noto Sans
// CJK JP): the switches and the sequence count the details window and
// `glyfaro2-fonts info` give, then the characters its jp90 switch draws
// another way, and the variants of one character, each timed from the file.
//
//   bench_glyphforms

#include "BenchFonts.h"
#include "face/FaceReader.h"
#include "face/GlyphForms.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace {

constexpr int Runs = 5;
const QString Noto = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");

template <typename Step>
double timed(Step step)
{
    std::vector<double> seconds;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        step();
        seconds.push_back(clock.nsecsElapsed() / 1e9);
    }
    return median(seconds);
}

} // namespace

int main()
{
    if (!QFile::exists(Noto))
        qFatal("%s is not installed", qPrintable(Noto));
    GlyphForms forms;
    const double read = timed([&forms] { forms = GlyphFormsOf(Noto, 0); });
    QList<SwitchedCharacter> switched;
    const double listed = timed([&switched] { switched = CharactersSwitchedBy(Noto, 0, "jp90"); });
    QList<Variant> variants;
    const double one = timed([&variants] { variants = VariantsOf(Noto, 0, U'葛'); });
    std::vector<char32_t> bases;
    const double marks = timed([&bases] { bases = BasesWithVariants(Noto, 0); });
    std::printf("Noto Sans CJK JP (%ld glyphs): switches and %d sequences %.2f ms (target 100 ms);"
                " the %lld characters jp90 switches %.2f ms; the %lld variants of 葛 %.2f ms;"
                " the %zu characters with variants %.2f ms\n",
                ReadFaceDetails(Noto, 0).glyphCount, forms.sequences, read * 1e3, qlonglong(switched.size()),
                listed * 1e3, qlonglong(variants.size()), one * 1e3, bases.size(), marks * 1e3);
    return 0;
}
