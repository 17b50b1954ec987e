#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ComdlgFixture.h"
#include "platform/comdlg/CommDlg.h"
#include "platform/comdlg/DialogIds.h"
#include "platform/display/Headless.h"
#include "tests/support/PngPicture.h"

using namespace comdlg_test;
using namespace std::string_literals;

namespace {

using pictavo::test::Picture;
using pictavo::test::ReadPng;

using SnapshotTest = ComdlgTest;

TEST_F(SnapshotTest, TheOpenDialogDrawsItsControlsAndTheListedFiles) {
  File("photos/IMG_0001.JPG");
  File("photos/IMG_0002.JPG");
  Folder("photos/Holidays");
  const std::string photos = Path("photos");
  const std::string png = Path("open.png");
  std::vector<char> name(1024, '\0');
  const std::string filter = "JPEG (*.jpg)\0*.jpg\0\0"s;
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = m_owner;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrInitialDir = photos.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  RECT listRect{}, window{};
  bool saved = false;
  Steps().Then([&](HWND dialog) {
    UpdateWindow(dialog);
    GetWindowRect(dialog, &window);
    GetWindowRect(GetDlgItem(dialog, pictavo::comdlg::kFileList), &listRect);
    saved = pictavo::display::Headless()->SaveSnapshot(png, dialog);
  });
  Steps().Key(VK_ESCAPE);
  EXPECT_FALSE(GetOpenFileName(&ofn));
  ASSERT_TRUE(saved);

  Picture picture;
  ASSERT_TRUE(ReadPng(png, &picture));
  EXPECT_EQ(picture.width, window.right - window.left);
  EXPECT_EQ(picture.height, window.bottom - window.top);
  std::set<COLORREF> colours;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) colours.insert(picture.At(x, y));
  EXPECT_GT(colours.size(), 4u) << "frame, face, list, text and caption colours";

  // The list's rows hold text: dark pixels inside the list, below its border.
  int dark = 0;
  for (int y = listRect.top + 2 - window.top; y < listRect.bottom - 2 - window.top; ++y)
    for (int x = listRect.left + 2 - window.left; x < listRect.right - 2 - window.left; ++x) {
      const COLORREF c = picture.At(x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++dark;
    }
  EXPECT_GT(dark, 50) << "the names of the folder and the two photos";
}

}  // namespace
