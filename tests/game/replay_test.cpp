// Whole runs of the game without a display, checked through what they drew.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "random/random.h"
#include "replay.h"

namespace tarvolin::testing {
namespace {

using corvex::Rnd;

constexpr const char* kPictures[] = {"title.png",    "bee.png",      "bee2.png",     "cloud.png",
                                     "flower01.png", "flower02.png", "flower03.png", "flower04.png"};
// The pointer where it moves neither the camera nor, by its own band, anything else.
const std::string kRestingPointer = "move 512 500";

std::vector<Frame> Frames(const Outcome& run) {
    std::vector<Frame> frames;
    Replay::ForEachFrame(run.trace_path, [&](const Frame& f) { frames.push_back(f); });
    return frames;
}

const Frame& Pass(const std::vector<Frame>& frames, int pass) { return frames.at(kFirstPass - 2 + pass); }

// The lengths of the runs of equal values.
std::vector<int> RunLengths(const std::vector<int>& values) {
    std::vector<int> lengths;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i == 0 || values[i] != values[i - 1]) lengths.push_back(0);
        lengths.back()++;
    }
    return lengths;
}

TEST(Replay, RunsRepeatExactlyAndEndAtTheFrameLimit) {
    const std::string script = LeaveTitle() + InPass(1, "move 300 500") + InPass(50, "down 1") + InPass(51, "up 1") +
                               InPass(60, "keydown 37") + InPass(70, "keyup 37");
    Replay first, second;
    const Outcome a = first.Play(script, 200);
    const Outcome b = second.Play(script, 200);
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(b.status, 0);
    const std::string trace = Replay::Read(a.trace_path);
    EXPECT_EQ(trace, Replay::Read(b.trace_path));
    EXPECT_EQ(Frames(a).size(), 200u);
    EXPECT_EQ(trace.substr(trace.rfind('\n', trace.size() - 2) + 1, 5), "flip ");
}

TEST(Replay, FirstWorldObjectStandsWhereTheGeneratorsFirstDrawsPutIt) {
    corvex::SeedRnd(4660);  // the state every run starts from
    const float x = static_cast<float>(Rnd(-5000, 5000));
    const float y = static_cast<float>(Rnd(10, 200));
    const float z = static_cast<float>(Rnd(-5000, 5000));
    EXPECT_NEAR(x, -810.11273, 1e-4);
    EXPECT_NEAR(y, 50.386993, 1e-5);
    EXPECT_NEAR(z, 1942.8472, 1e-3);
    // Behind the camera, it is not drawn; its depth shows in the scale it sets.
    const float screen_z = z / 400;
    Replay replay;
    const std::vector<Frame> frames = Frames(replay.Play(LeaveTitle(), kFirstPass));
    ASSERT_EQ(frames.size(), static_cast<size_t>(kFirstPass));
    const std::vector<double>& scales = Pass(frames, 1).scales_y;
    EXPECT_NE(std::find_if(scales.begin(), scales.end(),
                           [&](double scale) { return static_cast<float>(scale) == -12 / screen_z; }),
              scales.end());
}

TEST(Replay, TitleFadesOutInThirtyFourFrames) {
    Replay replay;
    const std::vector<Frame> frames = Frames(replay.Play(LeaveTitle(), kFirstPass));
    ASSERT_EQ(frames.size(), static_cast<size_t>(kFirstPass));
    EXPECT_TRUE(frames[2].alphas.empty());  // the title at full strength
    for (int i = 0; i < 34; ++i) {
        const Frame& f = frames[3 + i];
        ASSERT_EQ(f.alphas.size(), 1u) << f.presentation;
        EXPECT_NEAR(f.alphas[0], 0.97 - 0.03 * i, 1e-5) << f.presentation;
        EXPECT_EQ(f.sprites.size(), 1u);
        EXPECT_FALSE(f.sky);
    }
    EXPECT_LT(frames[36].alphas[0], 0);
    EXPECT_EQ(Pass(frames, 1).alphas, std::vector<double>{1});
    EXPECT_TRUE(Pass(frames, 1).sky);
}

TEST(Replay, EscapeDuringTheFadeEndsTheGameAfterTheFirstPass) {
    Replay replay;
    const Outcome run = replay.Play(LeaveTitle() + "10 keydown 27\n11 keyup 27\n");
    EXPECT_EQ(run.status, 0);
    const std::vector<Frame> frames = Frames(run);
    ASSERT_EQ(frames.size(), static_cast<size_t>(kFirstPass));
    EXPECT_TRUE(frames.back().sky);
}

// What an uncaught null-object error writes. With the debugger built in it is the
// debugger's report and prompt; nothing answers it, so the game ends at the end of input.
#ifdef TARVOLIN_DEBUGGER
const std::string kNullObjectReport = "~>Unhandled Exception:Attempt to access field or method of Null object\n~>\n";
#else
const std::string kNullObjectReport = "Attempt to access field or method of Null object";
#endif

TEST(Replay, MissingPictureEndsWithTheNullObjectError) {
    const std::filesystem::path built = std::filesystem::path(TARVOLIN_HEADLESS).parent_path();
    for (const char* missing : {"title.png", "bee2.png", "flower03.png"}) {
        Replay replay;
        const std::string program = replay / "tarvolin-headless";
        std::filesystem::copy_file(TARVOLIN_HEADLESS, program);
        for (const char* picture : kPictures) {
            if (std::string(picture) != missing) std::filesystem::copy_file(built / picture, replay / picture);
        }
        const Outcome run = replay.Play(LeaveTitle(), 0, program);
        EXPECT_EQ(run.status, 255) << missing;
        EXPECT_EQ(run.stderr_text, kNullObjectReport) << missing;
    }
}

// The camera's moves between passes, read from the farthest flower: it is drawn first
// among the flowers, at (x - cameraX) / s from the centre with the scale -12 / s, where
// s = (z - cameraZ) / 400.
TEST(Replay, CameraFollowsTheKeysAndThePointerBands) {
    struct Case {
        std::vector<std::string> events;
        double dx, dz;  // per pass
    } cases[] = {
        {{"move 100 500"}, 10, 0},  {{"move 204 500"}, 10, 0},
        {{"move 205 500"}, 0, 0},   {{"move 819 500"}, 0, 0},
        {{"move 820 500"}, -10, 0}, {{"move 512 383"}, 0, -10},
        {{"move 512 384"}, 0, 0},   {{"move 512 614"}, 0, 0},
        {{"move 512 615"}, 0, 10},  {{"keydown 37"}, 10, 0},
        {{"keydown 39"}, -10, 0},   {{"keydown 38"}, 0, -10},
        {{"keydown 40"}, 0, 10},    {{"move 0 500", "keydown 39"}, 0, 0},
    };
    constexpr int kPhase = 12;
    std::string script = LeaveTitle();
    int pass = 1;
    for (const Case& c : cases) {
        script += InPass(pass, kRestingPointer);
        for (int key = 37; key <= 40; ++key) script += InPass(pass, "keyup " + std::to_string(key));
        for (const std::string& event : c.events) script += InPass(pass, event);
        pass += kPhase;
    }
    Replay replay;
    const std::vector<Frame> frames = Frames(replay.Play(script, kFirstPass - 1 + pass));
    struct View {
        double k, s;  // (screen x - centre) * s, and s
    };
    auto view = [&](int p) {
        for (const Sprite& s : Pass(frames, p).sprites) {
            if (s.kind == Sprite::kFlower) return View{(s.tx - 512) * (-12 / s.scale_y), -12 / s.scale_y};
        }
        ADD_FAILURE() << "no flower in pass " << p;
        return View{};
    };
    pass = 1;
    for (const Case& c : cases) {
        // The camera moves at the end of a pass, so the draws show it one pass later.
        const View a = view(pass + 2), b = view(pass + 10);
        EXPECT_NEAR(-(b.k - a.k) / 8, c.dx, 0.05) << c.events.back();
        EXPECT_NEAR(-400 * (b.s - a.s) / 8, c.dz, 0.05) << c.events.back();
        pass += kPhase;
    }
}

// A click plants a flower under the cloud and sets it raining for 30 updates; a held
// button plants one every 10 frames.
TEST(Replay, ClicksPlantUnderTheRainingCloud) {
    const std::string script = LeaveTitle() + InPass(1, kRestingPointer) + InPass(400, "down 1") + InPass(401, "up 1") +
                               InPass(460, "down 1") + InPass(485, "up 1");
    Replay replay;
    const std::vector<Frame> frames = Frames(replay.Play(script, kFirstPass - 1 + 560));
    auto count = [&](int p, Sprite::Kind kind) {
        std::vector<Sprite> found;
        for (const Sprite& s : Pass(frames, p).sprites) {
            if (s.kind == kind) found.push_back(s);
        }
        return found;
    };
    std::vector<int> planted, raining;
    std::set<int> resting;
    for (int p = 1; p <= 560; ++p) {
        if (p > 1 && count(p, Sprite::kFlower).size() != count(p - 1, Sprite::kFlower).size()) planted.push_back(p);
        ASSERT_EQ(count(p, Sprite::kCloud).size(), 1u);
        const int cloud = count(p, Sprite::kCloud)[0].id;
        if (p <= 400) resting.insert(cloud);
        else if (!resting.count(cloud)) raining.push_back(p);
    }
    EXPECT_EQ(planted, (std::vector<int>{401, 461, 471, 481}));
    std::vector<int> expected_rain;
    for (int p = 401; p <= 430; ++p) expected_rain.push_back(p);
    for (int p = 461; p <= 510; ++p) expected_rain.push_back(p);
    EXPECT_EQ(raining, expected_rain);

    // The new flower stands where the cloud was drawn in the pass of the click, and
    // grows from a sprout in steps of six frames, the first five.
    const Sprite cloud = count(400, Sprite::kCloud)[0];
    std::vector<int> cells;
    for (int p = 401; p <= 455; ++p) {
        for (const Sprite& s : count(p, Sprite::kFlower)) {
            if (s.tx == cloud.tx && s.ty == cloud.ty) cells.push_back(s.id);
        }
    }
    ASSERT_EQ(cells.size(), 55u);
    EXPECT_EQ(RunLengths(cells), (std::vector<int>{5, 6, 6, 6, 6, 6, 6, 14}));
}

// Over a long run with the camera still, every flower of the first world grows through
// its eight cells and, once the bees have fed on it long enough, wilts back through them.
TEST(Replay, FlowersGrowWiltAndVanish) {
    constexpr int kPasses = 2500;
    struct Life {
        int first = 0, last = 0;
        std::vector<int> cells;
    };
    std::map<std::pair<double, double>, Life> flowers;
    Replay replay;
    const Outcome run = replay.Play(LeaveTitle() + InPass(1, kRestingPointer), kFirstPass - 1 + kPasses);
    ASSERT_EQ(run.status, 0);
    Replay::ForEachFrame(run.trace_path, [&](const Frame& f) {
        const int pass = f.presentation - kFirstPass + 1;
        for (const Sprite& s : f.sprites) {
            if (s.kind != Sprite::kFlower) continue;
            Life& life = flowers[{s.tx, s.ty}];
            if (!life.first) life.first = pass;
            life.last = pass;
            life.cells.push_back(s.id);
        }
    });
    const std::vector<int> wilting = {7, 6, 6, 6, 6, 5, 5, 5, 5, 4, 4, 4, 4, 3, 3,
                                      3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1, 0, 0, 0, 0};
    int wilted = 0;
    for (const auto& [at, life] : flowers) {
        if (life.first != 1) continue;
        ASSERT_EQ(life.cells.size(), static_cast<size_t>(life.last)) << "drawn in every pass it lived";
        // The cells in the order the flower grew through them are its frames 0 to 7.
        std::map<int, int> frame_of;
        for (int id : life.cells) frame_of.emplace(id, static_cast<int>(frame_of.size()));
        const std::vector<int> growth(life.cells.begin(), life.cells.begin() + 42);
        EXPECT_EQ(RunLengths(growth), (std::vector<int>{5, 6, 6, 6, 6, 6, 6, 1}));
        if (life.last == kPasses) continue;
        std::vector<int> last_frames;
        for (auto it = life.cells.end() - 30; it != life.cells.end(); ++it) last_frames.push_back(frame_of.at(*it));
        EXPECT_EQ(last_frames, wilting);
        ++wilted;
    }
    EXPECT_GT(wilted, 0);
}

// The earlier revision: its full-screen opening measures the vertical sync with three
// flips, every frame is then shown at the vertical blank, and a held button plants a
// flower in front of the camera in every frame.
TEST(Replay, EarlierRevisionPlantsInEveryFrameWhileTheButtonIsHeld) {
    Replay replay;
    const Outcome run = replay.Play("10 down 1\n19 up 1\n30 keydown 27\n", 0, TARVOLIN_MAC_HEADLESS);
    EXPECT_EQ(run.status, 0);
    std::vector<int> syncs, flowers;
    std::ifstream trace(run.trace_path);
    for (std::string line; std::getline(trace, line);) {
        if (line.rfind("flip ", 0) == 0) syncs.push_back(line[5] - '0');
    }
    Replay::ForEachFrame(run.trace_path, [&](const Frame& f) {
        flowers.push_back(static_cast<int>(std::count_if(f.sprites.begin(), f.sprites.end(),
                                                         [](const Sprite& s) { return s.kind == Sprite::kFlower; })));
    });
    ASSERT_EQ(syncs.size(), 30u);  // Escape is read right after the 30th
    EXPECT_EQ(std::vector<int>(syncs.begin(), syncs.begin() + 5), (std::vector<int>{0, 0, 1, 1, 1}));
    EXPECT_EQ(std::count(syncs.begin() + 5, syncs.end(), 1), 25);
    // Presentation 5 + k shows pass k; the button is down in passes 6 to 14, and each
    // flower is drawn from the pass after its planting.
    std::vector<int> planted;
    for (int i = 6; i < 30; ++i) {
        if (flowers[i] != flowers[i - 1]) planted.push_back(i - 4);
    }
    EXPECT_EQ(planted, (std::vector<int>{7, 8, 9, 10, 11, 12, 13, 14, 15}));
}

}  // namespace
}  // namespace tarvolin::testing
