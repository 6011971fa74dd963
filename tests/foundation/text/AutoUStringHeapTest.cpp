// Texts of up to 64 bytes must live in the string's inline buffer: every way of building,
// copying and collecting one stays off the heap, and the 65th byte is what moves it there.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <new>

#include "foundation/text/AutoUString.h"
#include "foundation/text/Encodings.h"
#include "foundation/text/StreamTranscoder.h"
#include "foundation/text/UTextReceiver.h"

namespace {

// Heap blocks this thread has taken through operator new; per thread, so that worker threads
// left over from other tests cannot disturb the count.
thread_local std::uint64_t allocations = 0;

void* Allocate(std::size_t size) {
  for (;;) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
      ++allocations;
      return block;
    }
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

std::uint64_t HeapAllocationsOnThisThread() { return allocations; }

}  // namespace

// Every unaligned form of new and delete is replaced, so that none can pair a counted block with
// another allocator's release; the sanitizers still watch the malloc and free beneath.
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace {

template <class E>
struct Filled {
  using Unit = typename E::Unit;
  static constexpr std::size_t kUnits = 64 / sizeof(Unit);
  Unit units[kUnits + 1];
  Filled() {
    for (std::size_t i = 0; i <= kUnits; ++i) units[i] = static_cast<Unit>('a' + i % 26);
  }
};

struct Blocks {
  std::uint64_t forShortText, forOneUnitMore;
};

// The heap blocks taken while building, copying and collecting a full inline text, and then
// while adding one unit to such a text: that one shows the counter sees the string's blocks.
template <class E>
Blocks AllocationsOf() {
  using Unit = typename E::Unit;
  const Filled<E> source;
  const Unit* const begin = source.units;
  const Unit* const end = source.units + Filled<E>::kUnits;
  const std::uint64_t before = HeapAllocationsOnThisThread();
  {
    AutoUString<E> whole(begin, end);
    AutoUString<E> oneByOne;
    for (const Unit* p = begin; p != end; ++p) oneByOne.Append(*p);
    AutoUString<E> copied(whole);
    AutoUString<E> assigned;
    assigned = oneByOne;
    AutoUString<E> moved(std::move(copied));
    assigned = std::move(moved);
    assigned.Assign(begin, end - 1);
    AutoUString<E> borrowed = AutoUString<E>::Borrow(begin, end - 1);
    borrowed.Append(*begin);  // becomes its own copy of 64 bytes
    borrowed.Clear();
    borrowed.Resize(Filled<E>::kUnits);
    CopiedUString<E> owned(whole);
    CopiedUString<E> ownedCopy(owned);

    UStringBuilder<E> builder;
    builder.Reserve(Filled<E>::kUnits);
    builder.Receive(begin, begin + 10);
    builder.Append(begin + 10, end - 1);
    builder.Append(*begin);
    AutoUString<E> taken = builder.Take();
  }
  const std::uint64_t between = HeapAllocationsOnThisThread();
  {
    AutoUString<E> text(begin, end);
    text.Append(*end);
  }
  return {between - before, HeapAllocationsOnThisThread() - between};
}

// The same for the UTF-8 receivers and for transcoding a short text into a builder.
std::uint64_t AllocationsForShortUTF8Collection() {
  const char utf8[] = "k\xC3\xA9y \xE2\x82\xAC \xF0\x9F\x98\x80 and enough text to reach sixty";
  const char16_t utf16[] = u"short text in sixteen bits, at most 32 units";
  const std::uint64_t before = HeapAllocationsOnThisThread();
  {
    AutoUString<UTF8> autoTarget;
    CopiedUString<UTF8> copiedTarget;
    UStringReceiver<AutoUString<UTF8>> toAuto(autoTarget);
    UStringReceiver<CopiedUString<UTF8>> toCopied(copiedTarget);
    for (UTextReceiver<UTF8>* receiver : {static_cast<UTextReceiver<UTF8>*>(&toAuto),
                                          static_cast<UTextReceiver<UTF8>*>(&toCopied)}) {
      receiver->Receive(utf8, utf8 + 20);
      receiver->Receive(utf8 + 20, utf8 + sizeof utf8 - 1);
    }
    UStringBuilder<UTF16> wide;
    StreamTranscoder<UTF16, UTF8> narrowToWide(wide);
    narrowToWide.Start();
    narrowToWide.Receive(utf8, utf8 + 30);
    narrowToWide.End();
    AutoUString<UTF8> narrow = Transcode<UTF8, UTF16>(utf16, utf16 + 20);
    // 39 bytes of three-byte characters make 13 UTF-16 units: 26 bytes.
    const char euros[] =
        "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"
        "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"
        "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC";
    AutoUString<UTF16> widened = Transcode<UTF16, UTF8>(euros, euros + sizeof euros - 1);
    AutoUString<UTF32> wider = Transcode<UTF32, UTF8>(euros, euros + 15);
  }
  return HeapAllocationsOnThisThread() - before;
}

template <class E>
void ExpectInlineUpToSixtyFourBytes(const char* name) {
  const Blocks blocks = AllocationsOf<E>();
  EXPECT_EQ(blocks.forShortText, 0u) << name;
  EXPECT_EQ(blocks.forOneUnitMore, 1u) << name;
}

TEST(AutoUStringHeap, ShortTextsNeverTouchTheHeap) {
  ExpectInlineUpToSixtyFourBytes<UTF8>("UTF8");
  ExpectInlineUpToSixtyFourBytes<UTF16>("UTF16");
  ExpectInlineUpToSixtyFourBytes<UTF32>("UTF32");
  ExpectInlineUpToSixtyFourBytes<USAscii>("USAscii");
  ExpectInlineUpToSixtyFourBytes<Binary8Bit>("Binary8Bit");
  EXPECT_EQ(AllocationsForShortUTF8Collection(), 0u);
}

}  // namespace
