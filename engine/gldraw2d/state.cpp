#include "gldraw2d/state.h"

#include "draw2d/driver.h"

namespace corvex::gldraw2d_state {

float ix = 1, iy = 0, jx = 0, jy = 1;
GLubyte color4ub[4] = {0, 0, 0, 0};
int state_blend = 0;
int state_boundtex = 0;
int state_texenabled = 0;
bool process_ending = false;

void ForgetState() { state_blend = state_boundtex = state_texenabled = 0; }

void ApplyBlend(int blend) {
    if (blend == state_blend) return;
    state_blend = blend;
    switch (blend) {
        case MASKBLEND:
            glDisable(GL_BLEND);
            glEnable(GL_ALPHA_TEST);
            glAlphaFunc(GL_GEQUAL, 0.5f);
            break;
        case ALPHABLEND:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glDisable(GL_ALPHA_TEST);
            break;
        case LIGHTBLEND:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            glDisable(GL_ALPHA_TEST);
            break;
        case SHADEBLEND:
            glEnable(GL_BLEND);
            glBlendFunc(GL_DST_COLOR, GL_ZERO);
            glDisable(GL_ALPHA_TEST);
            break;
        default:  // SOLIDBLEND and unknown modes draw opaque
            glDisable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            break;
    }
}

void BindTex(int name) {
    if (name == state_boundtex) return;
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(name));
    state_boundtex = name;
}

void EnableTex(int name) {
    BindTex(name);
    if (state_texenabled) return;
    glEnable(GL_TEXTURE_2D);
    state_texenabled = 1;
}

void DisableTex() {
    if (!state_texenabled) return;
    glDisable(GL_TEXTURE_2D);
    state_texenabled = 0;
}

}  // namespace corvex::gldraw2d_state
