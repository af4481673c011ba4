#include "support/FakeWindowSystem.h"

#include "support/GLTest.h"

namespace testsupport {

bool FakeWindowSystem::makeCurrent()
{
    log_.push_back("makeCurrent");
    if (failing.count("makeCurrent"))
        return false;
    return makeTestContextCurrent();
}

} // namespace testsupport
