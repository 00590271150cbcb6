#include "face/GsubFeatures.h"

#include <hb-ot.h>

#include <iterator>

namespace {

// Calls take(tag) for each feature of the table until it returns true.
template <typename Take>
bool walkFeatures(hb_face_t* face, hb_tag_t table, Take take)
{
    hb_tag_t tags[64];
    unsigned start = 0;
    for (;;) {
        unsigned count = std::size(tags);
        const unsigned total = hb_ot_layout_table_get_feature_tags(face, table, start, &count, tags);
        for (unsigned i = 0; i < count; ++i) {
            if (take(tags[i]))
                return true;
        }
        start += count;
        if (count == 0 || start >= total)
            return false;
    }
}

} // namespace

bool GsubHasFeature(hb_face_t* face, hb_tag_t feature)
{
    return walkFeatures(face, HB_OT_TAG_GSUB, [feature](hb_tag_t tag) { return tag == feature; });
}

std::set<hb_tag_t> LayoutFeatureTags(hb_face_t* face)
{
    std::set<hb_tag_t> tags;
    for (const hb_tag_t table : {HB_OT_TAG_GSUB, HB_OT_TAG_GPOS})
        walkFeatures(face, table, [&tags](hb_tag_t tag) {
            tags.insert(tag);
            return false;
        });
    return tags;
}
