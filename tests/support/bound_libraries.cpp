// Test programs that draw with OpenGL bind the delay-loaded libraries before their
// tests run, as the program's entry point does (tevrin/core/dll_search.h says why).
#include "tevrin/core/dll_search.h"

#include <gtest/gtest.h>

namespace {

class BoundLibraries : public ::testing::Environment {
public:
    void SetUp() override
    {
        tevrin::restrict_library_search();
        tevrin::bind_delay_loaded_libraries();
    }
};

// Set up once every static object, and with it every library's record, exists.
::testing::Environment* const boundLibraries = ::testing::AddGlobalTestEnvironment(new BoundLibraries);

}  // namespace
