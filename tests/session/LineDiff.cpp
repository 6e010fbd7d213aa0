#include "LineDiff.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace linediff {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', start)) {
    lines.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += '\n';
    text += lines[i];
  }
  return text;
}

struct Hunk {
  size_t fromLine = 0, removed = 0, toLine = 0, added = 0;  // lines from 0
};

void WriteHunk(std::string& out, const Hunk& h, const std::vector<std::string>& a, const std::vector<std::string>& b) {
  out += "@@ -" + std::to_string(h.fromLine + 1) + "," + std::to_string(h.removed) + " +" +
         std::to_string(h.toLine + 1) + "," + std::to_string(h.added) + "\n";
  for (size_t i = 0; i < h.removed; ++i) out += "-" + a[h.fromLine + i] + "\n";
  for (size_t i = 0; i < h.added; ++i) out += "+" + b[h.toLine + i] + "\n";
}

[[noreturn]] void Fail(const std::string& why) { throw std::runtime_error("line diff: " + why); }

size_t Number(const std::string& text, size_t& at) {
  size_t start = at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  if (at == start) Fail("a number is missing in \"" + text + "\"");
  return std::strtoul(text.substr(start, at - start).c_str(), nullptr, 10);
}

void Expect(const std::string& text, size_t& at, const std::string& what) {
  if (text.compare(at, what.size(), what) != 0) Fail("\"" + what + "\" expected in \"" + text + "\"");
  at += what.size();
}

}  // namespace

std::string Diff(const std::string& from, const std::string& to) {
  std::vector<std::string> a = Lines(from), b = Lines(to);
  // The common beginning and end are cut off first; the longest common subsequence of the
  // middle (where sessions make their few edits) decides the rest.
  size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) ++tail;
  size_t n = a.size() - head - tail, m = b.size() - head - tail;
  std::vector<std::vector<unsigned>> common(n + 1, std::vector<unsigned>(m + 1, 0));
  for (size_t i = n; i-- > 0;)
    for (size_t j = m; j-- > 0;)
      common[i][j] = a[head + i] == b[head + j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);

  std::string out;
  Hunk hunk;
  bool open = false;
  auto close = [&] {
    if (open) WriteHunk(out, hunk, a, b);
    open = false;
  };
  size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && a[head + i] == b[head + j]) {
      close();
      ++i, ++j;
      continue;
    }
    if (!open) hunk = {head + i, 0, head + j, 0}, open = true;
    if (j < m && (i == n || common[i][j + 1] >= common[i + 1][j])) {
      ++hunk.added, ++j;
    } else {
      ++hunk.removed, ++i;
    }
  }
  close();
  return out;
}

std::string Apply(const std::string& from, const std::string& diff) {
  std::vector<std::string> a = Lines(from), out;
  std::vector<std::string> d = Lines(diff);
  if (!d.empty() && d.back().empty()) d.pop_back();  // the LF that ends the last hunk line
  size_t next = 0;  // the first input line not yet copied
  for (size_t k = 0; k < d.size();) {
    size_t at = 0;
    const std::string& header = d[k++];
    Expect(header, at, "@@ -");
    size_t fromLine = Number(header, at);
    Expect(header, at, ",");
    size_t removed = Number(header, at);
    Expect(header, at, " +");
    Number(header, at);
    Expect(header, at, ",");
    size_t added = Number(header, at);
    if (at != header.size()) Fail("extra text after the hunk header \"" + header + "\"");
    if (fromLine == 0) Fail("the hunk \"" + header + "\" names line 0");
    size_t first = fromLine - 1;
    if (first < next || first + removed > a.size())
      Fail("the hunk \"" + header + "\" does not fit the input");
    out.insert(out.end(), a.begin() + next, a.begin() + first);
    for (size_t r = 0; r < removed; ++r, ++k) {
      if (k >= d.size() || d[k].empty() || d[k][0] != '-') Fail("a removed line is missing after \"" + header + "\"");
      if (d[k].compare(1, std::string::npos, a[first + r]) != 0)
        Fail("line " + std::to_string(first + r + 1) + " of the input is not the one the hunk removes");
    }
    for (size_t r = 0; r < added; ++r, ++k) {
      if (k >= d.size() || d[k].empty() || d[k][0] != '+') Fail("an added line is missing after \"" + header + "\"");
      out.push_back(d[k].substr(1));
    }
    next = first + removed;
  }
  out.insert(out.end(), a.begin() + next, a.end());
  return Join(out);
}

}  // namespace linediff
