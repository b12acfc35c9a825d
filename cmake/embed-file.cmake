# Writes OUTPUT, a C++ source holding the bytes of INPUT as one embedded block named
# NAME (run by corvex_embed at build time: cmake -DINPUT=.. -DOUTPUT=.. -DNAME=.. -P).
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])"
       "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPLACE "\\" "\\\\" cname "${NAME}")
string(REPLACE "\"" "\\\"" cname "${cname}")
# A 0 byte follows the data, so that an empty file still makes a valid array.
file(WRITE "${OUTPUT}" "// Generated from ${INPUT} by corvex_embed.
#include \"incbin/incbin.h\"

namespace {

alignas(16) const unsigned char data[] = {
${bytes}0};

CORVEX_INCBIN_RECORD(record, \"${cname}\", data, ${size});

}  // namespace
")
