/// @file
/// Fonts: source fonts behind TFont and TGlyph, found through a chain of font loaders,
/// and image fonts, which turn each glyph into a one-frame image the first time it is
/// needed. The default image font is built from an 8 x 16 bitmap font embedded in the
/// program as "veskfont.bin" and needs no loader.
#pragma once

#include "draw2d/image.h"

namespace corvex {

/** @{ */
/// Font styles.
inline constexpr int BOLDFONT = 1;
inline constexpr int ITALICFONT = 2;
inline constexpr int SMOOTHFONT = 4;
/** @} */

/// One character's picture in a font.
class TGlyph : public Object {
public:
    /// The glyph's pixels (a TPixmap for image fonts), Null for a glyph without any.
    virtual Ref<Object> Pixels() = 0;
    /// How far the pen moves on after the glyph, in pixels.
    virtual float Advance() = 0;
    /// Offset of the pixels from the pen position, and their size.
    virtual void GetRect(int& x, int& y, int& w, int& h) = 0;
};

/// A font a font loader made.
class TFont : public Object {
public:
    /// The style bits it was loaded with.
    virtual int Style() = 0;
    /// The height of a line in pixels.
    virtual int Height() = 0;
    /// The number of glyphs.
    virtual int CountGlyphs() = 0;
    /// The glyph index of a UTF-16 code unit; negative when the font lacks it.
    virtual int CharToGlyph(int ch) = 0;
    /// The glyph at index.
    virtual Ref<TGlyph> LoadGlyph(int index) = 0;
};

/// A reader of one font format.
class TFontLoader : public Object {
public:
    /// The font at url in size pixels and style, or Null when it is not this loader's.
    virtual Ref<TFont> LoadFont(const Ref<Object>& url, int size, int style) = 0;
    Ref<TFontLoader> _succ;  ///< the next loader of the chain
};

/// Puts a loader at the head of the chain; a loader already in a chain stays where it is.
void AddFontLoader(const Ref<TFontLoader>& loader);
/// The first font a loader of the chain makes, newest loader first; Null if none does.
Ref<TFont> LoadFont(const Ref<Object>& url, int size, int style);

/// A glyph drawn from an image.
class TImageGlyph : public TGlyph {
public:
    Ref<Object> Pixels() override { return _image; }
    float Advance() override { return _advance; }
    void GetRect(int& x, int& y, int& w, int& h) override;

    Ref<TImage> _image;  ///< Null for a glyph without pixels
    float _advance = 0;  ///< what Advance returns
    /** @{ */
    /// What GetRect returns.
    int _x = 0, _y = 0, _w = 0, _h = 0;
    /** @} */
};

/// The font text is drawn in: the glyphs of a loaded font turned into images, or the
/// embedded default font.
class TImageFont : public Object {
public:
    /// As TFont's, of the source font; the default font has style 0, height 16 and
    /// characters 32 to 127.
    /** @{ */
    int Style();
    int Height();
    int CountGlyphs();
    int CharToGlyph(int ch);
    /** @} */
    /// Built once per index; an index outside the font raises "Assert failed".
    Ref<TImageGlyph> LoadGlyph(int index);
    /// Draws text with the pen starting at (x, y), glyphs and pen turned and scaled by
    /// the transform ix, iy, jx, jy.
    void Draw(const String& text, float x, float y, float ix, float iy, float jx, float jy);

    /// Null when no loader can open the font.
    static Ref<TImageFont> Load(const Ref<Object>& url, int size, int style);
    /// The 96 glyphs of the embedded 8 x 16 font, characters 32 to 127.
    static Ref<TImageFont> CreateDefault();

    Ref<TFont> _src_font;             ///< Null for the default font
    Array<Ref<TImageGlyph>> _glyphs;  ///< by index, Null until built
    int _imageFlags = 0;              ///< the image flags of the glyphs' images
};

}  // namespace corvex
