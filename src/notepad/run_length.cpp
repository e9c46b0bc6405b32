#include "notepad/run_length.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr BYTE PaperByte = 0xFF;
constexpr std::uint64_t PaperWord = ~std::uint64_t{0};
// Paper shorter than this stays inside a run of ink bytes: two counts would cost more than it.
constexpr std::size_t ShortestPaperRun = 4;

// Seven bits a byte, low first; the top bit says that more follow.
void PutCount(std::size_t count, std::vector<BYTE>* coded) {
    while (count >= 0x80) {
        coded->push_back(static_cast<BYTE>(count | 0x80));
        count >>= 7;
    }
    coded->push_back(static_cast<BYTE>(count));
}

bool GetCount(const std::vector<BYTE>& coded, std::size_t* at, std::size_t* count) {
    std::size_t value = 0;
    for (int shift = 0; *at < coded.size() && shift < 64; shift += 7) {
        const BYTE part = coded[(*at)++];
        value |= static_cast<std::size_t>(part & 0x7F) << shift;
        if (!(part & 0x80)) {
            *count = value;
            return true;
        }
    }
    return false;
}

// Paper bytes from `at`, whole words at a time.
std::size_t PaperFrom(const BYTE* bytes, std::size_t at, std::size_t count) {
    std::size_t end = at;
    for (; end + 8 <= count; end += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + end, sizeof word);
        if (word != PaperWord) break;
    }
    while (end < count && bytes[end] == PaperByte) ++end;
    return end - at;
}

// Ink bytes from `at`, up to the next paper run long enough to be coded as one.
std::size_t InkFrom(const BYTE* bytes, std::size_t at, std::size_t count) {
    std::size_t end = at;
    while (end < count) {
        if (bytes[end] != PaperByte) {
            ++end;
            continue;
        }
        const std::size_t paper = PaperFrom(bytes, end, count);
        if (paper >= ShortestPaperRun || end + paper == count) break;
        end += paper;
    }
    return end - at;
}

}  // namespace

void EncodeRuns(const BYTE* bytes, std::size_t count, std::vector<BYTE>* coded) {
    std::size_t at = 0;
    while (at < count) {
        const std::size_t paper = PaperFrom(bytes, at, count);
        at += paper;
        const std::size_t ink = InkFrom(bytes, at, count);
        PutCount(paper, coded);
        PutCount(ink, coded);
        coded->insert(coded->end(), bytes + at, bytes + at + ink);
        at += ink;
    }
}

bool DecodeRuns(const std::vector<BYTE>& coded, BYTE* bytes, std::size_t count) {
    std::size_t at = 0;
    std::size_t written = 0;
    while (at < coded.size()) {
        std::size_t paper = 0;
        std::size_t ink = 0;
        if (!GetCount(coded, &at, &paper) || !GetCount(coded, &at, &ink)) return false;
        if (paper > count - written || ink > count - written - paper || ink > coded.size() - at) return false;
        std::memset(bytes + written, PaperByte, paper);
        written += paper;
        std::memcpy(bytes + written, coded.data() + at, ink);
        written += ink;
        at += ink;
    }
    return written == count;
}
