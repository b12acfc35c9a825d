#include "game/tdo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "draw2d/draw2d.h"
#include "game/tarvolin.h"
#include "graphics/graphics.h"
#include "polledinput/polledinput.h"
#include "random/random.h"
#include "runtime/debug.h"
#include "system/system.h"

namespace tarvolin {

using namespace corvex;

Ref<TDO> TDO::followTarget;
Ref<TList> TDO::TDO_list;

namespace {

// A 1-in-n chance: the draw Rand(n, 1) came out as 1.
bool OneIn(int n) { return Rand(n, 1) == 1; }

// The world object of a list value; the null-object error for anything else.
TDO& AsTDO(const Ref<Object>& value) { return *Cast<TDO>(value); }

// A fixed step of velocity towards a target, in one axis.
void SteerTowards(float position, float target, float& velocity, float step) {
    if (position > target) velocity -= step;
    if (position < target) velocity += step;
}

}  // namespace

TDO::TDO() {
    CORVEX_METHOD("New");
    CORVEX_STMT;
    if (!TDO_list) TDO_list = CreateList();
    x = static_cast<float>(Rnd(-5000, 5000));
    y = static_cast<float>(Rnd(10, 200));
    z = static_cast<float>(Rnd(-5000, 5000));
    ListAddLast(TDO_list, Ref<Object>(this));
    image = bee;
    if (OneIn(1000)) image = bee2;
    kind = KINDBEE;
    if (OneIn(30)) flowerMe();
}

int TDO::Compare(const Object* other) const {
    const TDO* o = dynamic_cast<const TDO*>(other);
    if (!o) ThrowNullObject();
    return o->z < z ? 1 : -1;
}

int TDO::flowerMe() {
    CORVEX_METHOD("flowerMe");
    CORVEX_STMT;
    switch (Rand(0, 3)) {
        case 0: image = flower; break;
        case 1: image = flower2; break;
        case 2: image = flower3; break;
        default: image = flower4; break;
    }
    kind = KINDFLOWER;
    followTarget = this;
    y = 0;
    lifeTimer = 6000;
    return 0;
}

int TDO::cloudMe() {
    CORVEX_METHOD("cloudMe");
    CORVEX_STMT;
    image = cloudimage;
    kind = KINDCLOUD;
    y = 0;
    return 0;
}

void TDO::UpdateBee() {
    CORVEX_METHOD("UpdateBee");
    CORVEX_STMT;
    if (OneIn(300)) {
        following = 1;
        followTDO = followTarget;
    }
    if (followTDO && followTDO->killMe == 1) following = 0;
    if (following == 1 && followTDO) {
        constexpr float acc = 0.7f;
        TDO& f = *followTDO;
        SteerTowards(x, f.x, xv, acc);
        // The bee aims 150 above the flower, blurred afresh at each comparison; both
        // draws are always made.
        if (y > f.y + 150 + Rnd(-100, 100)) yv -= acc;
        if (y < f.y + 150 + Rnd(-100, 100)) yv += acc;
        SteerTowards(z, f.z, zv, acc);
        if (std::fabs(x - f.x) < 20 && std::fabs(z - f.z) < 20) f.lifeTimer -= 2;
    }
    frame = 0;
    x += Rand(-1, 1);
    y += Rand(-1, 1);
    z += Rand(0, 0);
    Glide(0.98f);
    if (y < 30) yv += 2;
}

void TDO::Glide(float damping) {
    zv *= damping;
    xv *= damping;
    yv *= damping;
    x += xv;
    y += yv;
    z += zv;
}

void TDO::UpdateFlower() {
    CORVEX_METHOD("UpdateFlower");
    CORVEX_STMT;
    if (lifeTimer > 0) lifeTimer -= 1;
    if (lifeTimer <= 0 && deathCounter <= 0) deathCounter = 30;
    if (deathCounter > 0) {
        frame = static_cast<int>(std::max(deathCounter / 30.0 * 7.0, 0.0));
        deathCounter -= 1;
        if (deathCounter <= 0) killMe = 1;
    } else {
        spawnTimer += 1;
        frame = std::min(7, spawnTimer / 6);
    }
    if (OneIn(200)) followTarget = this;
}

void TDO::UpdateCloud() {
    CORVEX_METHOD("UpdateCloud");
    CORVEX_STMT;
    const int w = GraphicsWidth();
    const int h = GraphicsHeight();
    dx = cameraX + static_cast<float>(-(MouseX() - w / 2)) / 1.1f;
    dz = (cameraZ - 500) + static_cast<float>(MouseY() - h / 2) / 1.1f;
    dy = 0;
    // The clock read as unsigned keeps the frame in 0 to 3 once the signed counter has
    // turned negative, after about 25 days of uptime.
    frame = static_cast<int>(static_cast<uint32_t>(MilliSecs()) / 600 % 2);
    if (rainTimer > 0) {
        frame = static_cast<int>(static_cast<uint32_t>(MilliSecs()) / 200 % 2 + 2);
        rainTimer -= 1;
    }
    constexpr float step = 2.1f;
    SteerTowards(x, dx, xv, step);
    SteerTowards(y, dy, yv, step);
    SteerTowards(z, dz, zv, step);
    Glide(0.9f);
}

// A sprite 400 units in front of the camera is drawn 12 times its size; a sprite
// moving to the left on screen (xv <= 0) is mirrored.
void TDO::Project() {
    CORVEX_METHOD("Project");
    CORVEX_STMT;
    const float screenZ = (z - cameraZ) / 400;
    if (xv > 0) SetScale(-12 / screenZ, -12 / screenZ);
    else SetScale(12 / screenZ, -12 / screenZ);
    if (z == 0) z = 1e-10f;
    if (screenZ < 0) DrawImage(image, (x - cameraX) / screenZ, (y - cameraY) / screenZ, frame);
}

int TDO::render() {
    CORVEX_FUNCTION("render");
    CORVEX_STMT;
    SortList(TDO_list, true, CompareObjects);
    for (const Ref<Object>& value : *TDO_list) {
        CORVEX_BLOCK();
        CORVEX_LOCAL(value);
        CORVEX_STMT;
        TDO& o = AsTDO(value);
        switch (o.kind) {
            case KINDBEE: o.UpdateBee(); break;
            case KINDFLOWER: o.UpdateFlower(); break;
            case KINDCLOUD: o.UpdateCloud(); break;
            default: break;
        }
        o.Project();
    }
    CORVEX_STMT;
    Ref<TList> survivors = CreateList();
    CORVEX_LOCAL(survivors);
    for (const Ref<Object>& value : *TDO_list) {
        if (!AsTDO(value).killMe) ListAddLast(survivors, value);
    }
    CORVEX_STMT;
    TDO_list = survivors;
    return 0;
}

}  // namespace tarvolin
