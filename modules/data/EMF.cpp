#include "modules/data/EMF.h"

#include <sys/stat.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "modules/data/DrawSupport.h"
#include "modules/image/CxImage.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdiplus/GdiPlus.h"
#include "platform/kernel/Path.h"

namespace {

constexpr std::string_view kMagic = "PICTAVO-CLIPART";
constexpr size_t kMaxFileBytes = 4 << 20;
constexpr size_t kMaxPoints = 200000;
constexpr double kMaxSide = 10000;

struct Paint {
  bool on = false;
  COLORREF colour = 0;
  BYTE alpha = 255;
  float width = 1;
};

// One shape, already as a path: drawn with the fill and stroke current where it was given.
struct Shape {
  std::unique_ptr<Gdiplus::GraphicsPath> path;
  Paint fill;
  Paint stroke;
};

struct VectorArt {
  double width = 0, height = 0;
  std::vector<Shape> shapes;
};

// Reads the words of one line.
class Words {
 public:
  explicit Words(std::string_view line) {
    size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == ',')) ++i;
      const size_t start = i;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != ',') ++i;
      if (i > start) m_words.push_back(line.substr(start, i - start));
    }
  }
  size_t Size() const { return m_words.size(); }
  std::string_view operator[](size_t i) const { return m_words[i]; }

 private:
  std::vector<std::string_view> m_words;
};

std::optional<double> Number(std::string_view word) {
  double value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size() || !std::isfinite(value) ||
      std::abs(value) > 1e6)
    return std::nullopt;
  return value;
}

std::optional<COLORREF> Colour(std::string_view word) {
  if (word.size() != 7 || word[0] != '#') return std::nullopt;
  unsigned value = 0;
  const auto [end, error] = std::from_chars(word.data() + 1, word.data() + 7, value, 16);
  if (error != std::errc() || end != word.data() + 7) return std::nullopt;
  return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

class Parser {
 public:
  explicit Parser(VectorArt& art) : m_art(art) {}

  // An empty text on success, else why the file is damaged.
  std::string Parse(std::string_view text) {
    size_t lineNumber = 0;
    bool sawMagic = false;
    for (size_t at = 0; at < text.size();) {
      size_t end = text.find('\n', at);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(at, end - at);
      at = end + 1;
      ++lineNumber;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      const size_t hash = line.find('#');
      // A comment starts the line; '#' inside a line begins a colour.
      if (hash != std::string_view::npos && line.find_first_not_of(" \t") == hash) continue;
      const Words words(line);
      if (words.Size() == 0) continue;
      std::string why;
      if (!sawMagic) {
        if (words.Size() != 2 || words[0] != kMagic || words[1] != "1")
          return "not a clip-art picture of this program (it must begin with \"PICTAVO-CLIPART 1\")";
        sawMagic = true;
        continue;
      }
      why = Command(words);
      if (!why.empty()) return "line " + std::to_string(lineNumber) + ": " + why;
    }
    if (!sawMagic) return "the file is empty";
    if (m_art.width <= 0 || m_art.height <= 0) return "the picture has no size line";
    return {};
  }

 private:
  std::string Command(const Words& w) {
    const std::string_view name = w[0];
    std::vector<double> numbers;
    const auto numbersFrom = [&](size_t first) -> bool {
      numbers.clear();
      for (size_t i = first; i < w.Size(); ++i) {
        const auto value = Number(w[i]);
        if (!value) return false;
        numbers.push_back(*value);
      }
      return true;
    };
    if (name == "size") {
      if (w.Size() != 3 || !numbersFrom(1)) return "\"size\" takes a width and a height";
      if (numbers[0] < 1 || numbers[1] < 1 || numbers[0] > kMaxSide || numbers[1] > kMaxSide)
        return "the size must be 1 to 10000 on each side";
      m_art.width = numbers[0];
      m_art.height = numbers[1];
      return {};
    }
    if (name == "fill" || name == "stroke") {
      Paint& paint = name == "fill" ? m_fill : m_stroke;
      if (w.Size() == 2 && w[1] == "none") {
        paint.on = false;
        return {};
      }
      const auto colour = w.Size() >= 2 ? Colour(w[1]) : std::nullopt;
      const size_t extra = name == "stroke" ? 1 : 0;  // a stroke's width follows its colour
      if (!colour || w.Size() < 2 + extra || w.Size() > 3 + extra || !numbersFrom(2))
        return name == "fill" ? "\"fill\" takes none or #RRGGBB and an optional alpha"
                              : "\"stroke\" takes none or #RRGGBB, a width and an optional alpha";
      paint.on = true;
      paint.colour = *colour;
      if (extra) paint.width = static_cast<float>(std::clamp(numbers[0], 0.0, kMaxSide));
      paint.alpha = numbers.size() > extra ? static_cast<BYTE>(std::clamp(numbers[extra], 0.0, 255.0)) : 255;
      return {};
    }
    if (m_art.width <= 0) return "shapes must come after the size line";
    auto path = std::make_unique<Gdiplus::GraphicsPath>(Gdiplus::FillModeWinding);
    if (name == "rect" || name == "ellipse") {
      if (w.Size() != 5 || !numbersFrom(1)) return "\"" + std::string(name) + "\" takes four numbers";
      const auto f = [&](int i) { return static_cast<Gdiplus::REAL>(numbers[static_cast<size_t>(i)]); };
      if (name == "rect")
        path->AddRectangle(Gdiplus::RectF(f(0), f(1), f(2), f(3)));
      else
        path->AddEllipse(f(0) - f(2), f(1) - f(3), 2 * f(2), 2 * f(3));
      m_points += 8;
    } else if (name == "polygon" || name == "polyline") {
      if (!numbersFrom(1) || numbers.size() % 2 != 0 || numbers.size() < (name == "polygon" ? 6u : 4u))
        return "\"" + std::string(name) + "\" takes pairs of numbers (" +
               (name == "polygon" ? "three" : "two") + " points at least)";
      std::vector<Gdiplus::PointF> points;
      for (size_t i = 0; i < numbers.size(); i += 2)
        points.emplace_back(static_cast<Gdiplus::REAL>(numbers[i]),
                            static_cast<Gdiplus::REAL>(numbers[i + 1]));
      if (name == "polygon")
        path->AddPolygon(points.data(), static_cast<INT>(points.size()));
      else
        path->AddLines(points.data(), static_cast<INT>(points.size()));
      m_points += points.size();
    } else if (name == "path") {
      const std::string why = PathCommands(w, *path);
      if (!why.empty()) return why;
    } else {
      return "unknown command \"" + std::string(name) + "\"";
    }
    if (m_points > kMaxPoints) return "too many points";
    m_art.shapes.push_back(Shape{std::move(path), m_fill, m_stroke});
    return {};
  }

  // M x y, L x y, C x1 y1 x2 y2 x y, Z: absolute coordinates.
  std::string PathCommands(const Words& w, Gdiplus::GraphicsPath& path) {
    Gdiplus::PointF current, start;
    bool open = false;
    size_t i = 1;
    const auto take = [&](size_t count, std::vector<Gdiplus::PointF>& out) -> bool {
      if (i + count * 2 > w.Size()) return false;
      for (size_t k = 0; k < count; ++k) {
        const auto x = Number(w[i]), y = Number(w[i + 1]);
        if (!x || !y) return false;
        out.emplace_back(static_cast<Gdiplus::REAL>(*x), static_cast<Gdiplus::REAL>(*y));
        i += 2;
      }
      return true;
    };
    while (i < w.Size()) {
      const std::string_view op = w[i++];
      std::vector<Gdiplus::PointF> p;
      if (op == "M") {
        if (!take(1, p)) return "\"M\" takes a point";
        path.StartFigure();
        current = start = p[0];
        open = true;
      } else if (op == "L") {
        if (!open || !take(1, p)) return "\"L\" takes a point after \"M\"";
        path.AddLine(current, p[0]);
        current = p[0];
      } else if (op == "C") {
        if (!open || !take(3, p)) return "\"C\" takes three points after \"M\"";
        path.AddBezier(current, p[0], p[1], p[2]);
        current = p[2];
      } else if (op == "Z") {
        if (!open) return "\"Z\" closes nothing";
        path.CloseFigure();
        current = start;
      } else {
        return "unknown path step \"" + std::string(op) + "\"";
      }
      m_points += 4;
      if (m_points > kMaxPoints) return "too many points";
    }
    if (path.GetPointCount() == 0) return "the path is empty";
    return {};
  }

  VectorArt& m_art;
  Paint m_fill{true, RGB(0, 0, 0), 255, 1};
  Paint m_stroke;
  size_t m_points = 0;
};

bool StartsWith(const std::string& bytes, std::string_view prefix) {
  return bytes.compare(0, prefix.size(), prefix) == 0;
}

void DrawArt(Gdiplus::Graphics& graphics, const VectorArt& art, const Gdiplus::RectF& rect) {
  Gdiplus::Matrix previous;
  graphics.GetTransform(&previous);
  graphics.TranslateTransform(rect.X, rect.Y);
  graphics.ScaleTransform(static_cast<Gdiplus::REAL>(rect.Width / art.width),
                          static_cast<Gdiplus::REAL>(rect.Height / art.height));
  for (const Shape& shape : art.shapes) {
    if (shape.fill.on) {
      Gdiplus::SolidBrush brush(pictavo::data::ColorOf(shape.fill.colour, shape.fill.alpha));
      graphics.FillPath(&brush, shape.path.get());
    }
    if (shape.stroke.on && shape.stroke.width > 0) {
      Gdiplus::Pen pen(pictavo::data::ColorOf(shape.stroke.colour, shape.stroke.alpha), shape.stroke.width);
      pen.SetLineJoin(Gdiplus::LineJoinRound);
      pen.SetLineCap(Gdiplus::LineCapRound, Gdiplus::LineCapRound, Gdiplus::DashCapRound);
      graphics.DrawPath(&pen, shape.path.get());
    }
  }
  graphics.SetTransform(&previous);
}

}  // namespace

struct CEMF::Picture {
  VectorArt art;   // when the file is vector clip art
  CxImage raster;  // when it is a picture
};

CEMF::CEMF() = default;
CEMF::~CEMF() = default;

void CEMF::Clear() {
  m_picture.reset();
}

BOOL CEMF::IsValid() const {
  return m_picture != nullptr;
}

BOOL CEMF::Load(LPCTSTR given) {
  Clear();
  m_strError.Empty();
  const auto fail = [&](DWORD code, const std::string& why) {
    m_strError = why.c_str();
    SetLastError(code);
    return FALSE;
  };
  if (given == nullptr || *given == '\0') return fail(ERROR_INVALID_PARAMETER, "no clip-art file was named");
  pictavo::data::EnsureGdiplus();
  const std::string path = pictavo::path::ToNative(given);
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
    return fail(ERROR_FILE_NOT_FOUND, path + ": the clip-art file does not exist");
  if (static_cast<size_t>(st.st_size) > kMaxFileBytes && st.st_size > 0) {
    // Too large for vector clip art: only a picture can be that big.
    auto picture = std::make_unique<Picture>();
    if (!picture->raster.Load(path.c_str())) return fail(GetLastError(), picture->raster.GetLastError());
    m_picture = std::move(picture);
    return TRUE;
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) return fail(ERROR_INVALID_DATA, path + ": the clip-art file cannot be read");
  auto picture = std::make_unique<Picture>();
  if (StartsWith(bytes, kMagic)) {
    Parser parser(picture->art);
    const std::string why = parser.Parse(bytes);
    if (!why.empty()) return fail(ERROR_INVALID_DATA, path + ": " + why);
  } else if (!picture->raster.Decode(reinterpret_cast<const BYTE*>(bytes.data()),
                                     static_cast<DWORD>(bytes.size()))) {
    return fail(GetLastError() != NO_ERROR ? GetLastError() : ERROR_INVALID_DATA,
                path +
                    ": neither clip art of this program (which begins with \"PICTAVO-CLIPART 1\") nor a "
                    "picture that can be read");
  }
  m_picture = std::move(picture);
  return TRUE;
}

BOOL CEMF::GetWidthHeight(CSize& size) const {
  if (!m_picture) return FALSE;
  if (m_picture->raster.IsValid())
    size = CSize(static_cast<int>(m_picture->raster.GetWidth()),
                 static_cast<int>(m_picture->raster.GetHeight()));
  else
    size = CSize(static_cast<int>(std::lround(m_picture->art.width)),
                 static_cast<int>(std::lround(m_picture->art.height)));
  return TRUE;
}

BOOL CEMF::Draw(Gdiplus::Graphics& graphics, const Gdiplus::RectF& rect) const {
  if (!m_picture || rect.Width <= 0 || rect.Height <= 0) return FALSE;
  if (m_picture->raster.IsValid()) {
    auto bitmap = pictavo::data::BitmapOf(m_picture->raster);
    return bitmap && graphics.DrawImage(bitmap.get(), rect) == Gdiplus::Ok;
  }
  DrawArt(graphics, m_picture->art, rect);
  return TRUE;
}

BOOL CEMF::Draw(HDC dc, const RECT& rect) const {
  if (!m_picture || dc == nullptr || rect.right <= rect.left || rect.bottom <= rect.top) return FALSE;
  if (m_picture->raster.IsValid()) {
    RECT target = rect;
    return m_picture->raster.Draw(dc, target, nullptr, true) != 0;
  }
  Gdiplus::Graphics graphics(dc);
  if (graphics.GetLastStatus() != Gdiplus::Ok) return FALSE;
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  return Draw(graphics,
              Gdiplus::RectF(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                             static_cast<Gdiplus::REAL>(rect.right - rect.left),
                             static_cast<Gdiplus::REAL>(rect.bottom - rect.top)));
}
