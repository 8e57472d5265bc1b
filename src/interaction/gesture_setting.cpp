#include "interaction/gesture_setting.h"

#include "framework/decimal.h"
#include "framework/text.h"

namespace tw {
namespace {

const CGestureActionInfo kActions[kGestureActionCount] = {
    {"item_read", 2000, 32785},
    {"display_item_all_read", 2001, 32791},
    {"display_site_item_all_read", 2002, 32810},
    {"site_item_all_read", 2003, 32774},
    {"site_item_all_nonread", 2004, 32775},
    {"item_all_read", 2005, 32779},
    {"item_all_nonread", 2006, 32780},
    {"item_detail", 2015, 32820},
    {"item_url_copy", 2007, 32812},
    {"site_setting", 2008, 32807},
    {"skin_setting", 2009, 32814},
    {"view_setting", 2010, 32806},
    {"site_all_update", 2011, 32796},
    {"zorder_bottom_most", 2012, 0},
    {"zorder_normal", 2013, 0},
    {"zorder_top_most", 2014, 0},
    {"view_all_popup", 2016, 0},
};

CGestureAction Parsed(std::string_view storage) {
  CGestureAction a;
  CGestureAction::ParseStorage(storage, a);
  return a;
}

}  // namespace

const CGestureActionInfo& GestureActionInfo(int id) { return kActions[id]; }

int GestureActionByName(std::string_view name) {
  for (int id = 0; id < kGestureActionCount; ++id) {
    if (name == kActions[id].name) return id;
  }
  return -1;
}

CGestureSetting CGestureSetting::Defaults() {
  CGestureSetting s;
  s.Set(GestureActionByName("item_read"), Parsed("R"));
  s.Set(GestureActionByName("display_item_all_read"), Parsed("DU"));
  s.Set(GestureActionByName("site_item_all_read"), Parsed("UR"));
  s.Set(GestureActionByName("view_all_popup"), Parsed("U"));
  return s;
}

std::optional<int> CGestureSetting::Find(const CGestureAction& sequence) const {
  if (sequence.Empty()) return std::nullopt;
  for (int id = 0; id < kGestureActionCount; ++id) {
    if (gestures_[id] && *gestures_[id] == sequence) return id;
  }
  return std::nullopt;
}

const CGestureAction* CGestureSetting::Get(int id) const {
  if (id < 0 || id >= kGestureActionCount || !gestures_[id]) return nullptr;
  return &*gestures_[id];
}

void CGestureSetting::Set(int id, const CGestureAction& sequence) {
  if (id < 0 || id >= kGestureActionCount) return;
  if (sequence.Empty()) {
    gestures_[id].reset();
  } else {
    gestures_[id] = sequence;
  }
}

CGestureSetting CGestureSetting::ReadFrom(const CXmlNode& parent) {
  CXmlNode element = parent.SelectSingle(L"tide:MouseGesture");
  if (!element) return Defaults();
  CGestureSetting s;
  s.active_ = ParseDecimal(element.SelectText(L"tide:Active")) != 0;
  for (const CXmlNode& g : element.SelectNodes(L"tide:Gesture")) {
    int id = GestureActionByName(ToCp932(g.Attribute(L"id")));
    CGestureAction sequence;
    if (id < 0 || !CGestureAction::ParseStorage(ToCp932(g.Text()), sequence)) continue;
    if (!sequence.Empty()) s.gestures_[id] = sequence;
  }
  return s;
}

void CGestureSetting::WriteTo(const CXmlNode& parent) const {
  const std::wstring ns = parent.NamespaceUri();
  CXmlNode element = parent.AppendElement(L"MouseGesture", ns);
  element.AppendTextElement(L"Active", ns, active_ ? L"1" : L"0");
  for (int id = 0; id < kGestureActionCount; ++id) {
    if (!gestures_[id]) continue;
    CXmlNode g = element.AppendTextElement(L"Gesture", ns, ToWide(gestures_[id]->StorageForm()));
    g.SetAttribute(L"id", ToWide(kActions[id].name));
  }
}

}  // namespace tw
