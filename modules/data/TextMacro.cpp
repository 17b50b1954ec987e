#include "modules/data/TextMacro.h"

#include <ctime>
#include <string>

#include "modules/data/DVDImage.h"
#include "platform/kernel/Path.h"

namespace {

constexpr const char* kTokens[CTextMacro::kMacroCount] = {"$[F]", "$[f]", "$[e]", "$[t]", "$[T]",
                                                          "$[P]", "$[p]", "$[o]", "$[D]"};

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

}  // namespace

CString CTextMacro::GetMacroString(int index) {
  return index >= 0 && index < kMacroCount ? CString(kTokens[index]) : CString();
}

CString CTextMacro::ConvertNormalOutput(LPCTSTR text) const {
  namespace path = pictavo::path;
  const std::string_view in = text != nullptr ? text : "";
  const std::string file =
      m_pImage != nullptr ? std::string(m_pImage->Get_strPathName().View()) : std::string();
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size();) {
    int macro = -1;
    if (in[i] == '$') {
      for (int k = 0; k < kMacroCount; ++k)
        if (in.substr(i, 4) == kTokens[k]) {
          macro = k;
          break;
        }
    }
    if (macro < 0) {
      out += in[i++];
      continue;
    }
    i += 4;
    std::string_view ext = path::Extension(file);
    switch (macro) {
      case 0:
        out += path::FileName(file);
        break;
      case 1:
        out += path::FileTitle(file);
        break;
      case 2:
        out += ext.empty() ? ext : ext.substr(1);
        break;
      case 3:
        if (m_pImage != nullptr) out += m_pImage->Get_strPhotoDateTime(0).Left(10).View();
        break;
      case 4:
        out += Today();
        break;
      case 5:
        out += std::to_string(m_nSlideCount);
        break;
      case 6:
        out += std::to_string(m_nSlideIndex + 1);
        break;
      case 7:
        out += path::FileName(path::Folder(file));
        break;
      case 8:
        out += file;
        break;
    }
  }
  return CString(std::move(out));
}
