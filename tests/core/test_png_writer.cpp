// libpng's own limits reach the user as plain messages, and libpng prints nothing itself.
#include "core/png_writer.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

namespace mosaiqua {
namespace {

TEST(PngWriter, PastOneMillionPixelsAcrossOrDownIsRefusedPlainly) {
    test::TempFolder folder;
    const struct {
        int width, height;
        const char* message;
    } rows[] = {
        {1000001, 1,
         "A bitmap of 1000001 x 1 pixels is too large to save as PNG (the limit is 1000000 pixels "
         "across and down)."},
        {2, 1000001,
         "A bitmap of 2 x 1000001 pixels is too large to save as PNG (the limit is 1000000 pixels "
         "across and down)."},
    };
    for (const auto& row : rows) {
        testing::internal::CaptureStderr();
        test::ExpectUserError([&] { WritePngFile(Raster(row.width, row.height), folder.file("wide.png")); },
                              UserError::Kind::BadBitmapSize, row.message);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    EXPECT_TRUE(folder.names().empty());
    // At the limit the picture is written.
    EXPECT_FALSE(EncodePng(Raster(1000000, 1)).empty());
}

} // namespace
} // namespace mosaiqua
