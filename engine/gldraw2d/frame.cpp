// Image frames as textures: the texture's making, its upload with the mipmap chain, its
// drawing and its deletion.
#include <GL/gl.h>

#include <algorithm>

#include "gldraw2d/gldraw2d.h"
#include "gldraw2d/state.h"
#include "runtime/exception.h"

namespace corvex {

using namespace gldraw2d_state;

namespace {

// The pixmap on a tex_w by tex_h canvas, its last column and row repeated once beside
// it so that filtering at the image's edge reads the edge's own colour.
Ref<TPixmap> PadPixmap(const Ref<TPixmap>& src, int tex_w, int tex_h) {
    const int width = src->width, height = src->height;
    Ref<TPixmap> t = CreatePixmap(tex_w, tex_h, PF_RGBA8888, 4);
    t->Paste(src, 0, 0);
    if (width == 0 || height == 0) return t;  // no edge to repeat
    if (width < tex_w) t->Paste(src->Window(width - 1, 0, 1, height), width, 0);
    if (height < tex_h) {
        t->Paste(src->Window(0, height - 1, width, 1), 0, height);
        if (width < tex_w) t->Paste(src->Window(width - 1, height - 1, 1, 1), width, height);
    }
    return t;
}

void SetFilters(int flags) {
    const bool filtered = flags & FILTEREDIMAGE, mipmapped = flags & MIPMAPPEDIMAGE;
    const GLint mag = filtered ? GL_LINEAR : GL_NEAREST;
    GLint min = filtered ? GL_LINEAR : GL_NEAREST;
    if (mipmapped) min = filtered ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
}

// A new texture, bound, with storage for level 0 and, for mipmapped images, every level
// down to 1 x 1. It is bound past the state cache: this runs in the shared context.
GLuint CreateTexture(int width, int height, int flags) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    SetFilters(flags);
    for (int level = 0;; ++level) {
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        if (!(flags & MIPMAPPEDIMAGE) || (width == 1 && height == 1)) break;
        width = std::max(width / 2, 1);
        height = std::max(height / 2, 1);
    }
    return name;
}

// Fills the bound texture from a PF_RGBA8888 pixmap, each mipmap level resampled from
// the one above.
void UploadTexture(Ref<TPixmap> pixmap, int flags) {
    for (int level = 0;; ++level) {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, pixmap->pitch / BytesPerPixel[pixmap->format]);
        glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, pixmap->width, pixmap->height, GL_RGBA, GL_UNSIGNED_BYTE,
                        pixmap->pixels);
        const int width = pixmap->width, height = pixmap->height;
        if (!(flags & MIPMAPPEDIMAGE) || (width == 1 && height == 1)) break;
        pixmap = ResamplePixmap(pixmap, std::max(width / 2, 1), std::max(height / 2, 1));
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

}  // namespace

Ref<TGLImageFrame> TGLImageFrame::CreateFromPixmap(const Ref<TPixmap>& src, int flags) {
    int tex_w = src->width, tex_h = src->height;
    GLAdjustTexSize(tex_w, tex_h);
    const int width = std::min(src->width, tex_w), height = std::min(src->height, tex_h);
    Ref<TPixmap> t = src;
    if (width < src->width || height < src->height) t = ResamplePixmap(src, width, height);
    if (width < tex_w || height < tex_h) t = PadPixmap(t, tex_w, tex_h);
    if (t->format != PF_RGBA8888) t = t->Convert(PF_RGBA8888);

    Ref<TGLImageFrame> frame = New<TGLImageFrame>();
    frame->name = static_cast<int>(CreateTexture(tex_w, tex_h, flags));
    frame->seq = GraphicsSeq;
    UploadTexture(t, flags);
    frame->u1 = static_cast<float>(width) / static_cast<float>(tex_w);
    frame->v1 = static_cast<float>(height) / static_cast<float>(tex_h);
    return frame;
}

TGLImageFrame::~TGLImageFrame() {
    if (!seq || process_ending) return;
    const GLuint texture = static_cast<GLuint>(name);
    GLGraphicsDriver()->SwapSharedContext();
    glDeleteTextures(1, &texture);
    GLGraphicsDriver()->SwapSharedContext();
    // In the context drawing now the name is unbound as well; the cache must not take
    // a new texture given the same name for bound already.
    if (seq == GraphicsSeq) {
        glDeleteTextures(1, &texture);
        if (name == state_boundtex) state_boundtex = 0;
    }
    seq = 0;
}

void TGLImageFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty) {
    if (seq != GraphicsSeq) RaiseRuntimeError("Image does not exist");
    EnableTex(name);
    glBegin(GL_QUADS);
    glTexCoord2f(u0, v0);
    TransformedVertex(x0, y0, tx, ty);
    glTexCoord2f(u1, v0);
    TransformedVertex(x1, y0, tx, ty);
    glTexCoord2f(u1, v1);
    TransformedVertex(x1, y1, tx, ty);
    glTexCoord2f(u0, v1);
    TransformedVertex(x0, y1, tx, ty);
    glEnd();
}

}  // namespace corvex
