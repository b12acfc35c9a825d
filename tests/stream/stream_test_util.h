// Helpers shared by the stream tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "runtime/exception.h"
#include "stream/stream.h"

// The text of the exception a call throws ("" when it throws none).
template <class F>
std::string ThrownText(F&& f) {
    try {
        f();
    } catch (const corvex::TException& e) {
        return e.ToString().ToUtf8();
    }
    return "";
}

// A stream over a std::string that knows neither its position nor its size, like a
// socket: it only reads, and reports its end through Eof.
class SequentialStream : public corvex::TStream {
public:
    explicit SequentialStream(std::string bytes) : bytes_(std::move(bytes)) {}
    bool Eof() override { return at_ == bytes_.size(); }
    int64_t Read(void* buf, int64_t count) override {
        // At most 3 bytes a call, so the callers' loops are exercised.
        size_t n = std::min<size_t>({static_cast<size_t>(count), bytes_.size() - at_, 3});
        bytes_.copy(static_cast<char*>(buf), n, at_);
        at_ += n;
        return static_cast<int64_t>(n);
    }

private:
    std::string bytes_;
    size_t at_ = 0;
};
