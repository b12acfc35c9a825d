#include "replay.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tarvolin::testing {

namespace {

// The cell's corners relative to its handle tell the sprite: bees are 10 x 7 held at
// (2, 2), flowers 9 x 18 at (4, 18), the cloud 18 x 24 at (9, 24).
Sprite::Kind KindOf(double x0, double y0, double x1, double y1) {
    if (x0 == -2 && y0 == -2 && x1 == 8 && y1 == 5) return Sprite::kBee;
    if (x0 == -4 && y0 == -18 && x1 == 5 && y1 == 0) return Sprite::kFlower;
    if (x0 == -9 && y0 == -24 && x1 == 9 && y1 == 0) return Sprite::kCloud;
    return Sprite::kOther;
}

}  // namespace

std::string LeaveTitle() { return "3 keydown 32\n4 keyup 32\n"; }

std::string InPass(int pass, const std::string& event) {
    return std::to_string(kFirstPass - 2 + pass) + " " + event + "\n";
}

Outcome Replay::Play(const std::string& script, int max_frames, const std::string& program) const {
    Outcome run;
    run.trace_path = *this / "trace.txt";
    const std::string command = "'" + program + "' '" + Write("script.txt", script) + "' '" + run.trace_path + "'" +
                                (max_frames ? " " + std::to_string(max_frames) : "") + " 2>'" + (*this / "stderr") +
                                "' </dev/null";
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.stderr_text = Read(*this / "stderr");
    return run;
}

void Replay::ForEachFrame(const std::string& trace, const std::function<void(const Frame&)>& frame) {
    std::ifstream in(trace);
    std::string line, word;
    Frame current;
    double scale_x = 1, scale_y = 1;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        fields >> word;
        if (word == "flip") {
            current.presentation++;
            frame(current);
            const int presentation = current.presentation;
            current = Frame();
            current.presentation = presentation;
        } else if (word == "draw") {
            Sprite s{};
            double x0, y0, x1, y1;
            fields >> s.id >> x0 >> y0 >> x1 >> y1 >> s.tx >> s.ty;
            s.kind = KindOf(x0, y0, x1, y1);
            s.scale_x = scale_x;
            s.scale_y = scale_y;
            current.sprites.push_back(s);
        } else if (word == "transform") {
            double iy, jx;
            fields >> scale_x >> iy >> jx >> scale_y;
            current.scales_y.push_back(scale_y);
        } else if (word == "alpha") {
            double alpha;
            fields >> alpha;
            current.alphas.push_back(alpha);
        } else if (word == "rect") {
            current.sky = true;
        }
    }
}

}  // namespace tarvolin::testing
