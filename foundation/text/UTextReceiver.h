// The sink for text of one encoding, and the stock sink that collects into a string.
// Transcoders, the XML writer and format output all deliver through this interface.
#pragma once

#include "foundation/text/AutoUString.h"

template <class E>
class UTextReceiver {
 public:
  using Unit = typename E::Unit;
  virtual ~UTextReceiver() = default;
  virtual void Start() {}
  virtual void Receive(const Unit* begin, const Unit* end) = 0;
  virtual void End() {}
};

// Appends everything it receives to a string of its own.
template <class E>
class UStringBuilder : public UTextReceiver<E> {
 public:
  using Unit = typename E::Unit;
  void Receive(const Unit* begin, const Unit* end) override { text_.Append(begin, end); }
  void Append(const Unit* begin, const Unit* end) { text_.Append(begin, end); }
  template <class S>
  void Append(const S& text) {
    text_.Append(text.begin(), text.end());
  }
  void Append(Unit unit) { text_.Append(unit); }
  // Room for this many units in all, so that a known-size text grows its string once.
  void Reserve(std::size_t units) { text_.Reserve(units); }
  [[nodiscard]] const AutoUString<E>& Text() const noexcept { return text_; }
  [[nodiscard]] AutoUString<E> Take() noexcept { return std::move(text_); }

 private:
  AutoUString<E> text_;
};
