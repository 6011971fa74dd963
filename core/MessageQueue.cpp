#include "core/MessageQueue.h"

#include <utility>

std::size_t MessageList::Size() const noexcept {
  std::size_t count = 0;
  for (const QueuedMessage* node = first_; node != nullptr; node = node->next) ++count;
  return count;
}

void MessageList::Append(const UString8& text) {
  auto* node = new QueuedMessage(text);
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

void MessageQueue::Push(const UString8& text) {
  // Copy outside the lock so a 2 MiB text does not hold up the other side.
  MessageList single;
  single.Append(text);
  PlainLock::Guard guard(lock_);
  list_.AppendList(single);
}

void MessageQueue::TakeAll(MessageList& list) noexcept {
  PlainLock::Guard guard(lock_);
  list_.Swap(list);
}

bool MessageQueue::IsEmpty() noexcept {
  PlainLock::Guard guard(lock_);
  return list_.IsEmpty();
}
