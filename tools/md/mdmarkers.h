#pragma once

// What the md helper writes into a page for the viewer to act on: shared by both sides.
namespace mdconvert {

// What a page cut short starts with; the viewer puts its notice there.
constexpr const char* kCutMarker = "<!--vuel:cut-->\n";

// A page written in two parts starts with kFirstMarker, its first blocks and kThenMarker; what
// follows continues those blocks, or is kWholeMarker and the whole page, to be shown instead.
constexpr const char* kFirstMarker = "<!--vuel:first-->\n";
constexpr const char* kThenMarker = "<!--vuel:then-->\n";
constexpr const char* kWholeMarker = "<!--vuel:whole-->\n";

} // namespace mdconvert
