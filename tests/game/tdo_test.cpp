// The world objects alone, drawn through the headless platform's recording driver.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "draw2d/draw2d.h"
#include "game/tarvolin.h"
#include "graphics/graphics.h"
#include "headless/draw2d/recording.h"
#include "support/temp_dir.h"
#include "umbrella/umbrella.h"

namespace tarvolin {
namespace {

using namespace corvex;

constexpr int kNotUpdated = 99;  // a kind that no rule moves

class TDOTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitModule(umbrella_module);
        SetDrawTrace(trace_);
        ASSERT_TRUE(Graphics(1024, 768, 0, 60, 0));
        SetOrigin(512, 384);
        cameraX = 0;
        cameraZ = 0;
        sprite_ = CreateImage(9, 18, 8);
    }
    void TearDown() override {
        TDO::TDO_list = nullptr;
        TDO::followTarget = nullptr;
        EndGraphics();
        SetDrawTrace("");
    }

    // A new object of the kind at rest at the place; it may drag the draws of a new
    // object's chances along, but nothing else of them.
    Ref<TDO> Make(int kind, float x, float y, float z) {
        Ref<TDO> o = New<TDO>();
        o->kind = kind;
        o->x = x;
        o->y = y;
        o->z = z;
        o->image = sprite_;
        o->lifeTimer = 0;
        TDO::followTarget = nullptr;
        return o;
    }

    // The numbers of the last line of each kind traced since the previous call.
    std::map<std::string, std::vector<double>> Traced() {
        SetDrawTrace("");
        std::ifstream in(trace_);
        std::map<std::string, std::vector<double>> last;
        for (std::string line, word; std::getline(in, line);) {
            std::istringstream fields(line);
            fields >> word;
            std::vector<double>& numbers = last[word];
            numbers.clear();
            for (double v; fields >> v;) numbers.push_back(v);
        }
        SetDrawTrace(trace_);
        return last;
    }

    TempDir dir_;
    std::string trace_ = dir_ / "trace.txt";
    Ref<TImage> sprite_;
};

TEST_F(TDOTest, CompareOrdersFarFirstAndNeverSaysEqual) {
    Ref<TDO> near = Make(kNotUpdated, 0, 0, -10), far = Make(kNotUpdated, 0, 0, -20),
             level = Make(kNotUpdated, 0, 0, -10);
    EXPECT_EQ(near->Compare(far.get()), 1);
    EXPECT_EQ(far->Compare(near.get()), -1);
    EXPECT_EQ(near->Compare(level.get()), -1);
    EXPECT_EQ(level->Compare(near.get()), -1);
    EXPECT_THROW(near->Compare(sprite_.get()), TNullObjectException);
}

// Seen from the camera at (cx, 50, cz), an object at x 100, height 80 is drawn at
// ((x - cx) / s, (80 - 50) / s) from the centre, s = (z - cz) / 400, at 12 / |s| times
// its size, mirrored unless it moves with xv > 0; level with or behind the camera it
// is not drawn.
TEST_F(TDOTest, ProjectionScalesWithDistanceAndMirrorsByDirection) {
    struct Case {
        float xv, z, cx, cz;
        bool drawn;
        double scale_x, scale_y, at_x, at_y;
    } cases[] = {
        {1, -800, 0, 0, true, 6, 6, -50, -15},       {0, -800, 0, 0, true, -6, 6, -50, -15},
        {-1, -800, 0, 0, true, -6, 6, -50, -15},     {1, -400, 0, 0, true, 12, 12, -100, -30},
        {1, -800, 40, -400, true, 12, 12, -60, -30}, {1, 0, 0, 0, false, 0, 0, 0, 0},
        {1, 400, 0, 0, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TDO::TDO_list = nullptr;
        Ref<TDO> o = Make(kNotUpdated, 100, 80, c.z);
        o->xv = c.xv;
        cameraX = c.cx;
        cameraZ = c.cz;
        Traced();  // starts the trace afresh
        TDO::render();
        std::map<std::string, std::vector<double>> traced = Traced();
        const std::vector<double>& draw = traced["draw"];
        ASSERT_EQ(!draw.empty(), c.drawn) << c.z;
        if (c.z == 0) {
            EXPECT_EQ(o->z, 1e-10f);  // moved off the camera's plane, after drawing
        }
        if (!c.drawn) continue;
        const std::vector<double>& transform = traced["transform"];
        EXPECT_EQ(transform[0], c.scale_x) << c.xv << " " << c.z;
        EXPECT_EQ(transform[3], c.scale_y) << c.xv << " " << c.z;
        EXPECT_EQ(draw[5], 512 + c.at_x) << c.z;
        EXPECT_EQ(draw[6], 384 + c.at_y) << c.z;
    }
}

// A bee stops steering at its first update after its flower has died: in the same pass
// when it comes after the flower in the world, in the next pass when it comes before.
TEST_F(TDOTest, BeeWhoseFlowerDiesStopsSteering) {
    struct Case {
        float bee_z;       // the flower stands at z -500
        int dying_passes;  // passes the flower still lives
        int passes;
        int following;  // after the passes
    } cases[] = {
        {-400, 1, 1, 0},  // bee after the flower
        {-600, 1, 1, 1},  // bee before it: it steered once more
        {-600, 1, 2, 0},
        {-400, 5, 2, 1},  // the flower lives on
    };
    for (const Case& c : cases) {
        TDO::TDO_list = nullptr;
        Ref<TDO> flower_object = Make(TDO::KINDFLOWER, 0, 0, -500);
        flower_object->deathCounter = c.dying_passes;
        Ref<TDO> bee_object = Make(TDO::KINDBEE, 300, 100, c.bee_z);
        bee_object->following = 1;
        bee_object->followTDO = flower_object;
        TDO::followTarget = flower_object;
        float xv = 0;
        for (int i = 0; i < c.passes; ++i) {
            xv = bee_object->xv;
            TDO::render();
        }
        EXPECT_EQ(bee_object->following, c.following) << c.bee_z << " " << c.passes;
        EXPECT_EQ(bee_object->followTDO, flower_object);
        // Steering pulls it towards the flower's x; without it the velocity only decays.
        EXPECT_EQ(bee_object->xv, c.following ? (xv - 0.7f) * 0.98f : xv * 0.98f) << c.bee_z << " " << c.passes;
    }
}

// Alone, with no bee to feed on it, a flower grows for 5999 passes, wilts in the next
// 30 and is gone after them.
TEST_F(TDOTest, UnfedFlowerGrowsWiltsAndVanishes) {
    Ref<TDO> flower_object = Make(kNotUpdated, 0, 0, -500);
    flower_object->flowerMe();
    flower_object->image = sprite_;
    const std::vector<int> wilting = {7, 6, 6, 6, 6, 5, 5, 5, 5, 4, 4, 4, 4, 3, 3,
                                      3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1, 0, 0, 0, 0};
    std::vector<int> expected, shown;
    for (int pass = 1; pass <= 6029; ++pass) {
        expected.push_back(pass < 6000 ? std::min(7, pass / 6) : wilting[pass - 6000]);
        ASSERT_EQ(TDO::TDO_list->Count(), 1) << pass;
        TDO::render();
        shown.push_back(flower_object->frame);
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(flower_object->killMe, 1);
    EXPECT_TRUE(TDO::TDO_list->IsEmpty());
}

// The rules' constants are 32-bit floats, like the fields: the velocities below come
// out differently when 0.98, 2.1, 0.9 or 1.1 is taken at 64 bits.
TEST_F(TDOTest, RulesComputeIn32BitFloats) {
    Ref<TDO> bee_object = Make(TDO::KINDBEE, 0, 100, -500);
    bee_object->xv = 0.3f;
    bee_object->yv = 11;
    bee_object->zv = 0.3f;
    Ref<TDO> cloud_object = Make(TDO::KINDBEE, 0, 0, -500);
    cloud_object->cloudMe();
    cloud_object->image = sprite_;
    cloud_object->xv = 1;
    TDO::render();
    EXPECT_EQ(bee_object->xv, 0.3f * 0.98f);
    EXPECT_EQ(bee_object->yv, 11 * 0.98f);
    EXPECT_EQ(bee_object->zv, 0.3f * 0.98f);
    // The pointer is at the window's top-left corner, (0, 0).
    EXPECT_EQ(cloud_object->dx, 512 / 1.1f);
    EXPECT_EQ(cloud_object->xv, (1 + 2.1f) * 0.9f);
}

TEST_F(TDOTest, BeeBelowThirtyIsPushedUp) {
    Ref<TDO> bee_object = Make(TDO::KINDBEE, 0, 10, -500);
    TDO::render();
    EXPECT_EQ(bee_object->yv, 2);
    int passes = 1;
    while (bee_object->y <= 30 && passes < 20) {
        TDO::render();
        ++passes;
    }
    EXPECT_GT(bee_object->y, 30);
    EXPECT_GT(bee_object->yv, 2);  // pushed again at every pass below 30
}

}  // namespace
}  // namespace tarvolin
