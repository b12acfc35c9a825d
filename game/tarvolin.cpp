// The game body: window, title and fade, sprites, the world, then one iteration of the
// main loop per frame until Escape.
#include "game/tarvolin.h"

#include "draw2d/draw2d.h"
#include "graphics/graphics.h"
#include "polledinput/polledinput.h"
#include "runtime/debug.h"
#include "system/keycodes.h"
#include "system/system.h"
#include "umbrella/umbrella.h"

namespace tarvolin {

using namespace corvex;

Ref<TImage> bee, bee2, cloudimage, flower, flower2, flower3, flower4;
float cameraX = 0;
float cameraY = 50;
float cameraZ = 0;
Ref<TDO> cloud;
int cloudTimer = 0;

namespace {

// The title, full size at eight times its pixels, until the mouse button, Space, Enter
// or Z; then 34 frames fading it out.
void ShowTitle(const Ref<TImage>& smile) {
    CORVEX_FUNCTION("ShowTitle");
    CORVEX_LOCAL(smile);
    do {
        Cls();
        DrawImage(smile, 0, 0, 0);
        Flip(-1);
    } while (!(MouseDown(1) || KeyHit(KEY_SPACE) || KeyHit(KEY_ENTER) || KeyHit(KEY_Z)));

    float fade = 1.0f;
    CORVEX_LOCAL(fade);
    do {
        CORVEX_STMT;
        fade -= 0.03f;
        Cls();
        SetAlpha(fade);
        DrawImage(smile, 0, 0, 0);
        Flip(-1);
    } while (fade > 0);
    CORVEX_STMT;
    SetAlpha(1);
}

// Every image is used right after it is loaded, so a missing file stops the game with
// the null-object error; the flowers are all loaded before their handles are set.
void LoadSprites() {
    CORVEX_FUNCTION("LoadSprites");
    CORVEX_STMT;
    bee = LoadImage("bee.png", -1);
    CORVEX_STMT;
    SetImageHandle(bee, 2, 2);
    CORVEX_STMT;
    bee2 = LoadImage("bee2.png", -1);
    CORVEX_STMT;
    SetImageHandle(bee2, 2, 2);
    CORVEX_STMT;
    cloudimage = LoadAnimImage("cloud.png", 18, 24, 0, 4, -1);
    CORVEX_STMT;
    SetImageHandle(cloudimage, 9, 24);
    CORVEX_STMT;
    flower = LoadAnimImage("flower01.png", 9, 18, 0, 8, -1);
    CORVEX_STMT;
    flower2 = LoadAnimImage("flower02.png", 9, 18, 0, 8, -1);
    CORVEX_STMT;
    flower3 = LoadAnimImage("flower03.png", 9, 18, 0, 8, -1);
    CORVEX_STMT;
    flower4 = LoadAnimImage("flower04.png", 9, 18, 0, 8, -1);
    CORVEX_STMT;
    for (const Ref<TImage>& image : {flower, flower2, flower3, flower4}) SetImageHandle(image, 4, 18);
}

// Arrow keys, or the pointer resting in a band near an edge (the whole upper half for
// forward), move the camera by 10 units; opposite moves may cancel.
void MoveCamera() {
    CORVEX_FUNCTION("MoveCamera");
    CORVEX_STMT;
    const int w = GraphicsWidth();
    const int h = GraphicsHeight();
    CORVEX_LOCAL(w);
    CORVEX_LOCAL(h);
    CORVEX_STMT;
    if (KeyDown(KEY_LEFT) || static_cast<float>(MouseX()) < w * 0.2f) cameraX += 10;
    if (KeyDown(KEY_RIGHT) || static_cast<float>(MouseX()) > w * 0.8f) cameraX -= 10;
    if (KeyDown(KEY_UP) || static_cast<float>(MouseY()) < h * 0.5f) cameraZ -= 10;
    if (KeyDown(KEY_DOWN) || static_cast<float>(MouseY()) > h * 0.8f) cameraZ += 10;
}

// A held button plants a flower under the cloud every 10 frames and makes it rain.
void PlantUnderCloud() {
    CORVEX_FUNCTION("PlantUnderCloud");
    CORVEX_STMT;
    if (cloudTimer > 0) cloudTimer -= 1;
    CORVEX_STMT;
    if (MouseDown(1) && cloudTimer <= 0) {
        CORVEX_BLOCK();
        CORVEX_STMT;
        Ref<TDO> planted = New<TDO>();
        CORVEX_LOCAL(planted);
        CORVEX_STMT;
        planted->flowerMe();
        planted->x = cloud->x;
        planted->z = cloud->z;
        cloudTimer = 10;
        cloud->rainTimer = 30;
    }
}

// The game body; the game's globals show in its scope.
void RunGame() {
    CORVEX_FUNCTION("RunGame");
    CORVEX_GLOBAL(bee);
    CORVEX_GLOBAL(bee2);
    CORVEX_GLOBAL(cloudimage);
    CORVEX_GLOBAL(flower);
    CORVEX_GLOBAL(flower2);
    CORVEX_GLOBAL(flower3);
    CORVEX_GLOBAL(flower4);
    CORVEX_GLOBAL(cameraX);
    CORVEX_GLOBAL(cameraY);
    CORVEX_GLOBAL(cameraZ);
    CORVEX_GLOBAL(cloud);
    CORVEX_GLOBAL(cloudTimer);
    CORVEX_STMT;
    Graphics(1024, 768, 0, 60, 0);
    AutoImageFlags(MIPMAPPEDIMAGE);
    HideMouse();
    SetOrigin(static_cast<float>(GraphicsWidth() / 2), static_cast<float>(GraphicsHeight() / 2));
    SetBlend(ALPHABLEND);
    CORVEX_STMT;
    Ref<TImage> smile = LoadImage("title.png", -1);
    CORVEX_LOCAL(smile);
    CORVEX_STMT;
    MidHandleImage(smile);
    SetClsColor(255, 255, 255);
    SetScale(8, 8);
    CORVEX_STMT;
    ShowTitle(smile);

    CORVEX_STMT;
    LoadSprites();

    CORVEX_STMT;
    SetClsColor(240, 60, 150);  // the ground, below the sky
    for (int i = 0; i <= 300; ++i) New<TDO>();
    CORVEX_STMT;
    cloud = New<TDO>();
    cloud->cloudMe();

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
        MoveCamera();
        CORVEX_STMT;
        PlantUnderCloud();
        CORVEX_STMT;
        Flip(-1);
        CORVEX_STMT;
        if (KeyHit(KEY_ESCAPE)) break;
    }
}

}  // namespace

}  // namespace tarvolin

namespace corvex {

CORVEX_MODULE(tarvolin, &runtime_module, &umbrella_module) {
    using tarvolin::TDO;
    CORVEX_DEBUG_TYPE(TDO, Object, CORVEX_FIELD(TDO, x), CORVEX_FIELD(TDO, y), CORVEX_FIELD(TDO, z),
                      CORVEX_FIELD(TDO, xv), CORVEX_FIELD(TDO, yv), CORVEX_FIELD(TDO, zv), CORVEX_FIELD(TDO, dx),
                      CORVEX_FIELD(TDO, dy), CORVEX_FIELD(TDO, dz), CORVEX_FIELD(TDO, image), CORVEX_FIELD(TDO, frame),
                      CORVEX_FIELD(TDO, kind), CORVEX_FIELD(TDO, spawnTimer), CORVEX_FIELD(TDO, rainTimer),
                      CORVEX_FIELD(TDO, lifeTimer), CORVEX_FIELD(TDO, following), CORVEX_FIELD(TDO, deathCounter),
                      CORVEX_FIELD(TDO, killMe), CORVEX_FIELD(TDO, followTDO), CORVEX_TYPE_GLOBAL(TDO, followTarget),
                      CORVEX_TYPE_GLOBAL(TDO, TDO_list));
    tarvolin::RunGame();
}

}  // namespace corvex
