#include "model/group_writer.h"

#include <algorithm>

namespace tw {
namespace {

// Writes children [begin, end) in groups that each span `span` children (1: no group).
void WriteSpan(CXmlTextWriter& writer, size_t begin, size_t end, size_t span, size_t groupSize,
               const std::function<void(size_t)>& writeChild) {
  if (span == 1) {
    for (size_t i = begin; i < end; ++i) writeChild(i);
    return;
  }
  for (size_t first = begin; first < end; first += span) {
    writer.Start(L"Group");
    WriteSpan(writer, first, std::min(first + span, end), span / groupSize, groupSize, writeChild);
    writer.End(L"Group");
  }
}

}  // namespace

void AppendGrouped(const CXmlDocument& doc, const CXmlNode& parent, std::vector<CXmlNode> children,
                   size_t groupSize, const std::wstring& ns) {
  if (groupSize >= 2) {
    while (children.size() > groupSize) {
      std::vector<CXmlNode> groups;
      groups.reserve((children.size() + groupSize - 1) / groupSize);
      for (size_t i = 0; i < children.size(); i += groupSize) {
        CXmlNode group = doc.CreateElement(L"Group", ns);
        for (size_t j = i; j < children.size() && j < i + groupSize; ++j) {
          group.AppendChild(children[j]);
        }
        groups.push_back(group);
      }
      children.swap(groups);
    }
  }
  for (const CXmlNode& child : children) parent.AppendChild(child);
}

void WriteGrouped(CXmlTextWriter& writer, size_t count, size_t groupSize,
                  const std::function<void(size_t index)>& writeChild) {
  // The outermost groups span groupSize^levels children, where levels is the least number of
  // grouping levels that leaves at most groupSize elements in the parent.
  size_t span = 1;
  if (groupSize >= 2) {
    while ((count + span - 1) / span > groupSize) span *= groupSize;
  }
  WriteSpan(writer, 0, count, span, groupSize, writeChild);
}

}  // namespace tw
