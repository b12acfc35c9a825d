#include "stream/bytereader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ramstream/ramstream.h"
#include "stream_test_util.h"

using namespace corvex;

namespace {

using Bytes = std::vector<uint8_t>;

enum class Op { Read, Peek, Take, MoveTo, MayHold };

// One call on the reader. Read, Peek and Take expect bytes (Peek: none and !ok for
// Null); MoveTo and MayHold expect ok.
struct Step {
    Op op;
    int64_t arg;
    Bytes bytes = {};
    bool ok = true;
};

struct Script {
    const char* name;
    int size;         // the stream holds bytes 1, 2, 3, ... (modulo 256)
    bool sized;       // false: neither position nor size is known
    int64_t skipped;  // bytes read off the stream before the reader is made
    std::vector<Step> steps;
};

constexpr int kBlock = ByteReader::kBlock;

// clang-format off
const Script kScripts[] = {
    {"reads come back short at the end", 6, true, 0,
     {{Op::Read, 4, {1, 2, 3, 4}}, {Op::Read, 4, {5, 6}}, {Op::Read, 1, {}}}},
    {"take reads ahead and gives zeros past the end", 6, true, 0,
     {{Op::Take, 2, {1, 2}}, {Op::Take, 3, {3, 4, 5}}, {Op::Take, 3, {6, 0, 0}}, {Op::Read, 1, {}}}},
    {"peeked and taken bytes are not read twice", 6, true, 0,
     {{Op::Read, 1, {1}}, {Op::Peek, 3, {2, 3, 4}}, {Op::Read, 2, {2, 3}}, {Op::Take, 2, {4, 5}},
      {Op::Read, 3, {6}}}},
    {"peek past the end is null and keeps what it read", 3, true, 0,
     {{Op::Peek, 4, {}, false}, {Op::Read, 3, {1, 2, 3}}}},
    {"take across a block keeps the bytes before it", kBlock + 5, true, 0,
     {{Op::Take, 1, {1}}, {Op::MoveTo, kBlock - 1}, {Op::Take, 3, {0, 1, 2}}, {Op::Read, 4, {3, 4, 5}}}},
    {"reads after the buffer runs out keep the offset", kBlock + 4, true, 0,
     {{Op::Take, 1, {1}}, {Op::MoveTo, kBlock}, {Op::Read, 2, {1, 2}}, {Op::MayHold, 2}, {Op::MayHold, 3, {}, false},
      {Op::Take, 1, {3}}, {Op::MoveTo, 1}, {Op::Read, 1, {2}}}},
    {"size known: what is left after the reader's offset", 6, true, 0,
     {{Op::MayHold, 6}, {Op::MayHold, 7, {}, false}, {Op::Read, 2, {1, 2}}, {Op::MayHold, 4},
      {Op::MayHold, 5, {}, false}, {Op::Take, 1, {3}}, {Op::MayHold, 3}, {Op::MayHold, 4, {}, false}}},
    {"size known: counted from where the reader started", 6, true, 2,
     {{Op::MayHold, 4}, {Op::MayHold, 5, {}, false}, {Op::Read, 1, {3}}}},
    {"size unknown: anything may fit", 6, false, 0,
     {{Op::MayHold, int64_t{1} << 40}, {Op::Read, 7, {1, 2, 3, 4, 5, 6}}, {Op::MayHold, 1}}},
    {"forward moves skip, through buffered bytes first", 6, true, 0,
     {{Op::Take, 1, {1}}, {Op::MoveTo, 3}, {Op::Read, 1, {4}}, {Op::MoveTo, 5}, {Op::Read, 2, {6}},
      {Op::MoveTo, 9, {}, false}}},
    {"backward moves seek relative to where the reader started", 6, true, 2,
     {{Op::Take, 3, {3, 4, 5}}, {Op::MoveTo, 1}, {Op::Read, 1, {4}}, {Op::MoveTo, 0}, {Op::Take, 1, {3}}}},
    {"without a position only forward moves work", 6, false, 0,
     {{Op::Read, 2, {1, 2}}, {Op::MoveTo, 0, {}, false}, {Op::MoveTo, 3}, {Op::Read, 2, {4, 5}}}},
};
// clang-format on

}  // namespace

TEST(ByteReader, Scripts) {
    for (const Script& script : kScripts) {
        SCOPED_TRACE(script.name);
        Bytes data(static_cast<size_t>(script.size));
        for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i + 1);
        Ref<TStream> stream = script.sized ? Ref<TStream>(TRamStream::Create(data.data(), script.size))
                                           : Ref<TStream>(New<SequentialStream>(std::string(data.begin(), data.end())));
        ASSERT_EQ(stream->SkipBytes(script.skipped), script.skipped);
        ByteReader in(*stream);
        for (size_t i = 0; i < script.steps.size(); ++i) {
            const Step& s = script.steps[i];
            SCOPED_TRACE("step " + std::to_string(i));
            int n = static_cast<int>(s.arg);
            switch (s.op) {
                case Op::Read: {
                    Bytes got(static_cast<size_t>(n), 0xEE);
                    got.resize(static_cast<size_t>(in.Read(got.data(), n)));
                    EXPECT_EQ(got, s.bytes);
                    break;
                }
                case Op::Peek: {
                    const uint8_t* p = in.Peek(n);
                    EXPECT_EQ(p != nullptr, s.ok);
                    if (p) {
                        EXPECT_EQ(Bytes(p, p + n), s.bytes);
                    }
                    break;
                }
                case Op::Take: {
                    const uint8_t* p = in.Take(n);
                    EXPECT_EQ(Bytes(p, p + n), s.bytes);
                    break;
                }
                case Op::MoveTo: EXPECT_EQ(in.MoveTo(s.arg), s.ok); break;
                case Op::MayHold: EXPECT_EQ(in.MayHold(s.arg), s.ok); break;
            }
        }
    }
}

TEST(ByteReader, IntegersInBothByteOrders) {
    // Top bits set in every byte, so a sign extension or a shift into the sign shows.
    const uint8_t b[] = {0x81, 0x92, 0xA3, 0xB4};
    EXPECT_EQ(Le16(b), 0x9281u);
    EXPECT_EQ(Le32(b), 0xB4A39281u);
    EXPECT_EQ(Be32(b), 0x8192A3B4u);
}
