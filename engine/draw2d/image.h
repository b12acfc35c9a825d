/// @file
/// Images: drawable pictures with one or more animation frames.
///
/// Each frame is kept twice: its pixmap in main memory, the master copy, and a renderer
/// frame made from it on the first draw. A renderer frame belongs to the graphics of its
/// GraphicsSeq; when the graphics are replaced, or the pixmap may have changed (written
/// through Lock, replaced by SetPixmap), the next draw makes a new one. Images therefore
/// survive closing and reopening the graphics.
#pragma once

#include "draw2d/driver.h"
#include "stream/stream.h"

namespace corvex {

/// An image of one or more frames of the same size, kept as pixmaps and as the
/// renderer frames made from them.
class TImage : public Object {
public:
    /** @{ */
    /// The size of every frame.
    int width = 0, height = 0;
    /** @} */
    int flags = 0;  ///< image flags (MASKEDIMAGE, ...)
    /** @{ */
    /// The mask colour captured when the image was made.
    int mask_r = 0, mask_g = 0, mask_b = 0;
    /** @} */
    /** @{ */
    /// The point of the image, in its pixels from the top-left corner, that lands on the
    /// drawing position.
    float handle_x = 0, handle_y = 0;
    /** @} */
    Array<Ref<TPixmap>> pixmaps;     ///< each frame's pixmap
    Array<Ref<TImageFrame>> frames;  ///< each frame's renderer frame
    Array<int> seqs;                 ///< GraphicsSeq under which frames[i] was made; 0 when none

    /// The renderer frame of frame index, made by the current driver when it is missing
    /// or stale; Null when the driver cannot make it.
    Ref<TImageFrame> Frame(int index);
    /// The frame's pixmap, made (uncleared) when it has none. A write lock drops the
    /// renderer frame, so the next draw rebuilds it.
    Ref<TPixmap> Lock(int index, int read, int write);
    /// With MASKEDIMAGE, a pixmap without alpha gets it from the mask colour.
    void SetPixmap(int index, const Ref<TPixmap>& pixmap);

    /// An image of frames frames without pixels yet, mask colour (mr, mg, mb).
    static Ref<TImage> Create(int width, int height, int frames, int flags, int mr, int mg, int mb);
    /// url: a TPixmap, a path or a stream; Null when nothing could be loaded.
    static Ref<TImage> Load(const Ref<Object>& url, int flags, int mr, int mg, int mb);
    /// Frames cut from a grid of cells numbered row by row from the top left; Null when
    /// the cells first .. first + count - 1 are not all in the grid.
    static Ref<TImage> LoadAnim(const Ref<Object>& url, int cell_width, int cell_height, int first, int count,
                                int flags, int mr, int mg, int mb);

    /** @{ */
    /// Serialised form: width, height, flags, mask colour, handle, frame count, then
    /// each frame's pixmap. Read gives Null for sizes or pixmaps that make no image; a
    /// stream that ends early raises its read error.
    void Write(const Ref<TStream>& stream) const;
    static Ref<TImage> Read(const Ref<TStream>& stream);
    /** @} */
};

/** @{ */
/// TImage::Load and TImage::LoadAnim with the current mask colour. flags -1 takes the
/// automatic flags in the loaders and CreateImage.
Ref<TImage> LoadImage(const Ref<Object>& url, int flags = -1);
Ref<TImage> LoadImage(const String& url, int flags = -1);
Ref<TImage> LoadAnimImage(const Ref<Object>& url, int cell_width, int cell_height, int first_cell, int cell_count,
                          int flags = -1);
Ref<TImage> LoadAnimImage(const String& url, int cell_width, int cell_height, int first_cell, int cell_count,
                          int flags = -1);
/** @} */
/// An empty image for content made at run time; its flags always carry DYNAMICIMAGE.
Ref<TImage> CreateImage(int width, int height, int frames = 1, int flags = -1);

/// The flags of images loaded with flags -1 (initially MASKEDIMAGE | FILTEREDIMAGE);
/// -1 leaves them unchanged.
void AutoImageFlags(int flags);
/// When on, new images get their handle at their centre.
void AutoMidHandle(int enable);
/** @{ */
/// The colour that MASKEDIMAGE makes transparent in later loads and grabs.
void SetMaskColor(int red, int green, int blue);
void GetMaskColor(int& red, int& green, int& blue);
/** @} */

/// Sets the image's handle.
void SetImageHandle(const Ref<TImage>& image, float x, float y);
/// Puts the image's handle at its centre.
void MidHandleImage(const Ref<TImage>& image);
/** @{ */
/// The size of the image's frames.
int ImageWidth(const Ref<TImage>& image);
int ImageHeight(const Ref<TImage>& image);
/** @} */

/// Draws a frame with its handle at (x, y), turned and scaled about the handle.
void DrawImage(const Ref<TImage>& image, float x, float y, int frame = 0);
/// The same, stretched to width by height.
void DrawImageRect(const Ref<TImage>& image, float x, float y, float width, float height, int frame = 0);
/// Fills the viewport with unrotated, unscaled copies of a frame, one of them at (x, y).
void TileImage(const Ref<TImage>& image, float x = 0, float y = 0, int frame = 0);

/// TImage::Lock as a free function.
Ref<TPixmap> LockImage(const Ref<TImage>& image, int frame = 0, int read_lock = 1, int write_lock = 1);
/// Does nothing: a lock needs no unlocking.
void UnlockImage(const Ref<TImage>& image, int frame = 0);
/// Copies the screen rectangle of the image's size at (x, y) into a frame.
void GrabImage(const Ref<TImage>& image, int x, int y, int frame = 0);

}  // namespace corvex
