#pragma once
// A pane's back and forward history.
#include <optional>
#include <string>
#include <vector>

class PaneHistory {
 public:
  // A new page: it becomes current and the forward history is dropped.
  void Visit(const std::u16string& address) {
    if (current_ && *current_ == address) return;  // a reload is no new entry
    if (current_) back_.push_back(*current_);
    forward_.clear();
    current_ = address;
  }
  std::optional<std::u16string> Back() {
    if (back_.empty()) return std::nullopt;
    if (current_) forward_.push_back(*current_);
    current_ = back_.back();
    back_.pop_back();
    return current_;
  }
  std::optional<std::u16string> Forward() {
    if (forward_.empty()) return std::nullopt;
    if (current_) back_.push_back(*current_);
    current_ = forward_.back();
    forward_.pop_back();
    return current_;
  }
  const std::optional<std::u16string>& current() const { return current_; }

 private:
  std::optional<std::u16string> current_;
  std::vector<std::u16string> back_;
  std::vector<std::u16string> forward_;
};
