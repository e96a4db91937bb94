// Uncompressed 24-bit Windows bitmaps, as the sprite sheet is stored, read
// without any image library.
#pragma once

#include <cstddef>
#include <cstdint>

class CSurface;

// Copies the bitmap held in data[0..size) pixel for pixel to (0, 0) of the
// surface, as far as it fits. False, with the surface unchanged, for anything
// but a whole 24-bit uncompressed bitmap.
bool QvLoadBitmap(const uint8_t* data, size_t size, CSurface& surface);
