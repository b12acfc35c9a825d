// Fuzzes ReadLine and ReadString over a RAM stream against a plain reference split.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ramstream/ramstream.h"

using namespace corvex;

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

// The next line of data from at, as ReadLine defines it; at moves past the terminator.
std::string ReferenceLine(const std::string& data, size_t& at) {
    std::string line;
    while (at < data.size()) {
        char c = data[at++];
        if (c == '\n' || c == '\0') break;
        if (c != '\r') line.push_back(c);
    }
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size == 0) return 0;
    // The first byte picks the length of the ReadString calls mixed in between lines.
    int64_t stringLength = bytes[0] % 40;
    std::string data(reinterpret_cast<const char*>(bytes) + 1, size - 1);
    auto s = TRamStream::Create(data.data(), static_cast<int64_t>(data.size()), true, false);
    size_t at = 0;
    for (int round = 0; !s->Eof(); ++round) {
        if (round % 3 == 2) {
            std::string got = s->ReadString(stringLength).ToBytes();
            Check(got == data.substr(at, static_cast<size_t>(stringLength)));
            at += got.size();
        } else {
            std::string got = s->ReadLine().ToBytes();
            Check(got == ReferenceLine(data, at));
        }
        Check(s->Pos() == static_cast<int64_t>(at));
    }
    Check(s->ReadLine().IsEmpty());
    return 0;
}
