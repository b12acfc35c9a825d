// Any bytes as an input script: parsed or refused with a runtime error, never a crash.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "headless/input_script.h"
#include "runtime/exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/fuzz_input_script_" + std::to_string(getpid());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    try {
        corvex::headless::ParseInputScript(corvex::String(path));
    } catch (const corvex::TRuntimeException&) {
    }
    return 0;
}
