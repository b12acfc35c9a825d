// The game module: the meadow's sprites, its camera and the game body that opens the
// window, shows the title and runs the main loop until Escape.
#pragma once

#include "draw2d/image.h"
#include "game/tdo.h"
#include "runtime/module.h"

namespace tarvolin {

// The sprites, loaded by the game body after the title; Null until then.
extern Ref<corvex::TImage> bee, bee2, cloudimage, flower, flower2, flower3, flower4;
// The camera: x across, y its height above the ground (fixed), z its depth.
extern float cameraX, cameraY, cameraZ;
// The one cloud, made after the first world objects.
extern Ref<TDO> cloud;
// Frames until the next flower may be planted.
extern int cloudTimer;

}  // namespace tarvolin

namespace corvex {
// The game module; its body is the whole game and returns when the player leaves.
extern Module tarvolin_module;
}  // namespace corvex
