/// @file
/// The OpenGL 2D renderer's process-wide state, shared by its source files only: the
/// current transform and colour, and a cache of the OpenGL state that sprites change, so
/// that repeated state changes never reach OpenGL.
#pragma once

#include <GL/gl.h>

namespace corvex::gldraw2d_state {

/** @{ */
/// The current 2x2 transform.
extern float ix, iy, jx, jy;
/** @} */
/// Red, green, blue and alpha as sent to glColor4ubv.
extern GLubyte color4ub[4];
/** @{ */
/// What the cache last sent to OpenGL; 0 for blend and texture means unknown.
extern int state_blend;
extern int state_boundtex;
extern int state_texenabled;
/** @} */
/// Set once the process has begun to end: textures then go with the OpenGL contexts, and
/// frames freed by static destructors must not reach drivers or a display already gone.
extern bool process_ending;

/// Forgets what was sent, for a context whose state is not known.
void ForgetState();
/// Sends the blend mode unless it is the one last sent.
void ApplyBlend(int blend);
/// Binds the texture unless it is the one last bound.
void BindTex(int name);
/** @{ */
/// Binds the texture and turns texturing on.
void EnableTex(int name);
void DisableTex();
/** @} */

/// A local point through the transform, translated by (tx, ty).
inline void TransformedVertex(float x, float y, float tx, float ty) {
    glVertex2f(x * ix + y * iy + tx, x * jx + y * jy + ty);
}

}  // namespace corvex::gldraw2d_state
