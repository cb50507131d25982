// A program folder with its Temp workspace and a hidden GL context, for texture and asset tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "archive/workspace.h"
#include "engine/store.h"
#include "tests/support/archive/archive_fixture.h"
#include "tests/support/engine/bmp_files.h"

namespace kxtest {

class GlWorkspaceTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        engine::EngineInit();
        ASSERT_TRUE(platform::testing::OpenHiddenGlWindow(64, 64));
        SetUpPortableWorkspace(dir_);
    }
    void TearDown() override {
        archive::TearDownWorkspace();
        archive::state.ExeFileName.clear();
        platform::testing::ResetDouble();
        ScratchTest::TearDown();
    }

    std::filesystem::path Temp() const { return dir_ / "Temp"; }

    // The archive "adatok.vbf" in the program's folder, members given as bytes.
    void WriteArchive(const std::vector<std::pair<std::string, Bytes>>& members) {
        WriteBytes(dir_ / "adatok.vbf", ArchiveOfBytes(members));
    }
};

} // namespace kxtest
