#pragma once

#include <hb.h>

#include <memory>
#include <set>

// What the face model's HarfBuzz readers share.

using BlobHandle = std::unique_ptr<hb_blob_t, decltype(&hb_blob_destroy)>;
using FaceHandle = std::unique_ptr<hb_face_t, decltype(&hb_face_destroy)>;
using FontHandle = std::unique_ptr<hb_font_t, decltype(&hb_font_destroy)>;
using BufferHandle = std::unique_ptr<hb_buffer_t, decltype(&hb_buffer_destroy)>;

// Whether a face's GSUB feature list holds the feature, whichever scripts
// use it.
bool GsubHasFeature(hb_face_t* face, hb_tag_t feature);

// Every feature tag of the face's GSUB and GPOS tables, whichever scripts
// use them.
std::set<hb_tag_t> LayoutFeatureTags(hb_face_t* face);
