#include "gui/win32/dialog_template.h"

#include <cstddef>

namespace tw::gui {

namespace {

constexpr std::uint32_t kSetFont = 0x40;  // DS_SETFONT (DS_SHELLFONT includes it)
constexpr std::size_t kHeaderFixed = 26;  // dlgVer .. cy
constexpr std::size_t kItemFixed = 24;    // helpID .. id
constexpr std::size_t kStyleAt = 12;      // after dlgVer, signature, helpID, exStyle
constexpr std::size_t kItemCountAt = 16;

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Has(std::size_t n) const { return at_ <= bytes_.size() && bytes_.size() - at_ >= n; }
    std::uint16_t Word(std::size_t offset) const {
        return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    std::uint32_t Dword(std::size_t offset) const {
        return static_cast<std::uint32_t>(Word(offset)) | (static_cast<std::uint32_t>(Word(offset + 2)) << 16);
    }
    std::size_t At() const { return at_; }
    void Skip(std::size_t n) { at_ += n; }
    void AlignDword() { at_ = (at_ + 3) & ~std::size_t{3}; }

    // A null-terminated UTF-16 string.
    std::optional<std::vector<wchar_t>> String() {
        std::vector<wchar_t> text;
        while (Has(2)) {
            const std::uint16_t c = Word(at_);
            at_ += 2;
            text.push_back(static_cast<wchar_t>(c));
            if (c == 0) return text;
        }
        return std::nullopt;
    }
    // sz_Or_Ord: 0 (none), 0xFFFF and an ordinal, or a string.
    std::optional<TemplateName> Name() {
        if (!Has(2)) return std::nullopt;
        TemplateName name;
        if (Word(at_) == 0xFFFF) {
            if (!Has(4)) return std::nullopt;
            name.ordinal = Word(at_ + 2);
            at_ += 4;
            return name;
        }
        auto text = String();
        if (!text) return std::nullopt;
        name.text = std::move(*text);
        return name;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

}  // namespace

std::uint32_t DialogTemplate::Style() const { return Reader(header).Dword(kStyleAt); }

void DialogTemplate::SetStyle(std::uint32_t style) {
    for (std::size_t i = 0; i < 4; ++i) header[kStyleAt + i] = static_cast<std::uint8_t>(style >> (8 * i));
}

std::optional<DialogTemplate> ReadDialogTemplate(std::span<const std::uint8_t> bytes) {
    Reader r(bytes);
    if (!r.Has(kHeaderFixed) || r.Word(0) != 1 || r.Word(2) != 0xFFFF) return std::nullopt;
    const std::uint32_t style = r.Dword(kStyleAt);
    const std::uint16_t count = r.Word(kItemCountAt);
    r.Skip(kHeaderFixed);
    if (!r.Name() || !r.Name() || !r.String()) return std::nullopt;  // menu, class, title
    if (style & kSetFont) {
        if (!r.Has(6)) return std::nullopt;  // point size, weight, italic, charset
        r.Skip(6);
        if (!r.String()) return std::nullopt;  // typeface
    }
    DialogTemplate result;
    result.header.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(r.At()));
    result.header[kItemCountAt] = 0;
    result.header[kItemCountAt + 1] = 0;

    for (std::uint16_t i = 0; i < count; ++i) {
        r.AlignDword();
        if (!r.Has(kItemFixed)) return std::nullopt;
        const std::size_t at = r.At();
        TemplateItem item;
        item.exStyle = r.Dword(at + 4);
        item.style = r.Dword(at + 8);
        item.x = static_cast<short>(r.Word(at + 12));
        item.y = static_cast<short>(r.Word(at + 14));
        item.cx = static_cast<short>(r.Word(at + 16));
        item.cy = static_cast<short>(r.Word(at + 18));
        item.id = r.Dword(at + 20);
        r.Skip(kItemFixed);
        auto className = r.Name();
        auto title = className ? r.Name() : std::nullopt;
        if (!title || !r.Has(2)) return std::nullopt;
        item.className = std::move(*className);
        item.title = std::move(*title);
        const std::uint16_t extra = r.Word(r.At());
        if (!r.Has(2 + std::size_t{extra})) return std::nullopt;
        if (extra > 0) {
            const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(r.At());
            item.creationData.assign(from, from + 2 + extra);
        }
        r.Skip(2 + std::size_t{extra});
        result.items.push_back(std::move(item));
    }
    return result;
}

}  // namespace tw::gui
