// Decodes the windows' decorative JPEG pictures into top-down 24-bit BGR rows,
// the layout a Windows DIB section takes.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tw {

struct BgrImage {
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes per row, a multiple of 4
    std::vector<std::uint8_t> pixels;
};

// Null with `error` set when the data is not a JPEG picture libjpeg can read.
std::optional<BgrImage> DecodeJpeg(std::span<const std::uint8_t> data, std::string* error = nullptr);

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The size DecodeJpeg's picture will have, read from the header alone, so a
// window can be laid out before its picture is decoded. Null with `error` set
// when the header can't be read or names a size DecodeJpeg refuses.
std::optional<PictureSize> JpegSize(std::span<const std::uint8_t> data, std::string* error = nullptr);

}  // namespace tw
