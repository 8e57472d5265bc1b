#pragma once
// The gesture settings carried by the preferences: gestures on or off, and at most one gesture
// for each of the seventeen actions; with their XML form inside the preferences document.
#include <array>
#include <optional>
#include <string_view>

#include "framework/xml.h"
#include "interaction/gesture_action.h"

namespace tw {

constexpr int kGestureActionCount = 17;

// One bindable action: its name in the settings file, its text in the string table and the
// item-menu command it sends (0 for the actions the view carries out itself).
struct CGestureActionInfo {
  const char* name;
  int textId;
  int command;
};

// The action table by id (0..16).
const CGestureActionInfo& GestureActionInfo(int id);
// The id of the action with this settings-file name, or -1.
int GestureActionByName(std::string_view name);

class CGestureSetting {
 public:
  // What a preferences file without gesture settings gives: inactive; item_read R,
  // display_item_all_read DU, site_item_all_read UR, view_all_popup U.
  static CGestureSetting Defaults();

  bool IsActive() const { return active_; }
  void SetActive(bool active) { active_ = active; }

  // The first action (lowest id) whose gesture equals the sequence; none for an empty one.
  std::optional<int> Find(const CGestureAction& sequence) const;
  // The action's gesture, or nullptr when it has none (or the id is out of range).
  const CGestureAction* Get(int id) const;
  // An empty sequence clears the action's gesture; ids out of range are ignored.
  void Set(int id, const CGestureAction& sequence);

  // Reads the settings from the MouseGesture element of the parent (the preferences root,
  // prefix "tide" bound to its namespace); the defaults when the parent has none.
  static CGestureSetting ReadFrom(const CXmlNode& parent);
  // Appends the MouseGesture element, in the parent's namespace.
  void WriteTo(const CXmlNode& parent) const;

  bool operator==(const CGestureSetting& o) const {
    return active_ == o.active_ && gestures_ == o.gestures_;
  }

 private:
  bool active_ = false;
  std::array<std::optional<CGestureAction>, kGestureActionCount> gestures_;
};

}  // namespace tw
