// Runs of the game without a display: a script of input in, the recording driver's
// trace out, read back frame by frame.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tarvolin::testing {

// One sprite drawn: its kind told by the cell's placement around its handle, the
// driver's frame number, where it landed and the scale it was drawn with.
struct Sprite {
    enum Kind { kBee, kFlower, kCloud, kOther } kind;
    int id;
    double tx, ty;  // the translation: the handle's place on the screen
    double scale_x, scale_y;
};

// What one presentation showed: everything traced since the previous flip.
struct Frame {
    int presentation = 0;  // 1 for the first flip
    std::vector<Sprite> sprites;
    std::vector<double> alphas;
    std::vector<double> scales_y;  // of every transform set, drawn or not
    bool sky = false;              // the main loop's rectangle was drawn
};

struct Outcome {
    int status = 0;
    std::string stderr_text;
    std::string trace_path;
};

// A script that leaves the title at the first chance (Space seen after the title's
// first frame): the fade then takes presentations 4 to 37 and the main loop's pass k
// is presentation 37 + k.
constexpr int kFirstPass = 38;
std::string LeaveTitle();
// The script line "N event" that the main loop sees in pass k.
std::string InPass(int pass, const std::string& event);

class Replay : public TempDir {
public:
    // Runs the program on the script (and the frame limit, when not 0) in this folder.
    Outcome Play(const std::string& script, int max_frames = 0, const std::string& program = TARVOLIN_HEADLESS) const;
    // Calls frame for every presentation of the trace, in order.
    static void ForEachFrame(const std::string& trace, const std::function<void(const Frame&)>& frame);
};

}  // namespace tarvolin::testing
