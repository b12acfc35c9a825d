/// @file
/// Platform contract: the native OpenGL contexts under the OpenGL graphics driver.
///
/// Each backend implements these functions: the X11 layer with GLX windows and
/// XRandR display modes, the headless layer with contexts of the requested size that
/// have no window (presenting advances the virtual clock). The driver objects of the
/// glgraphics module are the same on both, so a program picks its platform at link time.
///
/// Every context shares its textures and display lists with one hidden shared context,
/// made on the first create or attach and kept until the process ends.
#pragma once

#include <cstdint>

namespace corvex {

struct GLContext;  ///< a native context record, owned by the platform layer

/** @{ */
/// The buffers a context asks for, in the flags of GLContextCreate and GLContextAttach:
/// the same bits as the graphics module's GRAPHICS_* flags.
inline constexpr int GLCONTEXT_BACKBUFFER = 2;
inline constexpr int GLCONTEXT_ALPHABUFFER = 4;
inline constexpr int GLCONTEXT_DEPTHBUFFER = 8;
inline constexpr int GLCONTEXT_STENCILBUFFER = 16;
inline constexpr int GLCONTEXT_ACCUMBUFFER = 32;
/** @} */

/// A new context with its own window (depth 0) or full-screen (any other depth), or
/// nullptr when the display, the window or a pixel format cannot be had.
GLContext* GLContextCreate(int width, int height, int depth, int hertz, int flags);
/// A new context drawing into the caller's existing window, or nullptr.
GLContext* GLContextAttach(std::uintptr_t window, int flags);
/// Size (re-read for attached windows), depth, hertz and flags of a context.
void GLContextGetSettings(GLContext* context, int& width, int& height, int& depth, int& hertz, int& flags);
/// Makes context (nullptr: none) the current one.
void GLContextMakeCurrent(GLContext* context);
/// Releases the context and its own window; a context already closed is ignored.
void GLContextClose(GLContext* context);
/// Presents the current context; sync nonzero waits for the vertical blank.
void GLContextFlip(int sync);
/// Switches to the shared context, or back from it to the current one.
void GLContextSwapShared();
/// Writes up to max display modes as width, height, bits per pixel, hertz quadruples
/// into buffer (4 * max ints); returns the number of modes. Modes under 16 bits per
/// pixel are left out.
int GLContextModes(int* buffer, int max);

}  // namespace corvex
