// The font-loader chain and image fonts: glyph images made on first use, text drawn
// glyph by glyph along the transformed baseline.
#include "draw2d/font.h"

#include "runtime/exception.h"

namespace corvex {

namespace {

Ref<TFontLoader> _loaders;

constexpr int kDefaultFirstChar = 32;
constexpr int kDefaultChars = 96;
constexpr int kDefaultHeight = 16;

}  // namespace

void AddFontLoader(const Ref<TFontLoader>& loader) {
    // The chain's last loader has no successor either: looked for by identity, so that
    // adding it again cannot close the chain into a circle.
    for (TFontLoader* in_chain = _loaders.get(); in_chain; in_chain = in_chain->_succ.get()) {
        if (in_chain == loader.get()) return;
    }
    loader->_succ = _loaders;
    _loaders = loader;
}

Ref<TFont> LoadFont(const Ref<Object>& url, int size, int style) {
    for (Ref<TFontLoader> loader = _loaders; loader; loader = loader->_succ) {
        if (Ref<TFont> font = loader->LoadFont(url, size, style)) return font;
    }
    return nullptr;
}

void TImageGlyph::GetRect(int& x, int& y, int& w, int& h) {
    x = _x;
    y = _y;
    w = _w;
    h = _h;
}

int TImageFont::Style() { return _src_font ? _src_font->Style() : 0; }

int TImageFont::Height() { return _src_font ? _src_font->Height() : kDefaultHeight; }

int TImageFont::CountGlyphs() { return _glyphs.Length(); }

int TImageFont::CharToGlyph(int ch) {
    if (_src_font) return _src_font->CharToGlyph(ch);
    return ch >= kDefaultFirstChar && ch < kDefaultFirstChar + kDefaultChars ? ch - kDefaultFirstChar : -1;
}

Ref<TImageGlyph> TImageFont::LoadGlyph(int index) {
    if (index < 0 || index >= CountGlyphs()) RaiseRuntimeError("Assert failed");
    if (Ref<TImageGlyph> glyph = _glyphs[index]) return glyph;
    Ref<TImageGlyph> glyph = New<TImageGlyph>();
    _glyphs[index] = glyph;
    Ref<TGlyph> source = _src_font->LoadGlyph(index);
    glyph->_advance = source->Advance();
    source->GetRect(glyph->_x, glyph->_y, glyph->_w, glyph->_h);
    if (Ref<TPixmap> pixels = Cast<TPixmap>(source->Pixels())) {
        glyph->_image = TImage::Load(pixels->Copy(), _imageFlags, 0, 0, 0);
    }
    return glyph;
}

void TImageFont::Draw(const String& text, float x, float y, float ix, float iy, float jx, float jy) {
    for (char16_t ch : text.Text()) {
        const int index = CharToGlyph(ch);
        if (index < 0) continue;
        Ref<TImageGlyph> glyph = LoadGlyph(index);
        if (const Ref<TImage>& image = glyph->_image) {
            if (Ref<TImageFrame> frame = image->Frame(0)) {
                const float tx = glyph->_x * ix + glyph->_y * iy;
                const float ty = glyph->_x * jx + glyph->_y * jy;
                frame->Draw(0, 0, static_cast<float>(image->width), static_cast<float>(image->height), x + tx, y + ty);
            }
        }
        x += glyph->_advance * ix;
        y += glyph->_advance * jx;
    }
}

Ref<TImageFont> TImageFont::Load(const Ref<Object>& url, int size, int style) {
    Ref<TFont> source = LoadFont(url, size, style);
    if (!source) return nullptr;
    Ref<TImageFont> font = New<TImageFont>();
    font->_src_font = source;
    font->_glyphs = Array<Ref<TImageGlyph>>(source->CountGlyphs());
    if (style & SMOOTHFONT) font->_imageFlags = FILTEREDIMAGE | MIPMAPPEDIMAGE;
    return font;
}

}  // namespace corvex
