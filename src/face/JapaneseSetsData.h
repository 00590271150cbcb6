#pragma once

#include <cstddef>

// The tables made at build time from Debian's data; read through JapaneseSets.h.
namespace japanese_data {

struct JisEntry {
    char32_t character;
    unsigned char plane; // 1: JIS X 0208 or JIS X 0213 plane 1; 2: plane 2
    unsigned char row;
    unsigned char cell;
};

struct BlockEntry {
    char32_t first;
    char32_t last;
    const char* name;
};

#define GLYFARO_SET(name)                                                                                         \
    extern const char32_t name[];                                                                                  \
    extern const std::size_t name##Size;
GLYFARO_SET(Kana)
GLYFARO_SET(HalfWidthKana)
GLYFARO_SET(Jis0208NonKanji)
GLYFARO_SET(Jis0208Level1)
GLYFARO_SET(Jis0208Level2)
GLYFARO_SET(Jis0213Level3)
GLYFARO_SET(Jis0213Level4)
GLYFARO_SET(Joyo)
GLYFARO_SET(Jinmeiyo)
GLYFARO_SET(Jis0213NonKanji)
#undef GLYFARO_SET

extern const JisEntry JisPositions[];
extern const std::size_t JisPositionsSize;
extern const BlockEntry Blocks[];
extern const std::size_t BlocksSize;

} // namespace japanese_data
