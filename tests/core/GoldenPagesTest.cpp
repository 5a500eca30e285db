// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The pages a player sees, pixel for pixel: each drawn by the game from a fixed script of
// events (tests/golden/NAME.events) and compared with its reference picture
// (tests/golden/NAME.png), both as the clicks and keys drew it and as a fresh paint over
// whatever the window showed rebuilds it. A page that differs is written beside the build, with
// a picture of where it differs; after an intended change of the pictures,
//     TESSARIN_GOLDEN_UPDATE=1 build/core_tests --gtest_filter='GoldenPages*'
// writes them all again, for a reviewer to look at.
#include "game/CMekkView.h"
#include "input/Events.h"
#include "support/FakePlatform.h"
#include "support/Png.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

using namespace tess;

namespace {

struct GoldenPage {
    const char* name;
    Size client;
    double ratio;
    // What the script must leave: the page, the phase and whether the game was aborted.
    int page;
    int phase;
    bool aborted;
};

// A failure names the page, not its bytes.
void PrintTo(const GoldenPage& page, std::ostream* out) {
    *out << page.name;
}

const GoldenPage kPages[] = {
    {"home-1016x700", {1016, 700}, 1.0, kHomePage, kDrawing, false},
    {"drawing-1016x700", {1016, 700}, 1.0, kGamePage, kDrawing, false},
    {"colouring-1016x700", {1016, 700}, 1.0, kGamePage, kColouring, false},
    {"scored-1016x700", {1016, 700}, 1.0, kGamePage, kFinished, false},
    {"aborted-1016x700", {1016, 700}, 1.0, kGamePage, kFinished, true},
    {"home-1280x1024", {1280, 1024}, 1.0, kHomePage, kDrawing, false},
    {"drawing-1280x1024", {1280, 1024}, 1.0, kGamePage, kDrawing, false},
    {"colouring-1280x1024", {1280, 1024}, 1.0, kGamePage, kColouring, false},
    {"scored-1280x1024", {1280, 1024}, 1.0, kGamePage, kFinished, false},
    {"aborted-1280x1024", {1280, 1024}, 1.0, kGamePage, kFinished, true},
    {"home-2032x1400-ratio2", {2032, 1400}, 2.0, kHomePage, kDrawing, false},
};

const std::filesystem::path kGolden = std::filesystem::path(TESSARIN_SOURCE_DIR) / "tests/golden";
const std::filesystem::path kWritten = std::filesystem::path(TESSARIN_BINARY_DIR) / "golden";

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Where two pictures of one size differ: how many pixels, their bounding box, the first.
struct Difference {
    long count = 0;
    Rect box{0, 0, 0, 0};
    Point first;
};

Difference differences(const Canvas& a, const Canvas& b) {
    Difference d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == b.pixel(x, y)) continue;
            if (d.count++ == 0) {
                d.first = {x, y};
                d.box = {x, y, x + 1, y + 1};
            }
            d.box = {std::min(d.box.left, x), std::min(d.box.top, y), std::max(d.box.right, x + 1),
                     std::max(d.box.bottom, y + 1)};
        }
    return d;
}

// The reference faded to a quarter of its strength, every pixel that differs in red, and a
// magenta frame a few pixels round them all, where a few pixels would be hard to find.
Canvas differencePicture(const Canvas& reference, const Canvas& drawn, const Difference& d) {
    Canvas picture(reference.width(), reference.height());
    for (int y = 0; y < reference.height(); ++y)
        for (int x = 0; x < reference.width(); ++x) {
            const Colour c = reference.pixel(x, y);
            const auto faded = [](int v) { return 255 - (255 - v) / 4; };
            picture.setPixel(x, y,
                             c == drawn.pixel(x, y)
                                 ? Colour(faded(c.red()), faded(c.green()), faded(c.blue()))
                                 : Colour(255, 0, 0));
        }
    DrawingContext dc(picture);
    dc.selectPen(Pen{Colour(255, 0, 255), 1});
    dc.selectBrush(Brush{kWhite, false});
    dc.rectangle({d.box.left - 4, d.box.top - 4, d.box.right + 4, d.box.bottom + 4});
    return picture;
}

std::string hex(Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", unsigned(c.argb & 0xFFFFFFu));
    return text;
}

// Compares what was drawn with the reference picture; on a difference, writes the picture
// drawn and the difference picture into the build, named for the page and `as`, and says where
// they differ.
::testing::AssertionResult matchesGolden(const Canvas& drawn, const std::string& name,
                                         const std::string& as, const std::string& how) {
    const std::filesystem::path reference = kGolden / (name + ".png");
    std::string why;
    if (std::getenv("TESSARIN_GOLDEN_UPDATE")) {
        if (!test::writePng(drawn, reference, &why)) return ::testing::AssertionFailure() << why;
        return ::testing::AssertionSuccess();
    }
    const std::optional<Canvas> golden = test::readPng(reference, &why);
    std::filesystem::create_directories(kWritten);
    const std::filesystem::path written = kWritten / (name + as + ".png");
    if (!golden) {
        test::writePng(drawn, written);
        return ::testing::AssertionFailure()
               << why << " (the page drawn is in " << written.string() << ")";
    }
    if (golden->width() != drawn.width() || golden->height() != drawn.height()) {
        test::writePng(drawn, written);
        return ::testing::AssertionFailure()
               << name << " " << how << " is " << drawn.width() << "x" << drawn.height()
               << ", the reference " << golden->width() << "x" << golden->height()
               << " (the page drawn is in " << written.string() << ")";
    }
    const Difference d = differences(*golden, drawn);
    const std::filesystem::path diff = kWritten / (name + as + "-difference.png");
    if (d.count == 0) {
        // What an earlier run wrote of this page is out of date.
        std::filesystem::remove(written);
        std::filesystem::remove(diff);
        return ::testing::AssertionSuccess();
    }
    test::writePng(drawn, written);
    test::writePng(differencePicture(*golden, drawn, d), diff);
    return ::testing::AssertionFailure()
           << name << " " << how << " differs from " << reference.string() << " in " << d.count
           << " pixels, within columns " << d.box.left << ".." << d.box.right - 1 << " and rows "
           << d.box.top << ".." << d.box.bottom - 1 << "; the first at " << d.first.x << ","
           << d.first.y << " is " << hex(drawn.pixel(d.first.x, d.first.y)) << ", not "
           << hex(golden->pixel(d.first.x, d.first.y)) << ". The page drawn is " << written.string()
           << ", the differences in red in " << diff.string();
}

class GoldenPages : public ::testing::TestWithParam<GoldenPage> {};

} // namespace

TEST_P(GoldenPages, AreDrawnPixelForPixel) {
    const GoldenPage& page = GetParam();
    fake::FakePlatform platform(page.client, page.ratio);
    CMekkView view(platform);
    view.randomState = 1; // the start vertices the scripts were written for
    view.paint();
    std::string why;
    const std::filesystem::path script = kGolden / (std::string(page.name) + ".events");
    ASSERT_TRUE(std::filesystem::exists(script)) << script.string();
    const auto events = parseEvents(readFile(script), nullptr, &why);
    ASSERT_TRUE(events) << script.string() << ", " << why;
    for (const Event& e : *events)
        apply(view, e);
    ASSERT_EQ(view.currentPage, page.page);
    ASSERT_EQ(view.gamePhase, page.phase);
    ASSERT_EQ(view.gameAborted, page.aborted);

    EXPECT_TRUE(matchesGolden(*view.screen(), page.name, "", "as the events drew it"));
    if (std::getenv("TESSARIN_GOLDEN_UPDATE")) return;
    Canvas fresh(view.screen()->width(), view.screen()->height());
    fresh.clear(Colour(1, 2, 3)); // whatever the window showed before
    DrawingContext dc(fresh);
    view.OnDraw(dc);
    EXPECT_TRUE(matchesGolden(fresh, page.name, "-repainted", "as a fresh paint rebuilt it"));
}

INSTANTIATE_TEST_SUITE_P(, GoldenPages, ::testing::ValuesIn(kPages),
                         [](const ::testing::TestParamInfo<GoldenPage>& instance) {
                             std::string name = instance.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });
