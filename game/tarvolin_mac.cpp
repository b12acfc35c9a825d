// The earlier revision of the meadow game: bees and flowers only, a full-screen mode,
// keys for the camera and a flower planted in front of it while the button is held.
// Nothing is ever removed from the world. Kept as one relocatable object, tarvolin_mac.o.
#include <algorithm>

#include "draw2d/draw2d.h"
#include "graphics/graphics.h"
#include "linkedlist/linkedlist.h"
#include "polledinput/polledinput.h"
#include "random/random.h"
#include "runtime/debug.h"
#include "system/keycodes.h"
#include "umbrella/umbrella.h"

namespace tarvolin_mac {

using namespace corvex;

Ref<TImage> bee, flower, flower2, flower3, flower4;
float cameraX = 0;
float cameraY = 50;
float cameraZ = 0;

class TDO : public Object {
public:
    float x = 0, y = 0, z = 0;
    float xv = 0, yv = 0, zv = 0;
    Ref<TImage> image;
    int frame = 0;
    int isFLower = 0;
    int spawnTimer = 0;
    int following = 0;

    // The flower that following bees fly to: the last one planted.
    static Ref<TDO> followTDO;
    static Ref<TList> TDO_list;

    TDO() {
        CORVEX_METHOD("New");
        CORVEX_STMT;
        if (!TDO_list) TDO_list = CreateList();
        x = static_cast<float>(Rnd(-5000, 5000));
        y = static_cast<float>(Rnd(10, 200));
        z = static_cast<float>(Rnd(-5000, 5000));
        ListAddLast(TDO_list, Ref<Object>(this));
        image = bee;
        if (Rand(30, 1) == 1) flowerMe();
    }

    int Compare(const Object* other) const override {
        const TDO* o = dynamic_cast<const TDO*>(other);
        if (!o) ThrowNullObject();
        return o->z < z ? 1 : -1;
    }

    virtual int flowerMe() {
        CORVEX_METHOD("flowerMe");
        CORVEX_STMT;
        switch (Rand(0, 3)) {
            case 0: image = flower; break;
            case 1: image = flower2; break;
            case 2: image = flower3; break;
            default: image = flower4; break;
        }
        isFLower = 1;
        followTDO = this;
        y = 0;
        return 0;
    }

    static int render() {
        CORVEX_FUNCTION("render");
        CORVEX_STMT;
        SortList(TDO_list, true, CompareObjects);
        for (const Ref<Object>& value : *TDO_list) {
            CORVEX_BLOCK();
            CORVEX_LOCAL(value);
            CORVEX_STMT;
            TDO& o = *Cast<TDO>(value);
            if (o.isFLower) {
                o.spawnTimer += 1;
                o.frame = std::min(7, o.spawnTimer / 6);
            } else {
                o.UpdateBee();
            }
            o.Project();
        }
        return 0;
    }

private:
    static void Steer(float position, float target, float& velocity) {
        if (position > target) velocity -= 1.1f;
        if (position < target) velocity += 1.1f;
    }

    void UpdateBee() {
        CORVEX_METHOD("UpdateBee");
        CORVEX_STMT;
        if (Rand(600, 1) == 1) following = 1;
        if (Rand(200, 1) == 1) following = 0;
        if (following == 1 && followTDO) {
            Steer(x, followTDO->x, xv);
            Steer(y, followTDO->y, yv);
            Steer(z, followTDO->z, zv);
        }
        frame = 0;
        x += Rand(-1, 1);
        y += Rand(-1, 1);
        z += Rand(0, 0);
        zv *= 0.98f;
        xv *= 0.98f;
        yv *= 0.98f;
        x += xv;
        y += yv;
        z += zv;
        if (y < 30) yv += 2;
    }

    void Project() {
        CORVEX_METHOD("Project");
        CORVEX_STMT;
        const float screenZ = (z - cameraZ) / 400;
        if (xv > 0) SetScale(-16 / screenZ, -16 / screenZ);
        else SetScale(16 / screenZ, -16 / screenZ);
        if (z == 0) z = 1e-10f;
        if (screenZ < 0) DrawImage(image, (x - cameraX) / screenZ, (y - cameraY) / screenZ, frame);
    }
};

Ref<TDO> TDO::followTDO;
Ref<TList> TDO::TDO_list;

// The game body; the game's globals show in its scope.
void RunGame() {
    CORVEX_FUNCTION("RunGame");
    CORVEX_GLOBAL(bee);
    CORVEX_GLOBAL(flower);
    CORVEX_GLOBAL(flower2);
    CORVEX_GLOBAL(flower3);
    CORVEX_GLOBAL(flower4);
    CORVEX_GLOBAL(cameraX);
    CORVEX_GLOBAL(cameraY);
    CORVEX_GLOBAL(cameraZ);
    CORVEX_STMT;
    Graphics(1440, 900, 32, 60, 0);
    AutoImageFlags(MASKEDIMAGE);
    CORVEX_STMT;
    bee = LoadImage("bee.png", -1);
    CORVEX_STMT;
    SetImageHandle(bee, 2, 2);
    CORVEX_STMT;
    flower = LoadAnimImage("flower01.png", 9, 18, 0, 8, -1);
    flower2 = LoadAnimImage("flower02.png", 9, 18, 0, 8, -1);
    flower3 = LoadAnimImage("flower03.png", 9, 18, 0, 8, -1);
    flower4 = LoadAnimImage("flower04.png", 9, 18, 0, 8, -1);
    CORVEX_STMT;
    for (const Ref<TImage>& image : {flower, flower2, flower3, flower4}) SetImageHandle(image, 4, 18);
    CORVEX_STMT;
    SetOrigin(static_cast<float>(GraphicsWidth() / 2), static_cast<float>(GraphicsHeight() / 2));
    SetClsColor(240, 60, 150);
    for (int i = 0; i <= 1000; ++i) New<TDO>();

    for (;;) {
        CORVEX_BLOCK();
        CORVEX_STMT;
        const int w = GraphicsWidth();
        const int h = GraphicsHeight();
        CORVEX_LOCAL(w);
        CORVEX_LOCAL(h);
        CORVEX_STMT;
        Cls();
        SetColor(100, 200, 255);
        SetScale(1, 1);
        DrawRect(static_cast<float>(-(w / 2)), static_cast<float>(-(h / 2)), static_cast<float>(w),
                 static_cast<float>(h / 2));
        SetColor(255, 255, 255);
        CORVEX_STMT;
        TDO::render();
        CORVEX_STMT;
        if (KeyDown(KEY_LEFT)) cameraX -= 10;
        if (KeyDown(KEY_RIGHT)) cameraX += 10;
        if (KeyDown(KEY_UP)) cameraZ += 10;
        if (KeyDown(KEY_DOWN)) cameraZ -= 10;
        CORVEX_STMT;
        if (MouseDown(1)) {
            CORVEX_BLOCK();
            Ref<TDO> planted = New<TDO>();
            CORVEX_LOCAL(planted);
            planted->flowerMe();
            planted->x = cameraX;
            planted->z = cameraZ - 500;
        }
        CORVEX_STMT;
        Flip(-1);
        if (KeyHit(KEY_ESCAPE)) break;
    }
}

}  // namespace tarvolin_mac

namespace corvex {

CORVEX_MODULE(tarvolin_mac, &runtime_module, &umbrella_module) {
    using tarvolin_mac::TDO;
    CORVEX_DEBUG_TYPE(TDO, Object, CORVEX_FIELD(TDO, x), CORVEX_FIELD(TDO, y), CORVEX_FIELD(TDO, z),
                      CORVEX_FIELD(TDO, xv), CORVEX_FIELD(TDO, yv), CORVEX_FIELD(TDO, zv), CORVEX_FIELD(TDO, image),
                      CORVEX_FIELD(TDO, frame), CORVEX_FIELD(TDO, isFLower), CORVEX_FIELD(TDO, spawnTimer),
                      CORVEX_FIELD(TDO, following), CORVEX_TYPE_GLOBAL(TDO, followTDO),
                      CORVEX_TYPE_GLOBAL(TDO, TDO_list));
    tarvolin_mac::RunGame();
}

}  // namespace corvex
