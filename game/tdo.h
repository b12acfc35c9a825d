// The world of the meadow: one list of world objects, each a bee, a flower or the
// cloud, and the pass that moves, projects and draws them all once per frame.
//
// Every random decision is drawn from the engine's one generator in a fixed order, so
// a run repeats exactly. Positions and velocities are 32-bit floats and every constant
// that acts on them is one too: a double constant in their place changes the run.
#pragma once

#include "draw2d/image.h"
#include "linkedlist/linkedlist.h"

namespace tarvolin {

using corvex::Ref;

class TDO : public corvex::Object {
public:
    static constexpr int KINDCLOUD = 0;
    static constexpr int KINDBEE = 1;
    static constexpr int KINDFLOWER = 2;

    float x = 0, y = 0, z = 0;     // z grows away from the view; y = 0 is the ground
    float xv = 0, yv = 0, zv = 0;  // world units per frame
    float dx = 0, dy = 0, dz = 0;  // the cloud's destination
    Ref<corvex::TImage> image;
    int frame = 0;
    int kind = 0;
    int spawnTimer = 0;    // flower: frames lived while not wilting
    int rainTimer = 0;     // cloud: frames of rain still to show
    int lifeTimer = 0;     // flower: frames left to live; may go below 0
    int following = 0;     // bee: 1 while flying to followTDO
    int deathCounter = 0;  // flower: wilting frames still to play
    int killMe = 0;        // 1 once dead; dropped at the end of the pass
    // Declared last so that it is released before image when the object goes.
    Ref<TDO> followTDO;

    // Draws the position, appends the object to the world (making the world list on
    // first use) and makes it a bee, the rare bee or, by chance, a flower.
    TDO();

    // 1 when other lies nearer the view than this object (smaller z), else -1: never 0,
    // so the stable sort keeps objects of equal depth in their order. other must be a
    // TDO (the null-object error otherwise).
    int Compare(const corvex::Object* other) const override;

    // Turns the object into a freshly planted flower of one of the four kinds and makes
    // it the flower that bees start to follow.
    virtual int flowerMe();
    // Turns the object into the cloud; everything else it holds stays.
    virtual int cloudMe();

    // The world pass: sorts the world by depth, updates and draws every object far to
    // near, then drops the dead. Needs the world list (a TDO made before) and a current
    // 2D context whose origin is the screen centre.
    static int render();

    // The flower that bees start to follow when they decide to follow.
    static Ref<TDO> followTarget;
    // Every world object, in drawing order after each pass.
    static Ref<corvex::TList> TDO_list;

private:
    void UpdateBee();
    void UpdateFlower();
    void UpdateCloud();
    // Slows the velocity by damping (z, x, y in that order) and moves by it.
    void Glide(float damping);
    void Project();
};

}  // namespace tarvolin
