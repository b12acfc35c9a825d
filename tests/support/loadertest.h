// Helpers shared by the loader tests: memory streams over encoded bytes, the
// registered loaders and a fixture for the tests of one loader.
#pragma once

#include <gtest/gtest.h>

#include "pixmap/loader.h"
#include "ramstream/ramstream.h"
#include "runtime/module.h"
#include "support/testimages.h"

namespace loadertest {

using testimages::Bytes;

// The bytes must outlive the stream.
inline corvex::Ref<corvex::TStream> Over(const Bytes& bytes) {
    return corvex::TRamStream::Create(bytes.data(), static_cast<int64_t>(bytes.size()));
}

// The loader of type T that its module registered.
template <class T>
corvex::Ref<T> Registered() {
    for (auto l = corvex::pixmap_loaders; l; l = l->_succ) {
        if (auto loader = corvex::Cast<T>(l)) return loader;
    }
    ADD_FAILURE() << "loader not registered";
    return nullptr;
}

// The tests of one loader: LoaderModule, the module that registers a Loader, is
// initialised once for the suite, and Load decodes through that registered loader.
// A suite names its own:
//   using BmpLoader = loadertest::LoaderTest<corvex::TPixmapLoaderBMP, corvex::bmploader_module>;
template <class Loader, corvex::Module& LoaderModule>
class LoaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { corvex::InitModule(LoaderModule); }

    static corvex::Ref<corvex::TPixmap> Load(const corvex::Ref<corvex::TStream>& stream) {
        corvex::Ref<Loader> loader = Registered<Loader>();
        return loader ? loader->LoadPixmap(stream) : nullptr;
    }
    static corvex::Ref<corvex::TPixmap> Load(const Bytes& file) { return Load(Over(file)); }
};

// Packed colours of every pixel, row by row.
inline std::vector<uint32_t> Pixels(const corvex::Ref<corvex::TPixmap>& p) {
    std::vector<uint32_t> out;
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x) out.push_back(p->ReadPixel(x, y));
    return out;
}

}  // namespace loadertest
