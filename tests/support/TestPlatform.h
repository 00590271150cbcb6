#pragma once

#include "FakeDialogs.h"
#include "FakeRegistry.h"
#include "FakeSystem.h"
#include "platform/Platform.h"

// A whole platform made of fakes.
struct TestPlatform {
    FakeRegistry registry;
    FakeSystem system;
    FakeFontList fonts;
    FakeDialogs dialogs;
    platform::Platform platform{registry, system, fonts, dialogs};
};
