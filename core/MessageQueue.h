// The first-in first-out lists of message texts that stand between the client link's threads and
// the main thread: the reader fills the session's incoming queue for the dispatcher, every
// sender fills outgoingQueue for the writer. Texts are byte strings, normally UTF-8 XML.
#pragma once

#include "foundation/platform/Event.h"
#include "foundation/platform/PlainLock.h"
#include "foundation/text/AutoUString.h"

#include <atomic>
#include <cstddef>

class WorkSignal;

// One queued text with its link to the next; only the list code sees inside it.
struct QueuedMessage;

// A singly linked list of message texts in arrival order. Not locked: a list belongs to one
// thread at a time, and MessageQueue hands whole lists over under its lock.
class MessageList {
 public:
  class Iterator {
   public:
    explicit Iterator(const QueuedMessage* node) noexcept : node_(node) {}
    const UString8& operator*() const noexcept;
    const UString8* operator->() const noexcept { return &**this; }
    Iterator& operator++() noexcept;
    bool operator==(const Iterator& other) const noexcept { return node_ == other.node_; }
    bool operator!=(const Iterator& other) const noexcept { return node_ != other.node_; }

   private:
    const QueuedMessage* node_;
  };

  MessageList() noexcept = default;
  ~MessageList() { Clear(); }
  MessageList(MessageList&& other) noexcept { Swap(other); }
  MessageList& operator=(MessageList&& other) noexcept {
    if (this != &other) {
      Clear();
      Swap(other);
    }
    return *this;
  }
  MessageList(const MessageList&) = delete;
  MessageList& operator=(const MessageList&) = delete;

  [[nodiscard]] bool IsEmpty() const noexcept { return first_ == nullptr; }
  [[nodiscard]] std::size_t Size() const noexcept;
  [[nodiscard]] Iterator begin() const noexcept { return Iterator(first_); }
  [[nodiscard]] Iterator end() const noexcept { return Iterator(nullptr); }

  // Appends a copy of the text as the new last node.
  void Append(const UString8& text);
  // Appends the text itself as the new last node; its storage changes hands, no byte is copied.
  void Append(UString8&& text);
  // Moves every node of the other list to the end of this one, leaving the other empty.
  void AppendList(MessageList& other) noexcept;
  // The first text; the list must not be empty.
  [[nodiscard]] const UString8& Front() const noexcept;
  // Removes the first node and hands its text over; the list must not be empty.
  [[nodiscard]] UString8 PopFront() noexcept;
  void Swap(MessageList& other) noexcept;
  void Clear() noexcept;

 private:
  QueuedMessage* first_ = nullptr;
  QueuedMessage* last_ = nullptr;
};

// A message list behind a recursive lock, shared between threads. Any number of threads push;
// one consumer at a time may wait for texts.
class MessageQueue {
 public:
  MessageQueue() = default;
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  // Appends a copy of the text.
  void Push(const UString8& text);
  // Appends the text itself, leaving the argument empty.
  void Push(UString8&& text);
  // Exchanges the queue's whole list with the caller's (normally empty) one, so the caller gets
  // every queued text in arrival order.
  void TakeAll(MessageList& list) noexcept;
  // Sleeps until a text is queued or `stop` is set, then takes every queued text as TakeAll
  // does. The list comes back empty only when `stop` is set and nothing was queued.
  void WaitAndTakeAll(MessageList& list, UnixPlatform::Event& stop);
  [[nodiscard]] bool IsEmpty() noexcept;

  // Raised after every push, so that the main loop takes the text at once; null for none.
  void SetWorkSignal(WorkSignal* signal) noexcept { signal_.store(signal); }
  // Raises it without a push: something else the consumer must look at (the link closed).
  void RaiseWorkSignal() noexcept;

 private:
  PlainLock lock_;
  MessageList list_;
  // Set after every push, reset by the waiting consumer before it looks at the list, so a push
  // can never fall between its look and its sleep.
  UnixPlatform::Event pushed_;
  std::atomic<WorkSignal*> signal_{nullptr};
};
