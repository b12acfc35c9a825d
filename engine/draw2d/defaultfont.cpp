// The default image font, built from the 8 x 16 bitmap font embedded as "veskfont.bin":
// 16 pixel rows, top first; each row one byte per character 32..127; bit 0 of a byte is
// the character's leftmost pixel and a set bit is ink. The bytes are made at build time
// from veskfont.txt by tools/make_font.py.
#include "draw2d/font.h"
#include "incbin/incbin.h"
#include "runtime/exception.h"

namespace corvex {

namespace {

constexpr int kChars = 96;
constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;

// All glyphs side by side: ink opaque white, the rest transparent black.
Ref<TPixmap> FontSheet() {
    const IncbinBlock* block = FindIncbin("veskfont.bin");
    if (!block || block->size != size_t{kChars} * kCellHeight) RaiseRuntimeError("Default font is missing");
    Ref<TPixmap> sheet = CreatePixmap(kChars * kCellWidth, kCellHeight, PF_RGBA8888, 4);
    for (int y = 0; y < kCellHeight; ++y) {
        for (int k = 0; k < kChars; ++k) {
            const unsigned bits = block->data[y * kChars + k];
            for (int b = 0; b < kCellWidth; ++b) {
                sheet->WritePixel(k * kCellWidth + b, y, (bits >> b) & 1 ? 0xFFFFFFFFu : 0u);
            }
        }
    }
    return sheet;
}

}  // namespace

Ref<TImageFont> TImageFont::CreateDefault() {
    Ref<TImageFont> font = New<TImageFont>();
    font->_glyphs = Array<Ref<TImageGlyph>>(kChars);
    Ref<TPixmap> sheet = FontSheet();
    for (int k = 0; k < kChars; ++k) {
        Ref<TImageGlyph> glyph = New<TImageGlyph>();
        glyph->_advance = kCellWidth;
        glyph->_w = kCellWidth;
        glyph->_h = kCellHeight;
        glyph->_image = TImage::Load(sheet->Window(k * kCellWidth, 0, kCellWidth, kCellHeight)->Copy(), 0, 0, 0, 0);
        font->_glyphs[k] = glyph;
    }
    return font;
}

}  // namespace corvex
