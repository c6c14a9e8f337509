// The about box's picture decodes to the pixels it was drawn with, and data
// that is not a JPEG picture is refused with a message instead of a crash.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/jpeg_decoder.h"

namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> AboutPicture() { return ReadBytes(std::string(TW_RESOURCES_DIR) + "/about.jpg"); }

// Blue, green, red of one pixel; JPEG is lossy, so callers allow a margin.
std::array<int, 3> At(const tw::BgrImage& image, int x, int y) {
    const std::uint8_t* p = image.pixels.data() + static_cast<size_t>(y) * image.stride + x * 3;
    return {p[0], p[1], p[2]};
}

void ExpectNear(std::array<int, 3> bgr, std::array<int, 3> rgbWanted, int margin, const char* what) {
    EXPECT_NEAR(bgr[2], rgbWanted[0], margin) << what;
    EXPECT_NEAR(bgr[1], rgbWanted[1], margin) << what;
    EXPECT_NEAR(bgr[0], rgbWanted[2], margin) << what;
}

TEST(Picture, AboutPictureDecodesToWhatWasDrawn) {
    std::string error;
    auto image = tw::DecodeJpeg(AboutPicture(), &error);
    ASSERT_TRUE(image.has_value()) << error;
    EXPECT_EQ(image->width, 320);
    EXPECT_EQ(image->height, 120);
    EXPECT_EQ(image->stride, 960);
    EXPECT_EQ(image->pixels.size(), 960u * 120u);
    ExpectNear(At(*image, 70, 60), {24, 30, 44}, 12, "spindle hole");
    ExpectNear(At(*image, 2, 2), {16, 32, 72}, 12, "left of the gradient");
    ExpectNear(At(*image, 317, 117), {26, 92, 122}, 12, "right of the gradient");
}

TEST(Picture, RowsArePaddedToFourBytes) {
    // A 3x2 picture: 9 bytes of pixels per row, padded to 12 with zeros.
    auto image = tw::DecodeJpeg(ReadBytes(std::string(TW_TESTDATA_DIR) + "/tiny-3x2.jpg"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->stride, 12);
    ASSERT_EQ(image->pixels.size(), 24u);
    for (int y = 0; y < 2; ++y) {
        for (int pad = 9; pad < 12; ++pad) EXPECT_EQ(image->pixels[static_cast<size_t>(y) * 12 + pad], 0);
    }
}

TEST(Picture, DataThatIsNoPictureIsRefused) {
    const std::vector<std::uint8_t> notJpeg{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0};
    const std::vector<std::uint8_t> empty;
    auto truncated = AboutPicture();
    truncated.resize(20);  // the start-of-image marker and part of a header
    const std::vector<const std::vector<std::uint8_t>*> inputs{&notJpeg, &empty, &truncated};
    for (const auto* data : inputs) {
        std::string error;
        EXPECT_FALSE(tw::DecodeJpeg(*data, &error).has_value());
        EXPECT_FALSE(error.empty());
        error.clear();
        EXPECT_FALSE(tw::JpegSize(*data, &error).has_value());
        EXPECT_FALSE(error.empty());
    }
}

TEST(Picture, SizeFromTheHeaderIsTheDecodedSize) {
    for (const std::string& path :
         {std::string(TW_RESOURCES_DIR) + "/about.jpg", std::string(TW_RESOURCES_DIR) + "/optical.jpg",
          std::string(TW_TESTDATA_DIR) + "/tiny-3x2.jpg"}) {
        const auto bytes = ReadBytes(path);
        const auto size = tw::JpegSize(bytes);
        const auto image = tw::DecodeJpeg(bytes);
        ASSERT_TRUE(size && image) << path;
        EXPECT_EQ(size->width, image->width) << path;
        EXPECT_EQ(size->height, image->height) << path;
    }
}

TEST(Picture, ACorruptedBodyNeverCrashes) {
    auto picture = AboutPicture();
    std::srand(7);
    for (int round = 0; round < 50; ++round) {
        auto damaged = picture;
        for (int i = 0; i < 40; ++i) damaged[20 + std::rand() % (damaged.size() - 20)] ^= std::rand() & 0xFF;
        auto image = tw::DecodeJpeg(damaged);
        if (image) {
            EXPECT_EQ(image->pixels.size(), static_cast<size_t>(image->stride) * image->height);
        }
    }
}

}  // namespace
