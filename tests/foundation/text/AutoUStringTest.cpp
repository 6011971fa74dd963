// The string's storage: when it leaves the inline buffer and how far it grows, who owns the
// storage after copies and moves, appending a piece of itself, and that texts of up to 64 bytes
// never touch the heap however they are built, copied or collected.
#include "foundation/text/AutoUString.h"

#include "foundation/text/Encodings.h"
#include "foundation/text/StreamTranscoder.h"
#include "foundation/text/UTextReceiver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// Builds a text of `start` units, then appends `added` more in one call.
template <class E>
AutoUString<E> Grown(std::size_t start, std::size_t added) {
  const std::basic_string<typename E::Unit> units(start + added, 'u');
  AutoUString<E> text(units.data(), units.data() + start);
  text.Append(units.data() + start, units.data() + start + added);
  return text;
}

TEST(AutoUStringGrowth, CapacityIsTheLargestOfTwiceTheLengthTheNeedAndSixtyFour) {
  struct Row {
    int unitBytes;
    std::size_t start, added;
    std::uint64_t capacity;  // in bytes
    bool isInline;
  };
  const Row rows[] = {
      {1, 0, 64, 64, true},      {1, 64, 1, 128, false},  {1, 0, 65, 65, false},
      {1, 100, 150, 250, false}, {2, 32, 0, 64, true},    {2, 0, 33, 66, false},
      {4, 16, 1, 128, false},    {4, 10, 30, 160, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message()
                 << row.unitBytes << "-byte units, " << row.start << " + " << row.added);
    const auto check = [&](const auto& text) {
      EXPECT_EQ(text.size(), row.start + row.added);
      EXPECT_EQ(text.capacity(), row.capacity);
      EXPECT_EQ(text.IsInline(), row.isInline);
    };
    if (row.unitBytes == 1) check(Grown<UTF8>(row.start, row.added));
    if (row.unitBytes == 2) check(Grown<UTF16>(row.start, row.added));
    if (row.unitBytes == 4) check(Grown<UTF32>(row.start, row.added));
  }
}

std::string AsStd(const UString8& text) { return std::string(text.begin(), text.end()); }

TEST(AutoUStringOwnership, CopiesOwnTheirTextAndMovesTakeTheBlock) {
  struct Source {
    const char* name;
    UString8 text;
  };
  Source sources[] = {
      {"inline", UString8("inline text")},
      {"heap", UString8(std::string(100, 'h').c_str())},
  };
  for (Source& source : sources) {
    SCOPED_TRACE(source.name);
    const std::string expected = AsStd(source.text);

    UString8 copied(source.text);
    UString8 assignedOverHeap(std::string(200, 'x').c_str());
    assignedOverHeap = source.text;
    for (const UString8* copy : {&copied, &assignedOverHeap}) {
      EXPECT_EQ(AsStd(*copy), expected);
      EXPECT_NE(copy->begin(), source.text.begin());
    }

    const char* const storage = source.text.begin();
    UString8 moved(std::move(source.text));
    EXPECT_TRUE(source.text.empty() && source.text.IsInline());
    UString8 movedAgain(std::string(200, 'y').c_str());
    movedAgain = std::move(moved);
    EXPECT_TRUE(moved.empty() && moved.IsInline());
    EXPECT_EQ(AsStd(movedAgain), expected);
    // Heap storage changes hands; inline text is copied into the new buffer.
    EXPECT_EQ(movedAgain.begin() == storage, !movedAgain.IsInline());

    movedAgain.MutableBegin()[0] = '#';
    movedAgain.Append('!');
    EXPECT_EQ(AsStd(movedAgain), '#' + expected.substr(1) + "!");
  }
}

// The append may move the storage it reads from: inline to heap, and heap to a larger block.
TEST(AutoUStringOwnership, SelfAppendSurvivesEveryStorageMove) {
  // 40 units stay inline until the append, 100 are on the heap.
  for (const std::size_t length : {40, 100}) {
    SCOPED_TRACE(length);
    std::string source;
    for (std::size_t i = 0; i < length; ++i) source += static_cast<char>('a' + i % 26);
    UString8 text(source.data(), source.data() + source.size());
    text.Append(text.begin() + 3, text.end());
    EXPECT_EQ(AsStd(text), source + source.substr(3));
  }
}

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
    assigned.Clear();
    assigned.Resize(Filled<E>::kUnits);

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

// The same for transcoding a short text into a builder and back.
std::uint64_t AllocationsForShortUTF8Collection() {
  const char utf8[] = "k\xC3\xA9y \xE2\x82\xAC \xF0\x9F\x98\x80 and enough text to reach sixty";
  const char32_t utf32[] = U"short text in 32 bits";
  const std::uint64_t before = HeapAllocationsOnThisThread();
  {
    UStringBuilder<UTF8> builder;
    builder.Receive(utf8, utf8 + 20);
    builder.Receive(utf8 + 20, utf8 + sizeof utf8 - 1);
    UStringBuilder<UTF16> wide;
    StreamTranscoder<UTF16, UTF8> narrowToWide(wide);
    narrowToWide.Start();
    narrowToWide.Receive(utf8, utf8 + 30);
    narrowToWide.End();
    AutoUString<UTF8> narrow = Transcode<UTF8, UTF32>(utf32, utf32 + 20);
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

TEST(AutoUStringHeap, ShortTextsNeverTouchTheHeap) {
  const Blocks all[] = {AllocationsOf<UTF8>(), AllocationsOf<UTF16>(), AllocationsOf<UTF32>()};
  for (const Blocks& blocks : all) {
    SCOPED_TRACE(&blocks - all);  // 0 for UTF8, 1 for UTF16, 2 for UTF32
    EXPECT_EQ(blocks.forShortText, 0u);
    EXPECT_EQ(blocks.forOneUnitMore, 1u);
  }
  EXPECT_EQ(AllocationsForShortUTF8Collection(), 0u);
}

}  // namespace
