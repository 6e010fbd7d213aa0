// qconvert mtext-roundtrip-batch: many MText strings through the round trip in one process, each
// as a text of its own, for judges that run thousands of strings.
#include "host/EditTarget.h"
#include "apps/qconvert/Command.h"

namespace qconvert {

namespace {
// Ends each string of the input and of the output: MText contents never hold a NUL byte.
constexpr char kEnd = '\0';
}  // namespace

std::string MTextRoundTripBatch(const std::string& strings) {
  std::string out;
  size_t start = 0;
  while (start < strings.size()) {
    size_t end = strings.find(kEnd, start);
    if (end == std::string::npos) end = strings.size();
    // Each string starts from a fresh record, as the first text a process edits would: what one
    // text leaves in the record must not reach the next.
    theEditTarget = EditTarget();
    out += MTextRoundTrip(strings.substr(start, end - start));
    out += kEnd;
    start = end + 1;
  }
  return out;
}

}  // namespace qconvert
