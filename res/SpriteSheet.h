// Bitmap 131, the sprite sheet, as the bytes of res/sprites.bmp.
#pragma once

#include <cstddef>

extern const unsigned char kQvSpriteSheet[];
extern const size_t kQvSpriteSheetSize;
