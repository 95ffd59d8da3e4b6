#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/CApplication.h"
#include "tests/common/TempFolder.h"
#include "core/CString.h"
#include "core/Variable.h"

// A fresh application per test and a private temporary folder, removed afterwards.
class IOFixture : public ::testing::Test {
public:
    static std::string BytesOf(CString* s) { return s ? std::string(s->GetBuffer(), s->GetLength()) : "<none>"; }

protected:
    void SetUp() override
    {
        SetValidationMode(TrustRegistered);
        app = new CApplication();
        folder = MakeTempFolder("ajustor-io");
        ASSERT_FALSE(folder.empty());
        startDirectory = std::filesystem::current_path();
    }
    void TearDown() override
    {
        std::filesystem::current_path(startDirectory);
        app->Shutdown();
        delete app;
        std::error_code ignored;
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(folder, ignored);
    }

    std::string PathOf(const std::string& name) const { return folder + "/" + name; }

    void WriteBytes(const std::string& path, const std::string& bytes) const
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::string ReadBytes(const std::string& path) const
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // A CString held by the returned Variable.
    Variable Text(const std::string& bytes)
    {
        auto s = new CString(app);
        Variable held(s);
        s->SetText(bytes.data(), static_cast<uint32_t>(bytes.size()));
        return held;
    }

    CApplication* app = nullptr;
    std::string folder;
    std::filesystem::path startDirectory;
};
