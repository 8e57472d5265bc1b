#pragma once
// A mouse gesture: the ordered directions of a right-button stroke, with its stored form
// ("RU") and its displayed form ("右 - 上").
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

class CGestureAction {
 public:
  enum class Direction : uint8_t { kLeft = 1, kRight = 2, kUp = 3, kDown = 4 };

  CGestureAction() = default;
  explicit CGestureAction(std::vector<Direction> directions) : directions_(std::move(directions)) {}

  // Parses the stored form: only the letters L, R, U and D. Anything else is a format error
  // (false, out untouched). An empty text parses to an empty sequence.
  static bool ParseStorage(std::string_view text, CGestureAction& out);
  std::string StorageForm() const;
  // One of 左右上下 per direction joined with " - ", in code page 932.
  std::string DisplayForm() const;

  void Add(Direction d) { directions_.push_back(d); }
  bool Empty() const { return directions_.empty(); }
  const std::vector<Direction>& Directions() const { return directions_; }

  bool operator==(const CGestureAction& o) const { return directions_ == o.directions_; }
  bool operator!=(const CGestureAction& o) const { return directions_ != o.directions_; }

 private:
  std::vector<Direction> directions_;
};

}  // namespace tw
