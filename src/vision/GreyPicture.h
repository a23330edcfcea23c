#pragma once

#include <cstdint>

// An 8-bit grey picture as the finder reads it: `height` rows of `width` bytes, each row
// starting `stride` bytes after the one above (stride >= width), 0 black .. 255 white. The
// bytes belong to the caller and must stay alive while a call uses the picture; nothing here
// copies or frees them. Example: a 640 x 360 QImage in Format_Grayscale8 is
// {640, 360, image.bytesPerLine(), image.constBits()}.
struct GreyPicture {
    int width = 0;
    int height = 0;
    int stride = 0;
    const std::uint8_t* bytes = nullptr;

    bool isValid() const { return width > 0 && height > 0 && stride >= width && bytes; }
    // The byte at column x, row y; both must lie inside the picture.
    int at(int x, int y) const { return bytes[static_cast<long>(y) * stride + x]; }
};
