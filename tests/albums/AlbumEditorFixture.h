// An album editor with its file browser panel on the headless display, with a new project, for
// the tests of the add roads and the video clip page.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "albums/AlbumEditorDlg.h"
#include "albums/ExploreBarDlg.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/res/ResourceModule.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"

namespace albumtest {

class AlbumEditorFixture : public shelltest::RegistryFixture {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    InitCommonControls();
    ASSERT_TRUE(
        owner.CreateEx(0, nullptr, "Owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1000, 700), nullptr, 0));
    ASSERT_TRUE(panel.Create(IDD_EXPLORE_BAR, &owner));
    ASSERT_TRUE(editor.Create(IDD_ALBUM_EDITOR, &owner));
    editor.MoveWindow(0, 0, 1000, 500);
    editor.ShowWindow(SW_SHOW);
    editor.NewProject();
    pictavo::test::PumpPending();
  }
  void TearDown() override {
    editor.NewProject();
    editor.DestroyWindow();
    panel.DestroyWindow();
    owner.DestroyWindow();
    pictavo::test::PumpPending();
    CWnd::DeleteTempMap();
  }
  // A file holding one byte: enough where only the path counts.
  static std::string Touch(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "x";
    return path.string();
  }
  // The 6 s sample clip copied to `path`.
  static std::string SampleClip(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::copy_file(
        std::filesystem::path(std::getenv("PICTAVO_SOURCE_DIR")) / "samples/media/clip.mp4", path,
        std::filesystem::copy_options::overwrite_existing);
    return path.string();
  }

  pictavo::test::ScratchDir scratch;
  const std::filesystem::path files{scratch.Path()};
  CWnd owner;
  ExploreBarDlg panel;
  AlbumEditorDlg editor;
};

}  // namespace albumtest
