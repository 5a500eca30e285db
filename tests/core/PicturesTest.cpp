// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The four shape pictures of the home page: size, background, outline, coloured pieces and
// the name in letters of different colours. The golden pages hold them pixel for pixel at
// pixel ratios 1 and 2.
#include "game/CMekkView.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

using namespace tess;

namespace {

constexpr const char* kNames[4] = {"SQUARE", "HEXAGON", "OCTAGON", "DECAGON"};
constexpr int kNameTop = 76; // the shape lies above this row, its name below

std::set<std::uint32_t> coloursIn(const Canvas& c, int top, int bottom) {
    std::set<std::uint32_t> colours;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < c.width(); ++x) {
            const Colour p = c.pixel(x, y);
            if (p != kWhite && p != kBlack) colours.insert(p.argb);
        }
    return colours;
}

} // namespace

TEST(ShapePictures, ShowEachShapeColouredWithItsNameBeneath) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(kNames[k]);
        const Canvas& picture = view.shapePicture[k];
        ASSERT_EQ(picture.width(), 80);
        ASSERT_EQ(picture.height(), 94);
        for (Point corner : {Point{0, 0}, Point{79, 0}, Point{0, 93}, Point{79, 93}})
            EXPECT_EQ(picture.pixel(corner.x, corner.y), kWhite);

        // Coming in from the white background, the first ink met is the black outline.
        int y = 0;
        while (picture.pixel(40, y) == kWhite)
            ++y;
        EXPECT_EQ(picture.pixel(40, y), kBlack);
        int x = 0;
        while (picture.pixel(x, 38) == kWhite)
            ++x;
        EXPECT_EQ(picture.pixel(x, 38), kBlack);

        // Every piece is coloured: once the space round the shape is filled, no white pixel
        // is left above the name.
        Canvas copy = picture;
        DrawingContext dc(copy);
        dc.selectBrush(Brush{Colour(1, 2, 3), true});
        ASSERT_TRUE(dc.floodFill(0, 0, kBlack));
        int white = 0;
        for (int py = 0; py < kNameTop; ++py)
            for (int px = 0; px < 80; ++px)
                white += copy.pixel(px, py) == kWhite;
        EXPECT_EQ(white, 0);
        EXPECT_GE(coloursIn(picture, 0, kNameTop).size(), 4u);

        // The name: one colour per letter, on white.
        EXPECT_EQ(coloursIn(picture, kNameTop, 94).size(), std::strlen(kNames[k]));
    }
}

TEST(ShapePictures, AreTheSameForEveryViewAndDifferByShape) {
    fake::FakePlatform platform;
    CMekkView first(platform);
    CMekkView second(platform);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(first.shapePicture[k], second.shapePicture[k]) << kNames[k];
        for (int j = 0; j < k; ++j)
            EXPECT_FALSE(first.shapePicture[k] == first.shapePicture[j]);
    }
}
