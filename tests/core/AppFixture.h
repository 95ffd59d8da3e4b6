#pragma once

#include <gtest/gtest.h>

#include "core/CApplication.h"
#include "core/Variable.h"

// Gives each test a fresh application with validation mode 1, and shuts it down after.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetValidationMode(TrustRegistered);
        app = new CApplication();
    }
    void TearDown() override
    {
        app->Shutdown();
        delete app;
        SetValidationMode(TrustRegistered);
    }
    CApplication* app = nullptr;
};
