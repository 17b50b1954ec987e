// A console program's output cut into lines, and the last lines kept for the log.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pictavo::encoders {

// Cuts a byte stream into lines at '\n' or '\r' (progress lines end in '\r' alone); empty lines
// are dropped. A line longer than kMaxLine is handed on in pieces, so a program that never ends a
// line cannot make us hold its whole output.
class LineSplitter {
 public:
  static constexpr size_t kMaxLine = 4096;
  using Sink = std::function<void(std::string_view line)>;

  void Feed(std::string_view bytes, const Sink& sink);
  // Hands on what is left after the stream ended.
  void Finish(const Sink& sink);

 private:
  std::string m_pending;
};

// The last `capacity` lines of a stream.
class LineTail {
 public:
  explicit LineTail(size_t capacity) : m_capacity(capacity) {}
  void Add(std::string_view line);
  void Clear() { m_lines.clear(); }
  std::vector<std::string> Lines() const { return {m_lines.begin(), m_lines.end()}; }
  // The last line, or "" when there is none.
  std::string Last() const { return m_lines.empty() ? std::string() : m_lines.back(); }

 private:
  size_t m_capacity;
  std::deque<std::string> m_lines;
};

}  // namespace pictavo::encoders
