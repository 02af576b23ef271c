// An animation keeps every frame until the GIF is written, so its size is judged as a whole.
#include "core/animation.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

namespace mosaiqua {
namespace {

using test::ExpectUserError;
using Kind = UserError::Kind;

// 2 x 8192 x 4097 = 67125248 pixels, just past 2^26 = 67108864; 4 x 4096 x 4096 is exactly 2^26.
TEST(Animation, FramesTogetherPastTheLimitAreRefusedBeforeAnyIsDrawn) {
    test::TempFolder folder;
    AnimationSave save;
    save.frames = 2;
    SaveSizeTexts sizes;
    sizes.bitmapWidth = "8192";
    sizes.bitmapHeight = "4097";
    ExpectUserError([&] { SaveSpriteAnimation(MemoryImage(), save, sizes, folder.file("a.gif")); },
                    Kind::BadBitmapSize,
                    "An animation of 2 frames of 8192 x 4097 pixels is too large to save (the limit is "
                    "67108864 pixels in all frames together).");
    EXPECT_TRUE(folder.names().empty());
    EXPECT_NO_THROW(CheckAnimationSize(4, 4096, 4096));
    ExpectUserError([] { CheckAnimationSize(64, 8192, 8192); }, Kind::BadBitmapSize);
    // One frame the bitmap rules refuse is named as they name it.
    ExpectUserError([] { CheckAnimationSize(2, 0, 21); }, Kind::BadBitmapSize,
                    "A bitmap of 0 x 21 pixels cannot be saved: width and height must be at least 1.");
}

} // namespace
} // namespace mosaiqua
