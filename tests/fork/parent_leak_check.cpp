// A child made by fork keeps what the parent's threads held, reachable only
// from their stacks, which the child does not have: at its end it would
// read as leaked. Under AddressSanitizer the leak check therefore runs in
// the parent alone, once its tests are done, instead of at every exit.

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>

extern "C" const char* __asan_default_options()
{
    return "leak_check_at_exit=0";
}

namespace {

class ParentLeakCheck : public ::testing::Environment {
public:
    void TearDown() override { __lsan_do_leak_check(); }
};

const ::testing::Environment* const parentLeakCheck = ::testing::AddGlobalTestEnvironment(new ParentLeakCheck);

} // namespace
#endif
