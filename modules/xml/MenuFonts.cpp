#include "modules/xml/MenuFonts.h"

#include <algorithm>
#include <vector>

#include "platform/base/Utf8.h"

namespace pictavo::menu {
namespace {

// A memory DC for measuring, deleted with its font deselected.
class MeasuringDC {
 public:
  explicit MeasuringDC(const TextStyle& style)
      : m_dc(CreateCompatibleDC(nullptr)), m_font(CreateMenuFont(style, style.size)) {
    if (m_dc && m_font) m_old = SelectObject(m_dc, m_font.get());
  }
  ~MeasuringDC() {
    if (m_dc) {
      if (m_old) SelectObject(m_dc, m_old);
      DeleteDC(m_dc);
    }
  }
  MeasuringDC(const MeasuringDC&) = delete;
  MeasuringDC& operator=(const MeasuringDC&) = delete;

  SIZE Measure(std::string_view text) const {
    SIZE size{0, 0};
    if (!m_dc || !m_font) return size;
    if (text.empty()) {
      TEXTMETRICA metrics{};
      if (GetTextMetrics(m_dc, &metrics)) size.cy = metrics.tmHeight;
      return size;
    }
    GetTextExtentPoint32(m_dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
  }

 private:
  HDC m_dc;
  FontPtr m_font;
  HGDIOBJ m_old = nullptr;
};

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

}  // namespace

FontPtr CreateMenuFont(const TextStyle& style, int height) {
  return FontPtr(CreateFont(std::max(1, height), 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                            FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            ANTIALIASED_QUALITY, DEFAULT_PITCH, style.face.c_str()));
}

SIZE MeasureText(const TextStyle& style, std::string_view text) {
  return MeasuringDC(style).Measure(text);
}

std::string FitText(const TextStyle& style, std::string_view text, int maxWidth) {
  if (maxWidth <= 0) return std::string(text);
  const MeasuringDC dc(style);
  if (dc.Measure(text).cx <= maxWidth) return std::string(text);
  // The longest prefix of whole characters that fits with the ellipsis.
  std::vector<size_t> ends;  // byte length of each prefix of whole characters
  for (size_t at = 0; at < text.size();) {
    at += std::max<size_t>(1, utf8::CharLength(text.substr(at)));
    ends.push_back(at);
  }
  const auto fits = [&](size_t count) {
    return dc.Measure(std::string(text.substr(0, count ? ends[count - 1] : 0)) + std::string(kEllipsis)).cx <=
           maxWidth;
  };
  size_t low = 0, high = ends.size();  // fits(low) is assumed, so the ellipsis alone is the floor
  while (low < high) {
    const size_t middle = (low + high + 1) / 2;
    if (fits(middle))
      low = middle;
    else
      high = middle - 1;
  }
  std::string kept(text.substr(0, low ? ends[low - 1] : 0));
  while (!kept.empty() && kept.back() == ' ') kept.pop_back();  // "City Lights…", not "City Lights …"
  return kept + std::string(kEllipsis);
}

}  // namespace pictavo::menu
