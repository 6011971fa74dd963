// The string family's storage: the fixed layout, inline text up to 64 bytes, the growth rule,
// ownership of borrowed and copied text, and proof that short strings never reach the heap.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>

#include "foundation/text/AutoUString.h"
#include "foundation/text/UTextReceiver.h"

// Every allocation of the test binary is counted, so a test can show that a piece of code made
// none. The replacements forward to malloc, which the sanitizers still watch.
namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  ++allocations;
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return ::operator new(size, tag); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace {

static_assert(sizeof(AutoUString<UTF8>) == 96, "begin, end, capacity, flag and 64 inline bytes");
static_assert(sizeof(AutoUString<UTF32>) == 96);
static_assert(sizeof(CopiedUString<UTF16>) == sizeof(AutoUString<UTF16>));

template <class E>
AutoUString<E> Filled(std::size_t units) {
  AutoUString<E> text;
  for (std::size_t i = 0; i < units; ++i) text.Append(static_cast<typename E::Unit>('a' + i % 26));
  return text;
}

template <class E>
void ExpectNoHeapForShortText() {
  using Unit = typename E::Unit;
  constexpr std::size_t kUnits = 64 / sizeof(Unit);
  const long before = allocations.load();
  {
    AutoUString<E> text = Filled<E>(kUnits);
    AutoUString<E> copy = text;
    AutoUString<E> moved = std::move(copy);
    CopiedUString<E> copied(moved);
    UStringBuilder<E> builder;
    builder.Append(text.begin(), text.end());
    AutoUString<E> taken = builder.Take();
    EXPECT_TRUE(text.IsInline() && moved.IsInline() && copied.IsInline() && taken.IsInline());
    EXPECT_EQ(taken, text);
  }
  EXPECT_EQ(allocations.load(), before) << sizeof(Unit) << "-byte units";
}

TEST(AutoUStringTest, TextOfSixtyFourBytesNeverTouchesTheHeap) {
  ExpectNoHeapForShortText<UTF8>();
  ExpectNoHeapForShortText<UTF16>();
  ExpectNoHeapForShortText<UTF32>();
  ExpectNoHeapForShortText<USAscii>();
  ExpectNoHeapForShortText<Binary8Bit>();
  const char text[] = "0123456789012345678901234567890123456789012345678901234567890123";
  const long before = allocations.load();
  AutoUString<UTF8> target;
  UStringReceiver<AutoUString<UTF8>> receiver(target);
  receiver.Receive(text, text + 32);
  receiver.Receive(text + 32, text + 64);
  const long afterSixtyFour = allocations.load();
  // The sixty-fifth byte is the first to need a block.
  receiver.Receive(text, text + 1);
  const long afterSixtyFive = allocations.load();
  EXPECT_EQ(afterSixtyFour, before);
  EXPECT_EQ(afterSixtyFive, before + 1);
}

TEST(AutoUStringTest, GrowthDoublesTheLengthOrTakesWhatIsNeeded) {
  struct Row {
    std::size_t start;   // bytes already held
    std::size_t append;  // bytes appended at once
    std::uint64_t capacity;
    bool inlineAfter;
  };
  const Row rows[] = {{0, 64, 64, true},      {64, 1, 128, false},  {10, 55, 65, false},
                      {100, 29, 200, false},  {10, 300, 310, false}, {0, 65, 65, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.start << " + " << row.append);
    AutoUString<UTF8> text = Filled<UTF8>(row.start);
    const AutoUString<UTF8> extra = Filled<UTF8>(row.append);
    text.Append(extra.begin(), extra.end());
    EXPECT_EQ(text.capacity(), row.capacity);
    EXPECT_EQ(text.IsInline(), row.inlineAfter);
    EXPECT_EQ(text.size(), row.start + row.append);
  }
  // Capacity counts bytes, so 33 UTF-16 units leave the inline buffer.
  AutoUString<UTF16> wide = Filled<UTF16>(32);
  EXPECT_TRUE(wide.IsInline());
  wide.Append(u'x');
  EXPECT_EQ(wide.capacity(), 128u);
}

TEST(AutoUStringTest, SetEndPastTheCapacityThrowsOutOfRange) {
  AutoUString<UTF8> text = Filled<UTF8>(10);
  char* begin = text.MutableBegin();
  text.SetEnd(begin + 64);
  EXPECT_EQ(text.size(), 64u);
  try {
    text.SetEnd(begin + 65);
    FAIL() << "accepted";
  } catch (const std::out_of_range& error) {
    EXPECT_STREQ(error.what(), "SetEnd out of range");
  }
  EXPECT_EQ(text.size(), 64u);
}

TEST(AutoUStringTest, BorrowedTextIsCopiedBeforeChangeAndCopiesOwnTheirText) {
  std::string source(100, 'b');
  AutoUString<UTF8> borrowed = AutoUString<UTF8>::Borrow(source.data(), source.data() + source.size());
  EXPECT_FALSE(borrowed.IsOwned());
  EXPECT_EQ(borrowed.begin(), source.data());
  CopiedUString<UTF8> copied(borrowed);
  EXPECT_TRUE(copied.IsOwned());
  EXPECT_NE(copied.begin(), source.data());
  borrowed.MutableBegin()[0] = 'c';
  EXPECT_TRUE(borrowed.IsOwned());
  EXPECT_EQ(source[0], 'b');
  // Moving a heap string hands over its block; moving an inline one copies the bytes.
  AutoUString<UTF8> heap = Filled<UTF8>(200);
  const char* block = heap.begin();
  AutoUString<UTF8> movedHeap = std::move(heap);
  EXPECT_EQ(movedHeap.begin(), block);
  EXPECT_TRUE(heap.empty() && heap.IsInline());
  source.assign(100, 'z');
  EXPECT_EQ(std::string(copied.begin(), copied.end()), std::string(100, 'b'));
}

}  // namespace
