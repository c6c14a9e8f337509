// The windows' decorative JPEG pictures: read from the program's resources,
// decoded with libjpeg, and painted into a rectangle.
#pragma once
#include <optional>

#include "app/jpeg_decoder.h"
#include "gui/win32/win_headers.h"

namespace tw::gui {

// The RCDATA picture `id` built into the program, decoded; none if it is
// missing or cannot be read.
std::optional<BgrImage> LoadPictureResource(int id);

// Paints the picture stretched to `area`, smoothed.
void PaintPicture(HDC dc, const BgrImage& picture, const RECT& area);

}  // namespace tw::gui
