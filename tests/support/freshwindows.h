#pragma once

#include "app/forms.h"

#include <gtest/gtest.h>

// A window test starts with no window of the program in existence and ends
// the same way; ending the program is counted in endCalls, never carried out.
template <class Base = testing::Test> class FreshWindows : public Base {
protected:
    void SetUp() override {
        forms::unloadAll();
        forms::setEndProgramHandler([this] { ++endCalls; });
    }
    void TearDown() override {
        forms::unloadAll();
        forms::setEndProgramHandler({});
    }

    int endCalls = 0;
};
