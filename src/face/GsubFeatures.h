#pragma once

#include <hb.h>

// Whether a face's GSUB feature list holds the feature, whichever scripts
// use it.
bool GsubHasFeature(hb_face_t* face, hb_tag_t feature);
