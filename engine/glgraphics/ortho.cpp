// OpenGL helpers for renderers: a 2D projection and texture sizes.
#include <GL/gl.h>

#include <climits>

#include "glgraphics/glgraphics.h"
#include "runtime/exception.h"

namespace corvex {

double ortho_mv[16];
double ortho_pj[16];

void BeginOrtho() {
    glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT | GL_TEXTURE_BIT);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_MODELVIEW_MATRIX, ortho_mv);
    glGetDoublev(GL_PROJECTION_MATRIX, ortho_pj);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, viewport[2], viewport[3], 0, -1, 1);
    glDisable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
}

void EndOrtho() {
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(ortho_pj);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(ortho_mv);
    glPopAttrib();
}

int Pow2Size(int n) {
    int t = 1;
    while (t < n && t <= INT_MAX / 2) t *= 2;
    return t;
}

void GLAdjustTexSize(int& width, int& height) {
    width = Pow2Size(width);
    height = Pow2Size(height);
    for (;;) {
        GLint accepted = 0;
        glTexImage2D(GL_PROXY_TEXTURE_2D, 0, 4, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &accepted);
        if (accepted) return;
        if (width == 1 && height == 1) RaiseRuntimeError("Unable to calculate tex size");
        if (width > 1) width /= 2;
        if (height > 1) height /= 2;
    }
}

}  // namespace corvex
