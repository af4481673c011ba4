// A fixture for tests that draw with the show's shared objects: a current
// headless context (GLTest) and a resource manager reading the working
// directory's data/ the way the show does, whose registry builds render
// targets, filters and the key effects on request. The manager (and with it
// every GL object it holds) goes before the test context is made current
// again for the next test.
#pragma once

#include "effects/SharedObjects.h"
#include "resources/ResourceManager.h"
#include "support/GLTest.h"

#include <memory>

class ShowResourcesTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        resources = std::make_unique<ResourceManager>(false, true);
        resources->setObjectFactory(createSharedObject);
    }
    void TearDown() override
    {
        resources.reset();
        testsupport::makeTestContextCurrent();
    }

    std::unique_ptr<ResourceManager> resources;
};
