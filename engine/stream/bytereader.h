/// @file
/// ByteReader: how the picture loaders and the pixmap serialiser read a stream. Small
/// reads of decoded data come from a block buffer, so a pixel costs no stream call;
/// headers are read exactly, so a refused file leaves the stream just past what was
/// looked at; and the size the stream reports lets a decoder check, before it
/// allocates anything, that the data can hold what a header claims.
#pragma once

#include <cstdint>

#include "stream/stream.h"

namespace corvex {

/** @{ */
/// Integers stored in a byte array, least or most significant byte first.
inline uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24; }
inline uint32_t Be32(const uint8_t* p) { return uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3]; }
/** @} */

/// A buffered reader over a stream, counting offsets from where the stream stood.
class ByteReader {
public:
    /// The buffer's size: the most Peek and Take can return at once.
    static constexpr int kBlock = 8192;

    /** @{ */
    /// Offsets are counted from where the stream stands now.
    explicit ByteReader(TStream& stream) : s_(stream), start_(stream.Pos()) {}
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;
    /** @} */

    /// Copies up to count bytes: the buffered ones first, the rest straight from the
    /// stream without reading ahead. Fewer only when the stream ends first.
    int64_t Read(void* buf, int64_t count) {
        // Loaders that read whole rows mostly find the buffer empty: no call more than
        // the stream's own for each row.
        if (pos_ == end_) {
            int64_t got = s_.ReadBytes(buf, count);
            base_ += got;
            return got;
        }
        return ReadBuffered(buf, count);
    }

    /// The next n bytes (n <= kBlock), left unread: a later read returns them again.
    /// Reads only the bytes not yet buffered. Null when the stream ends first.
    const uint8_t* Peek(int n) { return end_ - pos_ >= n || Fill(n) >= n ? buf_ + pos_ : nullptr; }

    /// The next n bytes (n <= kBlock), read ahead a block at a time. Past the end of
    /// the stream the missing bytes are zeros, as the stream's own short reads give.
    const uint8_t* Take(int n) {
        if (end_ - pos_ < n) Refill(n);
        const uint8_t* p = buf_ + pos_;
        pos_ += n;
        return p;
    }

    /// Goes to offset: forward by skipping, so streams that cannot seek still work,
    /// backward by seeking. False when the stream ends first or cannot seek.
    bool MoveTo(int64_t offset);

    /// False only when the stream knows its size and fewer than count bytes are left
    /// after the reader's offset (bytes buffered but not yet handed out count as left).
    bool MayHold(int64_t count) const;

private:
    int64_t Offset() const { return base_ + pos_; }
    /// Read when bytes are buffered.
    int64_t ReadBuffered(void* buf, int64_t count);
    /** @{ */
    /// Tops the buffer up to want bytes, fewer when the stream ends first; returns the
    /// bytes buffered.
    int Fill(int want);
    void Refill(int n);
    /** @} */
    /// Empties the buffer, its bytes handed out.
    void Drop();

    TStream& s_;
    const int64_t start_;
    /** @{ */
    /// The reader's offset is base_ + pos_; buf_[pos_] to buf_[end_ - 1] are buffered
    /// and not handed out.
    int64_t base_ = 0;
    int pos_ = 0, end_ = 0;
    uint8_t buf_[kBlock];
    /** @} */
};

}  // namespace corvex
