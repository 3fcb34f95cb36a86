#pragma once

namespace platform {

class TBitmap;

// The pixel buffers that windows of the program leave behind (back buffers, and the headless backend's
// presented pictures), kept for the next window of the same size. A form shown anew then takes its
// buffers as they are instead of allocating fresh memory, which the first paint would otherwise fill
// and fault in page by page. At most kKeptSpares buffers are kept, the latest ones. Used on the
// application's thread only.
inline constexpr int kKeptSpares = 2;

// Gives the bitmap's pixels to the spares; the bitmap is left empty. An empty bitmap gives nothing.
void KeepSpareBuffer(TBitmap& bitmap);

// What a bitmap sized from a spare shows: white, as a bitmap that grows, or the spare's old pixels,
// for a caller that overwrites every one of them at once.
enum class TSparePixels { White, Stale };

// Sizes the bitmap, which must be empty, from a spare of exactly that size when there is one, else by
// SetSize (white).
void SizeFromSpares(TBitmap& bitmap, int width, int height, TSparePixels pixels);

}  // namespace platform
