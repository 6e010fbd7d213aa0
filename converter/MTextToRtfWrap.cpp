// The wrapping step of the grouping: the text between groups goes into groups of its own.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "converter/MTextRtfConverter.h"
#include "converter/MTextToRtfSteps.h"

using namespace mtext_to_rtf;

namespace {

constexpr size_t npos = std::string::npos;
// Nested groups put a few "}" between two "{"; far more is text that is not MText as the host
// writes it, and is wrapped by whole-text replacement instead.
constexpr size_t kMostClosingsInAPiece = 64;

// The working text held as its pieces between opening braces. Both patterns of the step,
// "}" + t + "{" and "}" + t, hold no "{" but the last, so each stands inside one piece, the
// first at the end of a piece that is not the last. A replacement keeps t and inserts "{" and
// the head's tail behind the "}", and a "}" behind t: it cuts the piece behind the "}", and the
// new piece holds the head's tail, t, "}" and the rest. Every "}" of a piece is listed under the
// leads of the text behind it: its first one to four bytes, and its first 8, 16, 32, ... bytes by
// their hash. A pattern is looked up by its longest lead, so that the "}" it meets share at least
// half of it: with the four bytes alone, texts whose gaps begin alike ("\P" and a word) met every
// such "}" for every t, in quadratic time.
class WrapByPieces {
 public:
  WrapByPieces(const std::string& copy, const std::string& head)
      : m_copy(copy), m_tail(head.substr(2)), m_read{ReadIndex(0, PieceHash{this}), ReadIndex(0, PieceHash{this})} {}
  WrapByPieces(const WrapByPieces&) = delete;  // its index of reads hashes through this object

  // One replacement of the step for t (a piece of the copy); false when it changed nothing.
  bool Wrap(std::string_view t) {
    if (m_first < 0) MakePieces();
    const size_t first = static_cast<size_t>(t.data() - m_copy.data());
    const size_t lead = LeadLength(t.size());
    const std::uint64_t leadKey =
        lead <= kShortLead ? LeadKey(t, lead) : Key(m_copyHashes.Of(first, first + lead), lead);
    return Sweep(t, true, leadKey) || Sweep(t, false, leadKey);
  }

  std::string Result() const {
    if (m_first < 0) return m_copy;
    size_t size = 0;
    for (int p = m_first; p >= 0; p = m_pieces[p].next) size += m_pieces[p].text.size() + 1;
    std::string out;
    out.reserve(size);
    for (int p = m_first; p >= 0; p = m_pieces[p].next) {
      if (p != m_first) out += '{';
      out += m_pieces[p].text;
    }
    return out;
  }

 private:
  struct Piece {
    std::string text;
    int previous = -1, next = -1;
    bool alive = true;
  };
  struct Brace {
    int piece;
    size_t at;
  };
  // A t by its place in the copy, hashed in constant time: a hash of all its bytes would read
  // every suffix of a long text behind the last "}" once each, in quadratic time.
  struct PieceHash {
    const WrapByPieces* wrap;
    size_t operator()(std::string_view t) const {
      const size_t first = static_cast<size_t>(t.data() - wrap->m_copy.data());
      return static_cast<size_t>(Key(wrap->m_copyHashes.Of(first, first + t.size()), t.size()));
    }
  };

  static constexpr size_t kShortLead = 4;
  static constexpr size_t kFewBraces = 8;
  static std::uint64_t Key(std::uint64_t hash, size_t length) { return hash * 31 + length; }
  // The lead a pattern of this length is looked up by: all of it up to four bytes, else the
  // longest power of two that it holds (4 for 5 to 7 bytes).
  static size_t LeadLength(size_t length) {
    if (length <= kShortLead) return length;
    size_t lead = kShortLead;
    while (lead * 2 <= length) lead *= 2;
    return lead;
  }
  // Up to four bytes behind a "}" with their number.
  static std::uint64_t LeadKey(std::string_view text, size_t length) {
    std::uint64_t key = length;
    for (size_t i = 0; i < length; ++i) key = key << 8 | static_cast<unsigned char>(text[i]);
    return key;
  }

  // The pieces and their index are made at the first replacement: many texts end the step
  // before any.
  void MakePieces() {
    m_copyHashes = Hashes(m_copy);
    for (size_t from = 0;;) {
      size_t open = m_copy.find('{', from);
      Append(Add(m_copy.substr(from, open == npos ? npos : open - from)));
      if (open == npos) break;
      from = open + 1;
    }
  }

  // The hashes of a piece serve its listing only, in one buffer that every piece reuses: kept per
  // piece they were eight bytes for each byte of text, which left the cache for large texts.
  int Add(std::string text) {
    const int id = static_cast<int>(m_pieces.size());
    m_scratch.Assign(text);
    const Hashes& hashes = m_scratch;
    for (size_t at = text.find('}'); at != npos; at = text.find('}', at + 1)) {
      for (size_t n = 1; n <= kShortLead && at + n < text.size(); ++n) {
        List(LeadKey(std::string_view(text).substr(at + 1), n), Brace{id, at});
      }
      for (size_t n = 2 * kShortLead; at + n < text.size(); n *= 2) {
        List(Key(hashes.Of(at + 1, at + 1 + n), n), Brace{id, at});
      }
    }
    m_pieces.push_back(Piece{std::move(text)});
    return id;
  }

  // Every list is a chain through one pool: a vector for each lead would be allocated and grown
  // apart, most of them for one or two "}".
  void List(std::uint64_t key, Brace brace) {
    Lead& lead = m_lead.At(key);
    const int entry = static_cast<int>(m_listed.size());
    m_listed.push_back(Listed{brace, -1});
    if (lead.last >= 0) m_listed[lead.last].next = entry;
    else lead.first = entry;
    lead.last = entry;
    ++lead.size;
  }

  void Append(int id) {
    m_pieces[id].previous = m_last;
    if (m_last >= 0) m_pieces[m_last].next = id;
    else m_first = id;
    m_last = id;
  }

  // Whether t stands right behind the "}" at `at`, which leaves room for it.
  static bool Behind(const Piece& piece, size_t at, std::string_view t) {
    return std::string_view(piece.text).substr(at + 1, t.size()) == t;
  }

  // The "}" behind which the pattern stands, into m_found, among those listed under t's lead:
  // `whole` is "}" + t + "{", at the end of a piece that is not the last; otherwise "}" + t.
  // A piece never changes (a cut one is replaced by new pieces, whose "}" are listed anew at the
  // end) and the last piece stays the last until it is cut; every "}" that the pattern stands
  // behind is cut by the sweep that finds it. So each t reads the list, for each pattern, only
  // from where the same t stopped reading before. Without that, texts whose gaps repeat read
  // every "}" of a lead once for each of their gaps, in quadratic time.
  void Candidates(std::string_view t, bool whole, std::uint64_t leadKey) {
    m_found.clear();
    // Most leads of the suffixes behind the last "}" stand behind none: they are not listed.
    const Lead* listed = m_lead.Find(leadKey);
    if (listed == nullptr) return;
    const Lead& lead = *listed;
    // A short list is read whole each time: the suffixes behind the last "}" are many, each met
    // once, and an entry for each of them cost more than reading its few "}".
    int fromStart = -1;
    int& read = lead.size <= kFewBraces ? fromStart : m_read[whole][t].last;
    for (int e = read < 0 ? lead.first : m_listed[read].next; e >= 0; read = e, e = m_listed[e].next) {
      const Brace& b = m_listed[e].brace;
      const Piece& piece = m_pieces[b.piece];
      const size_t stop = b.at + 1 + t.size();
      if (!piece.alive || stop > piece.text.size()) continue;
      if (whole && (stop != piece.text.size() || b.piece == m_last)) continue;
      if (Behind(piece, b.at, t)) m_found.push_back(b);
    }
  }

  // One left-to-right scan that replaces the pattern: each occurrence that does not overlap one
  // replaced before it. When one of them ended the text, the scan starts over once more. The
  // pieces are cut one after another, in any order: each cut reads only its own piece and links.
  bool Sweep(std::string_view t, bool whole, std::uint64_t leadKey) {
    Candidates(t, whole, leadKey);
    std::sort(m_found.begin(), m_found.end(),
              [](const Brace& a, const Brace& b) { return a.piece != b.piece ? a.piece < b.piece : a.at < b.at; });
    bool replaced = false, endedText = false;
    for (size_t k = 0; k < m_found.size();) {
      const int id = m_found[k].piece;
      m_taken.clear();
      for (; k < m_found.size() && m_found[k].piece == id; ++k) {
        const size_t at = m_found[k].at;
        if (m_taken.empty() || at >= m_taken.back() + 1 + t.size()) m_taken.push_back(at);
      }
      const Piece& piece = m_pieces[id];
      if (!whole && id == m_last && m_taken.back() + 1 + t.size() == piece.text.size()) endedText = true;
      if (whole && piece.next == m_last && m_pieces[m_last].text.empty()) endedText = true;
      Cut(id, m_taken, t.size());
      replaced = true;
    }
    if (endedText) Sweep(t, whole, leadKey);
    return replaced;
  }

  // Cuts a piece behind each taken "}": the piece up to the first of them, then one piece per
  // occurrence with the head's tail, t, "}" and the text up to the next taken "}".
  void Cut(int id, const std::vector<size_t>& taken, size_t length) {
    // A cut piece is never read again: its text goes to the new pieces.
    const std::string text = std::move(m_pieces[id].text);
    const int before = m_pieces[id].previous, after = m_pieces[id].next;
    m_pieces[id].alive = false;
    std::vector<int> pieces{Add(text.substr(0, taken[0] + 1))};
    for (size_t k = 0; k < taken.size(); ++k) {
      size_t from = taken[k] + 1;
      size_t to = k + 1 < taken.size() ? taken[k + 1] + 1 : text.size();
      pieces.push_back(Add(m_tail + text.substr(from, length) + "}" + text.substr(from + length, to - from - length)));
    }
    for (size_t k = 0; k < pieces.size(); ++k) {
      m_pieces[pieces[k]].previous = k > 0 ? pieces[k - 1] : before;
      m_pieces[pieces[k]].next = k + 1 < pieces.size() ? pieces[k + 1] : after;
    }
    if (before >= 0) m_pieces[before].next = pieces.front();
    else m_first = pieces.front();
    if (after >= 0) m_pieces[after].previous = pieces.back();
    else m_last = pieces.back();
  }

  const std::string& m_copy;
  Hashes m_copyHashes;
  Hashes m_scratch;
  std::string m_tail;
  std::vector<Piece> m_pieces;
  struct Listed {
    Brace brace;
    int next;  // the next entry of the same lead, or -1
  };
  struct Lead {
    int first = -1, last = -1;
    size_t size = 0;
  };
  std::vector<Listed> m_listed;
  // The lists by lead, in one table probed in place: a node for each lead, scattered over the
  // heap, cost a cache miss at each "}" listed once the text outgrew the cache.
  class Leads {
   public:
    const Lead* Find(std::uint64_t key) const {
      if (m_slots.empty()) return nullptr;
      for (size_t i = Slot(key);; i = (i + 1) & (m_slots.size() - 1)) {
        if (m_slots[i].lead.first < 0) return nullptr;
        if (m_slots[i].key == key) return &m_slots[i].lead;
      }
    }
    Lead& At(std::uint64_t key) {
      if ((m_used + 1) * 2 > m_slots.size()) Grow();
      size_t i = Slot(key);
      for (; m_slots[i].lead.first >= 0; i = (i + 1) & (m_slots.size() - 1)) {
        if (m_slots[i].key == key) return m_slots[i].lead;
      }
      ++m_used;
      m_slots[i].key = key;
      return m_slots[i].lead;  // its first entry is listed at once, which marks the slot taken
    }

   private:
    struct Entry {
      std::uint64_t key = 0;
      Lead lead;
    };
    size_t Slot(std::uint64_t key) const {
      return static_cast<size_t>((key * 0x9e3779b97f4a7c15u) >> 32) & (m_slots.size() - 1);
    }
    void Grow() {
      std::vector<Entry> old(std::max<size_t>(1024, m_slots.size() * 2));
      old.swap(m_slots);
      for (const Entry& e : old) {
        if (e.lead.first < 0) continue;
        size_t i = Slot(e.key);
        while (m_slots[i].lead.first >= 0) i = (i + 1) & (m_slots.size() - 1);
        m_slots[i] = e;
      }
    }
    std::vector<Entry> m_slots;
    size_t m_used = 0;
  };
  Leads m_lead;
  std::vector<Brace> m_found;   // the candidates of a sweep
  std::vector<size_t> m_taken;  // the places a sweep cuts in one piece
  // By pattern ("}" + t, then "}" + t + "{") and t (a piece of the copy): how far it read its list.
  struct Read {
    int last = -1;  // the last entry read, or -1
  };
  using ReadIndex = std::unordered_map<std::string_view, Read, PieceHash>;
  ReadIndex m_read[2];
  int m_first = -1, m_last = -1;
};

// The step's working text as plain bytes, rewritten by whole-text replacement at each step.
// It serves texts with long runs of "}" between opening braces, where the pieces above would be
// cut and indexed again, whole, at every replacement.
class WrapByReplacement {
 public:
  WrapByReplacement(const std::string& text, const std::string& head) : m_text(text), m_head(head) {
    Index();
  }

  // One wrapping of t; false when it changed nothing.
  bool Wrap(std::string_view t) {
    // Both patterns begin with "}" and the byte behind it: most t cannot occur at all.
    if (!m_followsBrace[static_cast<unsigned char>(t[0])]) return false;
    std::string pattern = "}" + std::string(t) + "{";
    if (Contains(m_text, pattern)) {
      m_text = detail::ReplaceAll(m_text, pattern, m_head + std::string(t) + "}{");
    } else {
      pattern.pop_back();
      if (!Contains(m_text, pattern)) return false;
      m_text = detail::ReplaceAll(m_text, pattern, m_head + std::string(t) + "}");
    }
    Index();
    return true;
  }

  std::string Result() { return std::move(m_text); }

 private:
  void Index() {
    std::fill(std::begin(m_followsBrace), std::end(m_followsBrace), false);
    for (size_t i = m_text.find('}'); i != npos && i + 1 < m_text.size(); i = m_text.find('}', i + 1)) {
      m_followsBrace[static_cast<unsigned char>(m_text[i + 1])] = true;
    }
  }

  std::string m_text;
  std::string m_head;
  bool m_followsBrace[256];
};

// Runs the step's sequence of t over the copy: for each position j, t is the text behind the
// first "}" at or after j up to the next "{" or "}" (the text from j when no "}" follows). An
// empty t ends the step. Positions up to the same "}" share their t; wrapping the same t again
// after it changed nothing changes nothing.
template <class Wrapping>
std::string WrapSequence(const std::string& copy, Wrapping wrapping) {
  std::string_view last;
  bool lastChangedNothing = false;
  auto wrap = [&](std::string_view t) {
    if (lastChangedNothing && t == last) return false;
    bool changed = wrapping.Wrap(t);
    last = t;
    lastChangedNothing = !changed;
    return changed;
  };
  const std::string_view text(copy);
  size_t j = 0;
  for (size_t close = text.find('}'); close != npos; close = text.find('}', j)) {
    size_t open = text.find('{', close + 1);
    std::string_view t = text.substr(close + 1, open == npos ? npos : open - close - 1);
    // The text up to the next "}" only: a group around more would close with that "}", and the
    // group it stands in would stay open over the text behind it.
    t = t.substr(0, t.find('}'));
    if (t.empty()) return wrapping.Result();
    for (size_t times = close - j + 1; times > 0 && wrap(t); --times) {
    }
    j = close + 1;
  }
  const size_t open = text.find('{', j);
  const size_t end = open == npos ? text.size() : open;
  for (; j < end; ++j) wrap(text.substr(j, end - j));
  return wrapping.Result();
}

// The most "}" that stand between two opening braces.
size_t LongestRunOfClosings(std::string_view text) {
  size_t longest = 0, run = 0;
  for (char c : text) {
    if (c == '{') run = 0;
    else if (c == '}') longest = std::max(longest, ++run);
  }
  return longest;
}

}  // namespace

void MTextRtfConverter::WrapBetweenGroups(const CString& head) {
  const std::string copy = Bytes(workText);
  if (copy.find('}') == npos) return;  // every pattern begins with "}": nothing to wrap
  std::string wrapped = LongestRunOfClosings(copy) <= kMostClosingsInAPiece
                            ? WrapSequence(copy, WrapByPieces(copy, Bytes(head)))
                            : WrapSequence(copy, WrapByReplacement(copy, Bytes(head)));
  workText = detail::ToCString(wrapped);
}
