#include "modules/encoders/OutputLines.h"

namespace pictavo::encoders {

void LineSplitter::Feed(std::string_view bytes, const Sink& sink) {
  while (!bytes.empty()) {
    const size_t end = bytes.find_first_of("\r\n");
    const std::string_view piece = bytes.substr(0, end);
    if (m_pending.size() + piece.size() >= kMaxLine) {
      // An overlong line goes on in pieces of kMaxLine bytes.
      const size_t take = kMaxLine - m_pending.size();
      m_pending.append(piece.substr(0, take));
      sink(m_pending);
      m_pending.clear();
      bytes.remove_prefix(take);
      continue;
    }
    if (end == std::string_view::npos) {
      m_pending.append(piece);
      return;
    }
    m_pending.append(piece);
    if (!m_pending.empty()) sink(m_pending);
    m_pending.clear();
    bytes.remove_prefix(end + 1);
  }
}

void LineSplitter::Finish(const Sink& sink) {
  if (!m_pending.empty()) sink(m_pending);
  m_pending.clear();
}

void LineTail::Add(std::string_view line) {
  if (m_capacity == 0) return;
  if (m_lines.size() == m_capacity) m_lines.pop_front();
  m_lines.emplace_back(line);
}

}  // namespace pictavo::encoders
