#include <gtest/gtest.h>

#include <string>

#include "runtime/module.h"

using namespace corvex;

namespace {
std::string order;
}

// A diamond with a cycle back to the top: top imports left and right, both import base,
// and base imports top, whose flag is already set, so the cycle just returns.
namespace corvex {
extern Module mt_top_module;
CORVEX_MODULE(mt_base, &runtime_module, &mt_top_module) { order += "base,"; }
CORVEX_MODULE(mt_left, &runtime_module, &mt_base_module) { order += "left,"; }
CORVEX_MODULE(mt_right, &runtime_module, &mt_base_module) { order += "right,"; }
CORVEX_MODULE(mt_top, &runtime_module, &mt_left_module, &mt_right_module) { order += "top"; }
}  // namespace corvex

TEST(Modules, BodiesRunOnceAfterTheirImports) {
    InitModule(mt_top_module);
    InitModule(mt_right_module);
    InitModule(mt_top_module);
    EXPECT_EQ("base,left,right,top", order);
    EXPECT_EQ(1, mt_base_module.once);
    EXPECT_EQ(1, runtime_module.once);
}
