// The frame writer's stream, read back byte by byte from a file, and its failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "modules/yuv/YUVLib.h"
#include "platform/base/ErrorCodes.h"
#include "tests/modules/yuv/MediaTools.h"

using media_tools::DibPicture;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

// A stream as written to disk: its header line and its frames' planes.
struct Stream {
  std::string header;
  int width = 0, height = 0;
  std::vector<std::string> frames;  // Y, U and V planes, marker removed
  bool wellFormed = true;

  int ChromaWidth() const { return (width + 1) / 2; }
  int ChromaHeight() const { return (height + 1) / 2; }
  int Y(int frame, int x, int y) const { return static_cast<uint8_t>(frames[frame][y * width + x]); }
  int U(int frame, int x, int y) const {
    return static_cast<uint8_t>(frames[frame][width * height + y * ChromaWidth() + x]);
  }
  int V(int frame, int x, int y) const {
    return static_cast<uint8_t>(
        frames[frame][width * height + ChromaWidth() * ChromaHeight() + y * ChromaWidth() + x]);
  }
};

Stream Parse(const std::string& bytes, int width, int height) {
  Stream s;
  s.width = width;
  s.height = height;
  const size_t end = bytes.find('\n');
  if (end == std::string::npos) {
    s.wellFormed = false;
    return s;
  }
  s.header = bytes.substr(0, end + 1);
  const size_t planes =
      static_cast<size_t>(width) * height + 2 * static_cast<size_t>(s.ChromaWidth()) * s.ChromaHeight();
  for (size_t at = end + 1; at < bytes.size(); at += 6 + planes) {
    if (bytes.compare(at, 6, "FRAME\n") != 0 || at + 6 + planes > bytes.size()) {
      s.wellFormed = false;
      break;
    }
    s.frames.push_back(bytes.substr(at + 6, planes));
  }
  return s;
}

// Runs `write` on a writer whose handle is a fresh file, then reads the file back.
Stream WriteToFile(int width, int height, const std::function<void(CYUVLib&, HANDLE)>& write) {
  ScratchDir folder;
  const std::string path = folder / "stream.y4m";
  HANDLE file =
      CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  CYUVLib writer(1);
  write(writer, file);
  return Parse(ReadWholeFile(path), width, height);
}

// The samples swscale gives for a colour in BT.601, limited range.
struct Samples {
  int y, u, v;
};

Samples SamplesOf(COLORREF color) {
  const Stream s = WriteToFile(2, 2, [&](CYUVLib& writer, HANDLE file) {
    DibPicture picture(2, 2, color);
    writer.InitYUV(file, 2, 2, 25.0, color, 1);
    writer.AppendFrame(picture.bits.data(), 2, 2, 1, nullptr);
    writer.CloseFile();
  });
  if (s.frames.empty()) return {-1, -1, -1};
  return {s.Y(0, 0, 0), s.U(0, 0, 0), s.V(0, 0, 0)};
}

}  // namespace

TEST(YuvStream, HeaderThenOneFramePerPicture) {
  const Stream s = WriteToFile(64, 48, [](CYUVLib& writer, HANDLE file) {
    ASSERT_TRUE(writer.InitYUV(file, 64, 48, 29.97, kBlack, 1));
    DibPicture picture(64, 48, kGreen);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(writer.AppendFrame(picture.bits.data(), 64, 48, 1, nullptr));
    EXPECT_EQ(writer.GetFrameCount(), 3u);
    EXPECT_TRUE(writer.CloseFile());
  });
  EXPECT_EQ(s.header, "YUV4MPEG2 W64 H48 F30000:1001 Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\n");
  EXPECT_TRUE(s.wellFormed);
  EXPECT_EQ(s.frames.size(), 3u);
}

TEST(YuvStream, TelevisionFormNamesTheSystemsRateAndPixelShape) {
  struct Case {
    int system, width, height;
    const char* header;
  };
  const Case kCases[] = {
      {1, 720, 576, "YUV4MPEG2 W720 H576 F25:1 Ip A16:15 C420jpeg XCOLORRANGE=LIMITED\n"},
      {0, 720, 480, "YUV4MPEG2 W720 H480 F30000:1001 Ip A8:9 C420jpeg XCOLORRANGE=LIMITED\n"},
      {0, 352, 240, "YUV4MPEG2 W352 H240 F30000:1001 Ip A10:11 C420jpeg XCOLORRANGE=LIMITED\n"},
  };
  for (const auto& c : kCases) {
    const Stream s = WriteToFile(c.width, c.height, [&](CYUVLib& writer, HANDLE file) {
      EXPECT_TRUE(writer.InitYUV(file, c.width, c.height, c.system, kBlack, 1));
      writer.CloseFile();
    });
    EXPECT_EQ(s.header, c.header);
    EXPECT_TRUE(s.frames.empty());
  }
}

TEST(YuvStream, ColoursBecomeLimitedRangeBt601Samples) {
  struct Case {
    COLORREF color;
    Samples want;
  };
  const Case kCases[] = {
      {kWhite, {235, 128, 128}}, {kBlack, {16, 128, 128}}, {kRed, {81, 90, 240}},
      {kGreen, {145, 54, 34}},   {kBlue, {41, 240, 110}},
  };
  for (const auto& c : kCases) {
    const Samples got = SamplesOf(c.color);
    EXPECT_NEAR(got.y, c.want.y, 1) << std::hex << c.color;
    EXPECT_NEAR(got.u, c.want.u, 1) << std::hex << c.color;
    EXPECT_NEAR(got.v, c.want.v, 1) << std::hex << c.color;
  }
}

// HD frames (more than 576 lines or wider than 1024) are BT.709, SD ones BT.601. Every pixel of a
// picture of random colours is checked against the exact formula, at widths that leave columns
// over after the runs of sixteen, and an odd number of rows.
TEST(YuvStream, HdFramesBecomeLimitedRangeBt709Samples) {
  for (const auto& [width, height] : {std::pair{1281, 721}, std::pair{1030, 20}}) {
    DibPicture picture(width, height, kBlack);
    uint32_t seed = 12345;
    for (BYTE& byte : picture.bits) {
      seed = seed * 1664525u + 1013904223u;
      byte = static_cast<BYTE>(seed >> 24);
    }
    const Stream s = WriteToFile(width, height, [&](CYUVLib& writer, HANDLE file) {
      ASSERT_TRUE(writer.InitYUV(file, width, height, 25.0, kBlack, 1));
      EXPECT_TRUE(writer.AppendFrame(picture.bits.data(), width, height, 1, nullptr));
      writer.CloseFile();
    });
    ASSERT_EQ(s.frames.size(), 1u);
    // (R, G, B) of a pixel counted from the top left; outside the picture, the nearest pixel.
    const auto pixel = [&](int x, int y, int channel) {
      x = std::min(x, width - 1);
      y = std::min(y, height - 1);
      return picture.bits[static_cast<size_t>(height - 1 - y) * picture.Stride() + 3 * x + (2 - channel)];
    };
    int worstY = 0, worstC = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const double exact =
            16 + (0.2126 * pixel(x, y, 0) + 0.7152 * pixel(x, y, 1) + 0.0722 * pixel(x, y, 2)) * 219 / 255;
        worstY = std::max(worstY, static_cast<int>(std::ceil(std::abs(s.Y(0, x, y) - exact) - 0.5)));
      }
    for (int y = 0; y < s.ChromaHeight(); ++y)
      for (int x = 0; x < s.ChromaWidth(); ++x) {
        double mean[3];
        for (int c = 0; c < 3; ++c)
          mean[c] = (pixel(2 * x, 2 * y, c) + pixel(2 * x + 1, 2 * y, c) + pixel(2 * x, 2 * y + 1, c) +
                     pixel(2 * x + 1, 2 * y + 1, c)) /
                    4.0;
        const double luma = 0.2126 * mean[0] + 0.7152 * mean[1] + 0.0722 * mean[2];
        const double u = 128 + (mean[2] - luma) / 1.8556 * 224 / 255;
        const double v = 128 + (mean[0] - luma) / 1.5748 * 224 / 255;
        worstC = std::max({worstC, static_cast<int>(std::ceil(std::abs(s.U(0, x, y) - u) - 0.5)),
                           static_cast<int>(std::ceil(std::abs(s.V(0, x, y) - v) - 0.5))});
      }
    EXPECT_LE(worstY, 1) << width << "x" << height;
    EXPECT_LE(worstC, 1) << width << "x" << height;
  }
  // The green a BT.601 reading shows as (7, 178, 17).
  const Stream hd = WriteToFile(1280, 720, [&](CYUVLib& writer, HANDLE file) {
    DibPicture picture(1280, 720, RGB(22, 208, 23));
    ASSERT_TRUE(writer.InitYUV(file, 1280, 720, 25.0, kBlack, 1));
    EXPECT_TRUE(writer.AppendFrame(picture.bits.data(), 1280, 720, 1, nullptr));
    writer.CloseFile();
  });
  ASSERT_EQ(hd.frames.size(), 1u);
  EXPECT_EQ((std::vector<int>{hd.Y(0, 5, 5), hd.U(0, 5, 5), hd.V(0, 5, 5)}), (std::vector<int>{149, 66, 54}));
}

// The header says C420jpeg: each chroma sample sits at the centre of its 2 x 2 block, so it is the
// block's mean, whether the colours alternate across columns or across rows.
TEST(YuvStream, ChromaIsTheMeanOfEachTwoByTwoBlock) {
  const Samples red = SamplesOf(kRed), blue = SamplesOf(kBlue);
  DibPicture columns(64, 48, kRed), rows(64, 48, kRed);
  for (int x = 1; x < 64; x += 2) columns.FillColumns(x, x + 1, kBlue);
  for (int y = 1; y < 48; y += 2) rows.Fill(y, y + 1, kBlue);
  const Stream s = WriteToFile(64, 48, [&](CYUVLib& writer, HANDLE file) {
    ASSERT_TRUE(writer.InitYUV(file, 64, 48, 25.0, kBlack, 1));
    EXPECT_TRUE(writer.AppendFrame(columns.bits.data(), 64, 48, 1, nullptr));
    EXPECT_TRUE(writer.AppendFrame(rows.bits.data(), 64, 48, 1, nullptr));
    writer.CloseFile();
  });
  ASSERT_EQ(s.frames.size(), 2u);
  for (int frame = 0; frame < 2; ++frame)
    for (const auto& [x, y] : {std::pair{0, 0}, {15, 11}, {31, 23}}) {
      EXPECT_NEAR(s.U(frame, x, y), (red.u + blue.u) / 2, 1) << frame << " " << x << "," << y;
      EXPECT_NEAR(s.V(frame, x, y), (red.v + blue.v) / 2, 1) << frame << " " << x << "," << y;
    }
}

TEST(YuvStream, SmallerPictureIsCentredOnTheBackground) {
  const Samples red = SamplesOf(kRed), blue = SamplesOf(kBlue);
  // A small picture, a full one, then the small one again: the background comes back whole.
  const Stream s = WriteToFile(64, 48, [](CYUVLib& writer, HANDLE file) {
    ASSERT_TRUE(writer.InitYUV(file, 64, 48, 25.0, kBlue, 1));
    DibPicture small(32, 16, kRed), full(64, 48, kGreen);
    EXPECT_TRUE(writer.AppendFrame(small.bits.data(), 32, 16, 1, nullptr));
    EXPECT_TRUE(writer.AppendFrame(full.bits.data(), 64, 48, 1, nullptr));
    EXPECT_TRUE(writer.AppendFrame(small.bits.data(), 32, 16, 1, nullptr));
    writer.CloseFile();
  });
  ASSERT_EQ(s.frames.size(), 3u);
  EXPECT_EQ(s.frames[0], s.frames[2]);
  int wrong = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const bool inside = x >= 16 && x < 48 && y >= 16 && y < 32;
      wrong += s.Y(0, x, y) != (inside ? red.y : blue.y);
    }
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool inside = x >= 8 && x < 24 && y >= 8 && y < 16;
      wrong += s.U(0, x, y) != (inside ? red.u : blue.u);
      wrong += s.V(0, x, y) != (inside ? red.v : blue.v);
    }
  EXPECT_EQ(wrong, 0);
}

TEST(YuvStream, LargerPictureKeepsItsMiddle) {
  // 68 columns into 64: the two outer columns on each side are dropped.
  const Stream s = WriteToFile(64, 48, [](CYUVLib& writer, HANDLE file) {
    ASSERT_TRUE(writer.InitYUV(file, 64, 48, 25.0, kBlack, 1));
    DibPicture picture(68, 52, kWhite);
    picture.FillColumns(0, 2, kRed);
    picture.FillColumns(66, 68, kRed);
    picture.Fill(0, 2, kRed);
    picture.Fill(50, 52, kRed);
    EXPECT_TRUE(writer.AppendFrame(picture.bits.data(), 68, 52, 1, nullptr));
    writer.CloseFile();
  });
  ASSERT_EQ(s.frames.size(), 1u);
  EXPECT_EQ(s.frames[0].substr(0, 64 * 48), std::string(64 * 48, static_cast<char>(235)));
}

TEST(YuvStream, RowOrderFlagDecidesWhichRowIsTheTop) {
  // Red over blue as a DIB stores it: bottom row first in memory.
  DibPicture picture(64, 48, kBlue);
  picture.Fill(0, 24, kRed);
  const Samples red = SamplesOf(kRed), blue = SamplesOf(kBlue);
  const Stream s = WriteToFile(64, 48, [&](CYUVLib& writer, HANDLE file) {
    ASSERT_TRUE(writer.InitYUV(file, 64, 48, 25.0, kBlack, 1));
    EXPECT_TRUE(writer.AppendFrame(picture.bits.data(), 64, 48, 1, nullptr));
    EXPECT_TRUE(writer.AppendFrame(picture.bits.data(), 64, 48, 0, nullptr));
    writer.CloseFile();
  });
  ASSERT_EQ(s.frames.size(), 2u);
  EXPECT_EQ(s.Y(0, 10, 0), red.y);
  EXPECT_EQ(s.Y(0, 10, 47), blue.y);
  EXPECT_EQ(s.Y(1, 10, 0), blue.y);
  EXPECT_EQ(s.Y(1, 10, 47), red.y);
}

TEST(YuvStream, BadCallsFailWithClearErrors) {
  ScratchDir folder;
  const std::string path = folder / "stream.y4m";
  DibPicture picture(16, 16, kRed);
  struct Case {
    const char* what;
    std::function<BOOL(CYUVLib&, HANDLE)> call;
    DWORD error;
  };
  const Case kCases[] = {
      {"frame before init",
       [&](CYUVLib& w, HANDLE) { return w.AppendFrame(picture.bits.data(), 16, 16, 1, nullptr); },
       ERROR_INVALID_FUNCTION},
      {"close before init", [](CYUVLib& w, HANDLE) { return w.CloseFile(); }, ERROR_INVALID_FUNCTION},
      {"null handle", [](CYUVLib& w, HANDLE) { return w.InitYUV(nullptr, 16, 16, 25.0, 0, 1); },
       ERROR_INVALID_HANDLE},
      {"invalid handle",
       [](CYUVLib& w, HANDLE) { return w.InitYUV(INVALID_HANDLE_VALUE, 16, 16, 25.0, 0, 1); },
       ERROR_INVALID_HANDLE},
      {"zero rate", [](CYUVLib& w, HANDLE f) { return w.InitYUV(f, 16, 16, 0.0, 0, 1); },
       ERROR_INVALID_PARAMETER},
      {"frame rate passed as int", [](CYUVLib& w, HANDLE f) { return w.InitYUV(f, 16, 16, 30, 0, 1); },
       ERROR_INVALID_PARAMETER},
      {"zero width", [](CYUVLib& w, HANDLE f) { return w.InitYUV(f, 0, 16, 25.0, 0, 1); },
       ERROR_INVALID_PARAMETER},
      {"huge height", [](CYUVLib& w, HANDLE f) { return w.InitYUV(f, 16, 100000, 25.0, 0, 1); },
       ERROR_INVALID_PARAMETER},
      {"null bits",
       [](CYUVLib& w, HANDLE f) {
         return w.InitYUV(f, 16, 16, 25.0, 0, 1) && w.AppendFrame(nullptr, 16, 16, 1, nullptr);
       },
       ERROR_INVALID_PARAMETER},
      {"negative picture width",
       [&](CYUVLib& w, HANDLE f) {
         return w.InitYUV(f, 16, 16, 25.0, 0, 1) && w.AppendFrame(picture.bits.data(), -16, 16, 1, nullptr);
       },
       ERROR_INVALID_PARAMETER},
      {"reserved pointer set",
       [&](CYUVLib& w, HANDLE f) {
         return w.InitYUV(f, 16, 16, 25.0, 0, 1) && w.AppendFrame(picture.bits.data(), 16, 16, 1, &w);
       },
       ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : kCases) {
    HANDLE file = CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CYUVLib writer(1);
    SetLastError(0);
    EXPECT_FALSE(c.call(writer, file)) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
    CloseHandle(file);
  }
}

// ffmpeg reads the pipe and is killed after two frames: the next frame fails, and so does every
// one after it, without harm to this process.
TEST(YuvStream, ReaderKilledMidStreamFailsTheNextFrame) {
  HANDLE pipe = media_tools::MakeWorkerPipe(R"(\\.\pipe\yuv_killed_reader)");
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  auto ffmpeg = pictavo::kernel::StartProcess({"ffmpeg", "-v", "error", "-nostdin", "-f", "yuv4mpegpipe",
                                               "-i", R"(\\.\pipe\yuv_killed_reader)", "-f", "null", "-"});
  ASSERT_TRUE(ffmpeg) << GetLastError();
  ASSERT_TRUE(ConnectNamedPipe(pipe, nullptr)) << GetLastError();

  CYUVLib writer(1);
  DibPicture picture(320, 240, kGreen);
  ASSERT_TRUE(writer.InitYUV(pipe, 320, 240, 25.0, kBlack, 1));
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(writer.AppendFrame(picture.bits.data(), 320, 240, 1, nullptr));
  ASSERT_TRUE(TerminateProcess(ffmpeg->hProcess, 1));
  ASSERT_EQ(WaitForSingleObject(ffmpeg->hProcess, media_tools::kGuardMs), WAIT_OBJECT_0);

  EXPECT_FALSE(writer.AppendFrame(picture.bits.data(), 320, 240, 1, nullptr));
  const DWORD error = GetLastError();
  EXPECT_TRUE(error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE) << error;
  EXPECT_FALSE(writer.AppendFrame(picture.bits.data(), 320, 240, 1, nullptr));
  EXPECT_EQ(GetLastError(), error);
  EXPECT_EQ(writer.GetFrameCount(), 2u);
  EXPECT_TRUE(writer.CloseFile());
  CloseHandle(ffmpeg->hThread);
  CloseHandle(ffmpeg->hProcess);
}
