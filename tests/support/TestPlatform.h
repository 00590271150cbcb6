#pragma once

#include "FakeDialogs.h"
#include "FakePrinters.h"
#include "FakeRegistry.h"
#include "FakeSystem.h"
#include "platform/Platform.h"

// A whole platform made of fakes.
struct TestPlatform {
    FakeRegistry registry;
    FakeSystem system;
    FakeFontList fonts;
    FakeDialogs dialogs;
    FakePrinters printers;
    platform::Platform platform{registry, system, fonts, dialogs, printers};
};
