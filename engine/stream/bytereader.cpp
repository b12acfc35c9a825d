#include "stream/bytereader.h"

#include <algorithm>
#include <cstring>

namespace corvex {

int64_t ByteReader::ReadBuffered(void* buf, int64_t count) {
    auto* out = static_cast<uint8_t*>(buf);
    int64_t buffered = std::min<int64_t>(count, end_ - pos_);
    std::memcpy(out, buf_ + pos_, static_cast<size_t>(buffered));
    pos_ += static_cast<int>(buffered);
    if (buffered == count) return count;
    Drop();
    int64_t got = s_.ReadBytes(out + buffered, count - buffered);
    base_ += got;
    return buffered + got;
}

int ByteReader::Fill(int want) {
    int kept = end_ - pos_;
    std::memmove(buf_, buf_ + pos_, static_cast<size_t>(kept));
    base_ += pos_;
    pos_ = 0;
    end_ = kept;
    // end_ is raised only after the read, so an exception leaves the reader as it was.
    end_ += static_cast<int>(s_.ReadBytes(buf_ + kept, want - kept));
    return end_;
}

void ByteReader::Refill(int n) {
    if (Fill(kBlock) < n) {
        std::memset(buf_ + end_, 0, static_cast<size_t>(n - end_));
        end_ = n;
    }
}

void ByteReader::Drop() {
    base_ += end_;
    pos_ = end_ = 0;
}

bool ByteReader::MoveTo(int64_t offset) {
    int64_t at = Offset();
    if (offset >= at) {
        int64_t buffered = std::min<int64_t>(offset - at, end_ - pos_);
        pos_ += static_cast<int>(buffered);
        if (Offset() < offset) {
            Drop();
            base_ += s_.SkipBytes(offset - base_);
        }
    } else if (start_ != -1) {
        Drop();
        base_ = s_.Seek(start_ + offset) - start_;
    }
    return Offset() == offset;
}

bool ByteReader::MayHold(int64_t count) const {
    int64_t size = s_.Size();
    if (start_ < 0 || size <= 0) return true;
    return size - start_ - Offset() >= count;
}

}  // namespace corvex
