// The 2D layer drawing through the headless platform's recording driver, and its trace
// read back: one call per line, a name and its numbers.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/graphics.h"
#include "headless/draw2d/recording.h"
#include "headless/headless.h"
#include "support/temp_dir.h"

struct TraceLine {
    std::string name;
    std::vector<double> args;

    // "name n1 n2 ...".
    explicit TraceLine(const std::string& text) {
        std::istringstream in(text);
        in >> name;
        for (double v; in >> v;) args.push_back(v);
    }
    // Numbers match within 1e-5, so "-0" equals "0" and so does a cosine of 90 degrees.
    bool operator==(const TraceLine& o) const {
        if (name != o.name || args.size() != o.args.size()) return false;
        for (size_t i = 0; i < args.size(); ++i) {
            if (std::abs(args[i] - o.args[i]) > 1e-5) return false;
        }
        return true;
    }
};

inline std::ostream& operator<<(std::ostream& out, const TraceLine& line) {
    out << line.name;
    for (double v : line.args) out << ' ' << v;
    return out;
}

inline std::vector<TraceLine> TraceLines(const std::vector<std::string>& texts) {
    return std::vector<TraceLine>(texts.begin(), texts.end());
}

inline std::vector<TraceLine> ReadTrace(const std::string& path) {
    std::ifstream in(path);
    std::vector<TraceLine> lines;
    for (std::string text; std::getline(in, text);) lines.emplace_back(text);
    return lines;
}

// A 320 x 240 context opened with Graphics on a virtual clock at 0, its trace in a file.
class RecordedTest : public ::testing::Test {
protected:
    void SetUp() override {
        corvex::InitModule(corvex::platformdraw2d_module);
        corvex::HeadlessSetClock(0);
        corvex::SetDrawTrace(trace_);
        g_ = corvex::Graphics(320, 240, 0, 60, 0);
        ASSERT_TRUE(g_);
    }
    void TearDown() override {
        corvex::EndGraphics();
        corvex::SetDrawTrace("");
    }
    // The calls the driver received since the last Drawn (or since SetUp).
    std::vector<TraceLine> Drawn() {
        corvex::SetDrawTrace("");
        std::vector<TraceLine> lines = ReadTrace(trace_);
        corvex::SetDrawTrace(trace_);
        return lines;
    }

    TempDir dir_;
    std::string trace_ = dir_ / "trace.txt";
    corvex::Ref<corvex::TGraphics> g_;
};
