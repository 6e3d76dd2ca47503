#pragma once
// Lines kept end to end in one buffer with their ends beside it: a batch of
// thousands of search lines is two allocations, handed from the search
// thread to a list and freed there as a whole, instead of one string per
// line allocated on one thread and freed on another.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vektrano {

class PackedLines {
 public:
  PackedLines() = default;
  PackedLines(std::initializer_list<std::string_view> lines) {
    for (std::string_view l : lines) push_back(l);
  }
  explicit PackedLines(std::span<const std::string> lines) {
    reserve(lines.size(), 0);
    for (const std::string& l : lines) push_back(l);
  }

  void push_back(std::string_view line) {
    bytes_.append(line);
    ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
  }
  // One line of two pieces.
  void push_back(std::string_view head, std::string_view tail) {
    bytes_.append(head).append(tail);
    ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
  }
  void reserve(size_t lines, size_t bytes) {
    ends_.reserve(lines);
    bytes_.reserve(bytes);
  }
  void clear() {
    bytes_.clear();
    ends_.clear();
  }
  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](size_t i) const {
    const size_t begin = i == 0 ? 0 : ends_[i - 1];
    return {bytes_.data() + begin, ends_[i] - begin};
  }
  // A copy of n lines from first.
  PackedLines slice(size_t first, size_t n) const {
    PackedLines out;
    if (n == 0) return out;
    const size_t begin = first == 0 ? 0 : ends_[first - 1];
    out.bytes_.assign(bytes_, begin, ends_[first + n - 1] - begin);
    out.ends_.reserve(n);
    for (size_t i = first; i < first + n; ++i)
      out.ends_.push_back(static_cast<std::uint32_t>(ends_[i] - begin));
    return out;
  }

  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    iterator() = default;
    iterator(const PackedLines* lines, size_t i) : lines_(lines), i_(i) {}
    std::string_view operator*() const { return (*lines_)[i_]; }
    iterator& operator++() {
      ++i_;
      return *this;
    }
    iterator operator++(int) {
      iterator was = *this;
      ++i_;
      return was;
    }
    bool operator==(const iterator& o) const { return i_ == o.i_; }

   private:
    const PackedLines* lines_ = nullptr;
    size_t i_ = 0;
  };
  iterator begin() const { return {this, 0}; }
  iterator end() const { return {this, size()}; }

 private:
  std::string bytes_;
  std::vector<std::uint32_t> ends_;  // one past each line's last byte
};

}  // namespace vektrano
