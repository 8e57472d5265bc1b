#include "interaction/gesture_action.h"

namespace tw {
namespace {

constexpr char kLetters[] = "LRUD";
// Code page 932 texts of the four directions, in code order.
const char* const kDisplayNames[] = {"左", "右", "上", "下"};

}  // namespace

bool CGestureAction::ParseStorage(std::string_view text, CGestureAction& out) {
  std::vector<Direction> directions;
  directions.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case 'L':
        directions.push_back(Direction::kLeft);
        break;
      case 'R':
        directions.push_back(Direction::kRight);
        break;
      case 'U':
        directions.push_back(Direction::kUp);
        break;
      case 'D':
        directions.push_back(Direction::kDown);
        break;
      default:
        return false;
    }
  }
  out.directions_ = std::move(directions);
  return true;
}

std::string CGestureAction::StorageForm() const {
  std::string s;
  for (Direction d : directions_) s += kLetters[static_cast<int>(d) - 1];
  return s;
}

std::string CGestureAction::DisplayForm() const {
  std::string s;
  for (Direction d : directions_) {
    if (!s.empty()) s += " - ";
    s += kDisplayNames[static_cast<int>(d) - 1];
  }
  return s;
}

}  // namespace tw
