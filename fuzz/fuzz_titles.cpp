// Every title reader over arbitrary bytes. The input is copied into a buffer of exactly its size,
// so any read past the n bytes the reader was given trips AddressSanitizer.
#include "optimise/songtitle.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// A title is at most 128 bytes, and UTF-8 decoding never makes more UTF-16 units than bytes.
void checkTitle(const std::optional<QString> &title)
{
    if (title)
        check(title->size() <= titlebytes::kMaxTitleBytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The readers see at most one file buffer's worth.
    const int n = int(size < size_t(titlebytes::kFileBufferSize) ? size : titlebytes::kFileBufferSize);
    std::unique_ptr<char[]> exact(new char[size_t(n) + 1]);   // +1: new char[0] is not testable
    if (n > 0)
        std::memcpy(exact.get(), data, size_t(n));
    const char *bytes = exact.get();

    checkTitle(titlebytes::mp3Title(bytes, n));
    checkTitle(titlebytes::id3v2Title(bytes, n));
    if (n >= titlebytes::kId3v1Size)
        checkTitle(titlebytes::id3v1Title(bytes + n - titlebytes::kId3v1Size, titlebytes::kId3v1Size));
    checkTitle(titlebytes::midiTitle(bytes, n));

    const std::optional<QString> fixed = titlebytes::fixedFieldTitle(bytes, n);
    checkTitle(fixed);
    if (fixed)
        check(!fixed->isEmpty() && !fixed->startsWith(QLatin1Char(' ')));

    // A variable-length quantity never reads past its limit nor more than four bytes.
    for (int start = 0; start < n && start < 8; ++start) {
        int cursor = start;
        titlebytes::readVarLen(bytes, cursor, n - start);
        check(cursor > start && cursor - start <= 4 && cursor <= n);
    }
    return 0;
}
