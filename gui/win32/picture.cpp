#include "gui/win32/picture.h"

namespace tw::gui {

std::span<const std::uint8_t> PictureResource(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const auto* bytes = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes) return {};
    return {bytes, SizeofResource(module, found)};
}

std::optional<BgrImage> LoadPictureResource(int id) {
    const auto bytes = PictureResource(id);
    if (bytes.empty()) return std::nullopt;
    return DecodeJpeg(bytes);
}

const BgrImage* LazyPicture::Get() {
    if (!decoded_) {
        image_ = LoadPictureResource(id_);
        decoded_ = true;
    }
    return image_ ? &*image_ : nullptr;
}

void PaintPicture(HDC dc, const BgrImage& picture, const RECT& area) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // rows run top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);  // HALFTONE asks for it
    StretchDIBits(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, 0, 0, picture.width,
                  picture.height, picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

}  // namespace tw::gui
