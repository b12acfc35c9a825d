// The meadow benchmark through the engine's 2D layer: N bee sprites drift in a box,
// are sorted far to near every frame and drawn in perspective over a green field and a
// sky band, as scaled images with their handle at the centre, alpha-blended, unfiltered.
// Its options, output lines and timing match the other programs of the comparison it
// runs in (the suite sets --assets, --n and the rest):
//
//   --n N          sprites (2000)           --warmup F   unmeasured frames first (30)
//   --frames F     measured frames (300)    --max-s S    stop measuring after S s (20)
//   --cap HZ       pace with Flip(-1) at HZ frames per second (0: uncapped, Flip(0))
//   --check F      draw F frames, print the CHECK fingerprint of the last one; with
//                  --shot PATH also save that frame, before it is shown, as a binary PPM
//   --dump PATH    one line per measured frame: interval, sim, draw, present in ms
//   --assets DIR   folder of bee.png        --variant V  label of the run (default)
//
// The simulation runs in doubles on a Park-Miller generator, so the sprites' states,
// and with them the CHECK line, are the same digit for digit in every program.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "draw2d/draw2d.h"
#include "draw2d/image.h"
#include "graphics/graphics.h"
#include "pixmap/pixmap.h"
#include "runtime/startup.h"
#include "system/system.h"
#include "umbrella/umbrella.h"

namespace {

using namespace corvex;

constexpr int kWidth = 1024, kHeight = 768;
constexpr double kBox = 5000, kLowY = 10, kHighY = 200;  // x and z within -kBox..kBox
constexpr double kCameraX = 0, kCameraY = 4000, kCameraZ = -9400;
constexpr double kFocal = 400, kSpriteScale = 12, kHorizon = 150, kNear = 1;
constexpr double kStepXZ = 4, kStepY = 1;  // largest nudge per frame
constexpr float kSkyHeight = 250;
constexpr int kGrass[3] = {70, 140, 60}, kSky[3] = {135, 190, 235};

struct Options {
    int n = 2000, warmup = 30, frames = 300, check = 0;
    double cap = 0, max_s = 20;
    std::string variant = "default", assets = "assets", shot, dump;
};

// Paths are taken from the launch directory: start-up made the program's own folder
// the working directory.
std::string FromLaunch(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    return LaunchDirectory.ToUtf8() + "/" + path;
}

// Options come in pairs; an unknown name ends the program with status 2.
Options ParseOptions() {
    Options o;
    const int count = ApplicationArgs.Length();
    for (int i = 1; i + 1 < count; i += 2) {
        const std::string name = ApplicationArgs[i].ToUtf8(), value = ApplicationArgs[i + 1].ToUtf8();
        if (name == "--n") o.n = std::atoi(value.c_str());
        else if (name == "--warmup") o.warmup = std::atoi(value.c_str());
        else if (name == "--frames") o.frames = std::atoi(value.c_str());
        else if (name == "--check") o.check = std::atoi(value.c_str());
        else if (name == "--cap") o.cap = std::atof(value.c_str());
        else if (name == "--max-s") o.max_s = std::atof(value.c_str());
        else if (name == "--variant") o.variant = value;
        else if (name == "--assets") o.assets = FromLaunch(value);
        else if (name == "--shot") o.shot = FromLaunch(value);
        else if (name == "--dump") o.dump = FromLaunch(value);
        else {
            std::fprintf(stderr, "unknown option %s\n", name.c_str());
            std::exit(2);
        }
    }
    return o;
}

double NowSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The minimal standard generator: every product stays below 2^53, so it is exact in
// doubles as well as in integers.
class ParkMiller {
public:
    double Next() {
        seed_ = seed_ * 16807 % 2147483647;
        return static_cast<double>(seed_) / 2147483647.0;
    }

private:
    uint64_t seed_ = 12345;
};

struct Bee {
    double x, y, z;
    int id;
};

double Reflect(double v, double low, double high) {
    if (v < low) return 2 * low - v;
    if (v > high) return 2 * high - v;
    return v;
}

class Meadow {
public:
    explicit Meadow(int n) : bees_(static_cast<size_t>(std::max(n, 0))) {
        for (size_t i = 0; i < bees_.size(); ++i) {
            Bee& b = bees_[i];
            b.x = -kBox + 2 * kBox * rng_.Next();
            b.y = kLowY + (kHighY - kLowY) * rng_.Next();
            b.z = -kBox + 2 * kBox * rng_.Next();
            b.id = static_cast<int>(i);
        }
    }
    // Nudges every bee (reflected at the walls), then sorts far (large z) to near.
    void Step() {
        for (Bee& b : bees_) {
            b.x = Reflect(b.x + (rng_.Next() * 2 - 1) * kStepXZ, -kBox, kBox);
            b.y = Reflect(b.y + (rng_.Next() * 2 - 1) * kStepY, kLowY, kHighY);
            b.z = Reflect(b.z + (rng_.Next() * 2 - 1) * kStepXZ, -kBox, kBox);
        }
        std::stable_sort(bees_.begin(), bees_.end(), [](const Bee& a, const Bee& b) { return a.z > b.z; });
    }
    const std::vector<Bee>& Bees() const { return bees_; }

private:
    std::vector<Bee> bees_;
    ParkMiller rng_;
};

struct Projected {
    double sx, sy, scale;
};

// Screen position and scale of a bee; false when it is not in front of the camera.
bool Project(const Bee& b, Projected& p) {
    const double depth = b.z - kCameraZ;
    if (depth <= kNear) return false;
    const double dist = depth / kFocal;
    p.sx = kWidth / 2.0 + (b.x - kCameraX) / dist;
    p.sy = kHorizon + (kCameraY - b.y) / dist;
    p.scale = kSpriteScale / dist;
    return true;
}

// What one frame drew: count, sums of the projection, the order of the ids.
struct Fingerprint {
    long drawn = 0;
    double sumx = 0, sumy = 0, sums = 0, order = 0, last_z = 1e300;
    bool far_to_near = true;

    void Add(const Bee& b, const Projected& p) {
        ++drawn;
        sumx += p.sx;
        sumy += p.sy;
        sums += p.scale;
        order += static_cast<double>(drawn) * b.id;
        if (b.z > last_z) far_to_near = false;
        last_z = b.z;
    }
};

// Grass, sky and every bee far to near; gives the number of bees drawn.
long DrawFrame(const Meadow& meadow, const Ref<TImage>& bee, Fingerprint* fingerprint) {
    Cls();
    SetScale(1, 1);
    SetColor(kSky[0], kSky[1], kSky[2]);
    DrawRect(0, 0, kWidth, kSkyHeight);
    SetColor(255, 255, 255);
    long drawn = 0;
    for (const Bee& b : meadow.Bees()) {
        Projected p;
        if (!Project(b, p)) continue;
        if (fingerprint) fingerprint->Add(b, p);
        ++drawn;
        const float scale = static_cast<float>(p.scale);
        SetScale(scale, scale);
        DrawImage(bee, static_cast<float>(p.sx), static_cast<float>(p.sy));
    }
    return drawn;
}

// The whole window as a binary PPM.
void WriteShot(const std::string& path) {
    const Ref<TPixmap> rgb = ConvertPixmap(GrabPixmap(0, 0, kWidth, kHeight), PF_RGB888);
    FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f && std::fprintf(f, "P6\n%d %d\n255\n", rgb->width, rgb->height) > 0;
    for (int y = 0; ok && y < rgb->height; ++y) {
        ok = std::fwrite(rgb->PixelPtr(0, y), 3, static_cast<size_t>(rgb->width), f) == static_cast<size_t>(rgb->width);
    }
    if (f && std::fclose(f) != 0) ok = false;
    if (!ok) RaiseRuntimeError(String("Unable to write " + path));
}

// The q-quantile, interpolating between neighbours (the median of an even count is
// the mean of the middle pair).
double Quantile(std::vector<double> v, double q) {
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    const double pos = q * static_cast<double>(v.size() - 1);
    const size_t low = static_cast<size_t>(pos), high = std::min(low + 1, v.size() - 1);
    return v[low] + (v[high] - v[low]) * (pos - static_cast<double>(low));
}

// Sum of count entries from first on, in ms; NaN when there are not that many.
double SumMs(const std::vector<double>& v, size_t first, size_t count) {
    if (v.size() < first + count) return NAN;
    double sum = 0;
    for (size_t i = first; i < first + count; ++i) sum += v[i];
    return sum * 1e3;
}

class Bench {
public:
    Bench(const Options& o, Ref<TImage> bee) : o_(o), bee_(std::move(bee)), meadow_(o.n) {}

    void Check() {
        Fingerprint fp;
        for (int frame = 0; frame < o_.check; ++frame) {
            PollSystem();
            meadow_.Step();
            fp = Fingerprint();
            DrawFrame(meadow_, bee_, &fp);
            if (frame == o_.check - 1 && !o_.shot.empty()) WriteShot(o_.shot);
            Present();
        }
        std::printf(
            "CHECK peer=engine n=%d frames=%d drawn=%ld sumx=%.6f sumy=%.6f sums=%.9f order=%.0f far_to_near=%d\n",
            o_.n, o_.check, fp.drawn, fp.sumx, fp.sumy, fp.sums, fp.order, fp.far_to_near ? 1 : 0);
    }

    // Warm-up frames, then measured ones until --frames or --max-s; the interval of a
    // frame runs from the previous swap's return to its own.
    void Measure(const std::string& info) {
        double previous = 0, begin = 0;
        long drawn = 0;
        for (int frame = 0; frame <= o_.warmup + o_.frames; ++frame) {
            PollSystem();
            const double t0 = NowSeconds();
            meadow_.Step();
            const double t1 = NowSeconds();
            drawn = DrawFrame(meadow_, bee_, nullptr);
            const double t2 = NowSeconds();
            const double swapped = Present();
            const double t3 = NowSeconds();
            if (frame == o_.warmup) begin = t3;
            if (frame > o_.warmup) {
                intervals_.push_back(swapped - previous);
                sim_.push_back(t1 - t0);
                draw_.push_back(t2 - t1);
                present_.push_back(t3 - t2);
                if (t3 - begin > o_.max_s && intervals_.size() >= 30) break;
            }
            previous = swapped;
        }
        Dump();
        std::printf(
            "RESULT peer=engine variant=%s n=%d mode=%s frames=%zu drawn=%ld med_ms=%.3f p10_ms=%.3f p90_ms=%.3f "
            "min_ms=%.3f max_ms=%.3f sim_ms=%.3f draw_ms=%.3f present_ms=%.3f tot60a_ms=%.1f tot60b_ms=%.1f "
            "info=\"%s\"\n",
            o_.variant.c_str(), o_.n, o_.cap > 0 ? "cap60" : "free", intervals_.size(), drawn,
            Quantile(intervals_, .5) * 1e3, Quantile(intervals_, .1) * 1e3, Quantile(intervals_, .9) * 1e3,
            Quantile(intervals_, 0) * 1e3, Quantile(intervals_, 1) * 1e3, Quantile(sim_, .5) * 1e3,
            Quantile(draw_, .5) * 1e3, Quantile(present_, .5) * 1e3, SumMs(intervals_, 0, 60),
            SumMs(intervals_, 60, 60), info.c_str());
    }

private:
    // Swap (on the pacing schedule when capped), then wait for the frame to be done;
    // gives the time the swap returned.
    double Present() {
        Flip(o_.cap > 0 ? -1 : 0);
        const double swapped = NowSeconds();
        glFinish();
        return swapped;
    }

    void Dump() const {
        if (o_.dump.empty()) return;
        FILE* f = std::fopen(o_.dump.c_str(), "w");
        if (!f) RaiseRuntimeError(String("Unable to write " + o_.dump));
        for (size_t i = 0; i < intervals_.size(); ++i) {
            std::fprintf(f, "%.4f %.4f %.4f %.4f\n", intervals_[i] * 1e3, sim_[i] * 1e3, draw_[i] * 1e3,
                         present_[i] * 1e3);
        }
        std::fclose(f);
    }

    const Options& o_;
    Ref<TImage> bee_;
    Meadow meadow_;
    std::vector<double> intervals_, sim_, draw_, present_;
};

}  // namespace

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::umbrella_module) {
    using namespace corvex;
    const Options o = ParseOptions();
    const int hertz = o.cap > 0 ? static_cast<int>(std::lround(o.cap)) : 0;
    if (!Graphics(kWidth, kHeight, 0, hertz, 0)) RaiseRuntimeError("Unable to open a 1024 x 768 window");
    const Ref<TImage> bee = LoadImage(String(o.assets + "/bee.png"), 0);  // unfiltered
    if (!bee) RaiseRuntimeError(String("Unable to load " + o.assets + "/bee.png"));
    MidHandleImage(bee);
    SetBlend(ALPHABLEND);
    SetClsColor(kGrass[0], kGrass[1], kGrass[2]);

    Bench bench(o, bee);
    if (o.check > 0) {
        bench.Check();
    } else {
        bench.Measure("corvex 2D driver=" + _draw2dDriver->ToString().ToUtf8() +
                      " GL=" + reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    }
}
