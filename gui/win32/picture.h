// The windows' decorative JPEG pictures: read from the program's resources,
// decoded with libjpeg, and painted into a rectangle.
#pragma once
#include <optional>
#include <span>

#include "app/jpeg_decoder.h"
#include "gui/win32/win_headers.h"

namespace tw::gui {

// The bytes of the RCDATA resource `id` built into the program; empty if it
// is missing.
std::span<const std::uint8_t> PictureResource(int id);

// The RCDATA picture `id` built into the program, decoded; none if it is
// missing or cannot be read.
std::optional<BgrImage> LoadPictureResource(int id);

// A window's picture, decoded the first time it is painted: a window that is
// never shown never pays for it. Its size comes from the header at once, for
// laying the window out.
class LazyPicture {
public:
    explicit LazyPicture(int id) : id_(id) {}
    // None if the picture is missing or its header can't be read.
    std::optional<PictureSize> Size() const { return JpegSize(PictureResource(id_)); }
    // Decodes at the first call; null when the picture can't be read.
    const BgrImage* Get();

private:
    int id_;
    bool decoded_ = false;
    std::optional<BgrImage> image_;
};

// Paints the picture stretched to `area`, smoothed.
void PaintPicture(HDC dc, const BgrImage& picture, const RECT& area);

}  // namespace tw::gui
