#include "app/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace tw {

namespace {

// libjpeg reports fatal errors through a callback that must not return.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void OnMessage(j_common_ptr) {}  // warnings are not shown

constexpr int kMaxSide = 8192;  // pictures are small; refuse absurd headers

}  // namespace

std::optional<BgrImage> DecodeJpeg(std::span<const std::uint8_t> data, std::string* error) {
    jpeg_decompress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = OnError;
    manager.base.output_message = OnMessage;
    // Everything the jump can skip is constructed before setjmp.
    BgrImage image;
    std::vector<JSAMPLE> row;
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&info);
        if (error) *error = manager.message;
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    if (data.empty()) {
        jpeg_destroy_decompress(&info);
        if (error) *error = "empty picture data";
        return std::nullopt;
    }
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    if (info.image_width > kMaxSide || info.image_height > kMaxSide) {
        jpeg_destroy_decompress(&info);
        if (error) *error = "picture too large";
        return std::nullopt;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.stride = (image.width * 3 + 3) & ~3;
    image.pixels.assign(static_cast<size_t>(image.stride) * image.height, 0);
    row.resize(static_cast<size_t>(image.width) * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row.data()};
        const int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, rows, 1);
        std::uint8_t* out = image.pixels.data() + static_cast<size_t>(y) * image.stride;
        for (int x = 0; x < image.width; ++x) {
            out[x * 3 + 0] = row[x * 3 + 2];
            out[x * 3 + 1] = row[x * 3 + 1];
            out[x * 3 + 2] = row[x * 3 + 0];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

std::optional<PictureSize> JpegSize(std::span<const std::uint8_t> data, std::string* error) {
    jpeg_decompress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = OnError;
    manager.base.output_message = OnMessage;
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&info);
        if (error) *error = manager.message;
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    if (data.empty()) {
        jpeg_destroy_decompress(&info);
        if (error) *error = "empty picture data";
        return std::nullopt;
    }
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    // The output size of a full-scale decode is the image size.
    const PictureSize size{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    jpeg_destroy_decompress(&info);
    if (size.width > kMaxSide || size.height > kMaxSide) {
        if (error) *error = "picture too large";
        return std::nullopt;
    }
    return size;
}

}  // namespace tw
