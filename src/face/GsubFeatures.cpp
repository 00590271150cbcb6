#include "face/GsubFeatures.h"

#include <hb-ot.h>

#include <iterator>

bool GsubHasFeature(hb_face_t* face, hb_tag_t feature)
{
    hb_tag_t tags[64];
    unsigned start = 0;
    for (;;) {
        unsigned count = std::size(tags);
        const unsigned total = hb_ot_layout_table_get_feature_tags(face, HB_OT_TAG_GSUB, start, &count, tags);
        for (unsigned i = 0; i < count; ++i) {
            if (tags[i] == feature)
                return true;
        }
        start += count;
        if (count == 0 || start >= total)
            return false;
    }
}
