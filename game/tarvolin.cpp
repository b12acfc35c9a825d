// The game body: window, title and fade, sprites, the world, then one iteration of the
// main loop per frame until Escape.
#include "game/tarvolin.h"

#include "draw2d/draw2d.h"
#include "graphics/graphics.h"
#include "polledinput/polledinput.h"
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
    do {
        Cls();
        DrawImage(smile, 0, 0, 0);
        Flip(-1);
    } while (!(MouseDown(1) || KeyHit(KEY_SPACE) || KeyHit(KEY_ENTER) || KeyHit(KEY_Z)));

    float fade = 1.0f;
    do {
        fade -= 0.03f;
        Cls();
        SetAlpha(fade);
        DrawImage(smile, 0, 0, 0);
        Flip(-1);
    } while (fade > 0);
    SetAlpha(1);
}

// Every image is used right after it is loaded, so a missing file stops the game with
// the null-object error; the flowers are all loaded before their handles are set.
void LoadSprites() {
    bee = LoadImage("bee.png", -1);
    SetImageHandle(bee, 2, 2);
    bee2 = LoadImage("bee2.png", -1);
    SetImageHandle(bee2, 2, 2);
    cloudimage = LoadAnimImage("cloud.png", 18, 24, 0, 4, -1);
    SetImageHandle(cloudimage, 9, 24);
    flower = LoadAnimImage("flower01.png", 9, 18, 0, 8, -1);
    flower2 = LoadAnimImage("flower02.png", 9, 18, 0, 8, -1);
    flower3 = LoadAnimImage("flower03.png", 9, 18, 0, 8, -1);
    flower4 = LoadAnimImage("flower04.png", 9, 18, 0, 8, -1);
    for (const Ref<TImage>& image : {flower, flower2, flower3, flower4}) SetImageHandle(image, 4, 18);
}

// Arrow keys, or the pointer resting in a band near an edge (the whole upper half for
// forward), move the camera by 10 units; opposite moves may cancel.
void MoveCamera() {
    const int w = GraphicsWidth();
    const int h = GraphicsHeight();
    if (KeyDown(KEY_LEFT) || static_cast<float>(MouseX()) < w * 0.2f) cameraX += 10;
    if (KeyDown(KEY_RIGHT) || static_cast<float>(MouseX()) > w * 0.8f) cameraX -= 10;
    if (KeyDown(KEY_UP) || static_cast<float>(MouseY()) < h * 0.5f) cameraZ -= 10;
    if (KeyDown(KEY_DOWN) || static_cast<float>(MouseY()) > h * 0.8f) cameraZ += 10;
}

// A held button plants a flower under the cloud every 10 frames and makes it rain.
void PlantUnderCloud() {
    if (cloudTimer > 0) cloudTimer -= 1;
    if (MouseDown(1) && cloudTimer <= 0) {
        Ref<TDO> planted = New<TDO>();
        planted->flowerMe();
        planted->x = cloud->x;
        planted->z = cloud->z;
        cloudTimer = 10;
        cloud->rainTimer = 30;
    }
}

void RunGame() {
    Graphics(1024, 768, 0, 60, 0);
    AutoImageFlags(MIPMAPPEDIMAGE);
    HideMouse();
    SetOrigin(static_cast<float>(GraphicsWidth() / 2), static_cast<float>(GraphicsHeight() / 2));
    SetBlend(ALPHABLEND);
    Ref<TImage> smile = LoadImage("title.png", -1);
    MidHandleImage(smile);
    SetClsColor(255, 255, 255);
    SetScale(8, 8);
    ShowTitle(smile);

    LoadSprites();

    SetClsColor(240, 60, 150);  // the ground, below the sky
    for (int i = 0; i <= 300; ++i) New<TDO>();
    cloud = New<TDO>();
    cloud->cloudMe();

    for (;;) {
        const int w = GraphicsWidth();
        const int h = GraphicsHeight();
        Cls();
        SetColor(100, 200, 255);
        SetScale(1, 1);
        DrawRect(static_cast<float>(-(w / 2)), static_cast<float>(-(h / 2)), static_cast<float>(w),
                 static_cast<float>(h / 2));
        SetColor(255, 255, 255);
        TDO::render();
        MoveCamera();
        PlantUnderCloud();
        Flip(-1);
        if (KeyHit(KEY_ESCAPE)) break;
    }
}

}  // namespace

}  // namespace tarvolin

namespace corvex {

CORVEX_MODULE(tarvolin, &runtime_module, &umbrella_module) { tarvolin::RunGame(); }

}  // namespace corvex
