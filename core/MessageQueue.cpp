#include "core/MessageQueue.h"

#include "core/WorkSignal.h"

#include <utility>

struct QueuedMessage {
  explicit QueuedMessage(const UString8& message) : text(message) {}
  explicit QueuedMessage(UString8&& message) noexcept : text(std::move(message)) {}
  UString8 text;
  QueuedMessage* next = nullptr;
};

const UString8& MessageList::Iterator::operator*() const noexcept { return node_->text; }

MessageList::Iterator& MessageList::Iterator::operator++() noexcept {
  node_ = node_->next;
  return *this;
}

std::size_t MessageList::Size() const noexcept {
  std::size_t count = 0;
  for (const QueuedMessage* node = first_; node != nullptr; node = node->next) ++count;
  return count;
}

void MessageList::Append(const UString8& text) { Append(UString8(text)); }

void MessageList::Append(UString8&& text) {
  auto* node = new QueuedMessage(std::move(text));
  if (last_ == nullptr) {
    first_ = node;
  } else {
    last_->next = node;
  }
  last_ = node;
}

void MessageList::AppendList(MessageList& other) noexcept {
  if (other.first_ == nullptr) return;
  if (last_ == nullptr) {
    first_ = other.first_;
  } else {
    last_->next = other.first_;
  }
  last_ = other.last_;
  other.first_ = other.last_ = nullptr;
}

const UString8& MessageList::Front() const noexcept { return first_->text; }

UString8 MessageList::PopFront() noexcept {
  QueuedMessage* node = first_;
  first_ = node->next;
  if (first_ == nullptr) last_ = nullptr;
  UString8 text = std::move(node->text);
  delete node;
  return text;
}

void MessageList::Swap(MessageList& other) noexcept {
  std::swap(first_, other.first_);
  std::swap(last_, other.last_);
}

void MessageList::Clear() noexcept {
  while (first_ != nullptr) {
    QueuedMessage* next = first_->next;
    delete first_;
    first_ = next;
  }
  last_ = nullptr;
}

void MessageQueue::Push(const UString8& text) { Push(UString8(text)); }

void MessageQueue::Push(UString8&& text) {
  // The node is made outside the lock so a 2 MiB copy (when the caller kept its text) does not
  // hold up the other side.
  MessageList single;
  single.Append(std::move(text));
  {
    PlainLock::Guard guard(lock_);
    list_.AppendList(single);
  }
  // Outside the queue's lock: no code holds two locks at once.
  pushed_.Set();
  RaiseWorkSignal();
}

void MessageQueue::RaiseWorkSignal() noexcept {
  WorkSignal* signal = signal_.load();
  if (signal != nullptr) signal->Raise();
}

void MessageQueue::TakeAll(MessageList& list) noexcept {
  PlainLock::Guard guard(lock_);
  list_.Swap(list);
}

void MessageQueue::WaitAndTakeAll(MessageList& list, UnixPlatform::Event& stop) {
  for (;;) {
    // Reset before the look: a push after the look sets the event again and ends the sleep.
    pushed_.Reset();
    TakeAll(list);
    if (!list.IsEmpty()) return;
    if (UnixPlatform::Event::WaitAny(pushed_, stop, UnixPlatform::kWaitWithoutEnd) == &stop) return;
  }
}

bool MessageQueue::IsEmpty() noexcept {
  PlainLock::Guard guard(lock_);
  return list_.IsEmpty();
}
