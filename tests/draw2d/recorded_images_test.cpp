// Animation frames cut from sheets, tiles and text, read from what reaches the driver.
#include "draw2d/draw2d.h"
#include "draw2d/recorded.h"

namespace corvex {
namespace {

using RecordedImagesTest = RecordedTest;

// Every pixel holds 0xFF000000 + its cell's column + 16 * its row, counted over the
// whole sheet, partial cells at the right and bottom included.
Ref<TPixmap> Sheet(int width, int height, int cell_width, int cell_height) {
    Ref<TPixmap> sheet = CreatePixmap(width, height, PF_RGBA8888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) sheet->WritePixel(x, y, 0xFF000000u + x / cell_width + 16 * (y / cell_height));
    }
    return sheet;
}

TEST_F(RecordedImagesTest, AnimationFramesAreCellsRowByRowFromTheFirst) {
    struct Case {
        int width, height, cell_width, cell_height, first, count;
        std::vector<uint32_t> cells;  // the cell value of each frame; none: Null
    } cases[] = {
        {72, 24, 18, 24, 0, 4, {0, 1, 2, 3}}, {72, 24, 18, 24, 1, 4, {}},  {100, 50, 30, 30, 0, 3, {0, 1, 2}},
        {100, 50, 30, 30, 1, 2, {1, 2}},      {100, 50, 30, 30, 0, 4, {}}, {60, 40, 20, 20, 2, 3, {2, 16, 17}},
    };
    for (const Case& c : cases) {
        const Ref<TPixmap> sheet = Sheet(c.width, c.height, c.cell_width, c.cell_height);
        Ref<TImage> image = LoadAnimImage(sheet, c.cell_width, c.cell_height, c.first, c.count, 0);
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " first " << c.first << " count " << c.count);
        if (c.cells.empty()) {
            EXPECT_FALSE(image);
            continue;
        }
        ASSERT_TRUE(image);
        ASSERT_EQ(image->pixmaps.Length(), c.count);
        for (int f = 0; f < c.count; ++f) {
            const Ref<TPixmap>& frame = image->pixmaps[f];
            ASSERT_EQ(frame->width, c.cell_width);
            ASSERT_EQ(frame->height, c.cell_height);
            int wrong = 0;
            for (int y = 0; y < frame->height; ++y) {
                for (int x = 0; x < frame->width; ++x) wrong += frame->ReadPixel(x, y) != 0xFF000000u + c.cells[f];
            }
            EXPECT_EQ(wrong, 0) << "frame " << f;
        }
    }
}

TEST_F(RecordedImagesTest, TilesCoverTheViewportUntransformed) {
    struct Case {
        float handle_x, x, y;
        std::vector<double> columns, rows;
    } cases[] = {
        {0, 5, 5, {-25, 5, 35, 65, 95}, {-25, 5, 35, 65, 95}},
        {0, 0, -40, {0, 30, 60, 90}, {-10, 20, 50, 80}},
        {2, 7.5f, 0.25f, {-24.5, 5.5, 35.5, 65.5, 95.5}, {0.25, 30.25, 60.25, 90.25}},
    };
    Ref<TImage> image = LoadImage(CreatePixmap(30, 30, PF_RGBA8888), 0);
    SetViewport(0, 0, 100, 100);
    SetScale(2, 3);
    Drawn();
    TileImage(image, 0, 0);  // makes the frame
    const std::vector<TraceLine> first = Drawn();
    ASSERT_FALSE(first.empty());
    const std::string id = std::to_string(static_cast<int>(first[0].args.at(0)));
    EXPECT_EQ(first[0], TraceLine("frame " + id + " 30 30 0"));
    for (const Case& c : cases) {
        SetImageHandle(image, c.handle_x, 0);
        TileImage(image, c.x, c.y);
        std::vector<TraceLine> expected = {TraceLine("transform 1 0 0 1")};
        for (double y : c.rows) {
            for (double x : c.columns) {
                expected.emplace_back("draw " + id + " 0 0 30 30 " + std::to_string(x) + " " + std::to_string(y));
            }
        }
        expected.emplace_back("transform 2 0 0 3");
        EXPECT_EQ(Drawn(), expected) << "at " << c.x << ", " << c.y;
    }
}

TEST_F(RecordedImagesTest, TextWidthsGlyphsAndThePenAlongTheTransform) {
    EXPECT_EQ(TextWidth(""), 0);
    EXPECT_EQ(TextWidth("Hello"), 40);
    EXPECT_EQ(TextWidth(u"A\u001fB\u0080"), 16) << "unmapped characters add nothing";
    EXPECT_EQ(TextHeight("A"), 16);
    Ref<TImageFont> font = GetImageFont();
    EXPECT_EQ(std::vector<int>(
                  {font->CharToGlyph('A'), font->CharToGlyph(' '), font->CharToGlyph(31), font->CharToGlyph(128)}),
              std::vector<int>({33, 0, -1, -1}));

    struct Case {
        float rotation, scale;
        std::vector<std::pair<double, double>> pens;  // where each glyph is drawn
    } cases[] = {
        {0, 1, {{10, 20}, {18, 20}}},
        {0, 2, {{10, 20}, {26, 20}}},
        {90, 1, {{10, 20}, {10, 28}}},
    };
    for (const Case& c : cases) {
        SetTransform(c.rotation, c.scale, c.scale);
        Drawn();
        DrawText("AB", 10, 20);
        std::vector<std::pair<double, double>> pens;
        for (const TraceLine& line : Drawn()) {
            if (line.name == "draw") pens.emplace_back(line.args.at(5), line.args.at(6));
        }
        ASSERT_EQ(pens.size(), c.pens.size()) << "rotation " << c.rotation << " scale " << c.scale;
        for (size_t i = 0; i < pens.size(); ++i) {
            EXPECT_NEAR(pens[i].first, c.pens[i].first, 1e-4) << "rotation " << c.rotation << " glyph " << i;
            EXPECT_NEAR(pens[i].second, c.pens[i].second, 1e-4) << "rotation " << c.rotation << " glyph " << i;
        }
    }
}

}  // namespace
}  // namespace corvex
